// One frame of the game in its fixed order: marks reset, update, object sort, then the drawing.
#pragma once

#include <cstdint>

#include "game/platform_seam.h"
#include "world/frame_drawer.h"
#include "world/game_state.h"

namespace krello {

// Where a frame is drawn. The game does not draw: a program that shows frames hands its
// renderer in (world/frame_drawer.h), so the simulation builds and runs without one.
struct FrameOutput {
    FrameDrawer* drawer = nullptr;  // the renderer
    uint8_t* buffer = nullptr;      // 320x200 palette indices
};

// One frame: every wall's mark cleared, the update, the object sort, then the drawing when
// an output is given. A frame that is not drawn advances the game exactly as a drawn one: the
// sort's exchanges set the order the next update scans the objects in, so it always runs.
void runFrame(GameState& g, PlatformSeam& platform, const FrameOutput* output = nullptr);

// The same frame without the update: the state as it stands, sorted and drawn. For still
// views of a game that is not running (the tool's renders, the benchmark).
void drawStill(GameState& g, const FrameOutput& output);

}  // namespace krello
