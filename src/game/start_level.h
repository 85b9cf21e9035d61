// Level start-up: object counts, kinds into flags and sprites, spawn table, textures, clock.
#pragma once

#include "game/platform_seam.h"
#include "world/game_state.h"

namespace krello {

// Makes a freshly loaded level ready for play; run once per game, before the first update.
void startLevel(GameState& g, PlatformSeam& platform);

}  // namespace krello
