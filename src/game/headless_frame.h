// One frame without a screen, in the game's frame order.
#pragma once

#include <cstdint>

#include "game/platform_seam.h"
#include "world/game_state.h"

namespace krello {

class RenderThreads;

// Marks reset, the update, the object sort, and, given a 320x200 frame buffer, the 320
// columns as well (on the threads given, else on this one). Without a buffer, nothing is drawn
// but the game advances exactly as on screen.
void runFrame(GameState& g, PlatformSeam& platform, uint8_t* frameBuffer, RenderThreads* threads = nullptr);

}  // namespace krello
