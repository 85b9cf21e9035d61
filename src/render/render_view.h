// The frame driver: mark reset, the frame's update, the object sort, the view rays, 320 columns.
#pragma once

#include <cstdint>

#include "world/game_state.h"

namespace krello {

constexpr int SCREEN_WIDTH = 320;
constexpr int SCREEN_HEIGHT = 200;
constexpr int FRAME_BYTES = SCREEN_WIDTH * SCREEN_HEIGHT;

// The per-frame game update, plugged into the frame at its fixed place (after the mark reset,
// before the sort). The renderer knows nothing of what it does.
class FrameUpdate {
public:
    virtual void run(GameState& g) = 0;

protected:
    ~FrameUpdate() = default;
};

// Draws one frame into frameBuffer (320x200 palette indices, rows 320 bytes apart), running
// update (if not null) at its place in the frame.
void renderView(GameState& g, uint8_t* frameBuffer, FrameUpdate* update);

}  // namespace krello
