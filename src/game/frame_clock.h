// The frame clock: each update's frameDt from the platform's millisecond clock.
#pragma once

#include "game/platform_seam.h"
#include "world/game_state.h"

namespace krello {

// Reads the clock once and sets frameDt to the time since the previous update, 1..200 ms.
void advanceFrameClock(GameState& g, PlatformSeam& platform);

}  // namespace krello
