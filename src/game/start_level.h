// Level start-up: object counts, kinds into flags and sprites, spawn table, textures, clock.
#pragma once

#include "game/platform_seam.h"
#include "world/game_state.h"
#include "world/textures.h"

namespace krello {

// Makes a freshly loaded level ready for play; run once per game, before the first update.
void startLevel(GameState& g, PlatformSeam& platform);

// The same start-up with the textures' drawn part made beforehand (drawTextures): the same game,
// without drawing the same bank again for every game a program starts.
void startLevel(GameState& g, PlatformSeam& platform, const DrawnTextures& drawn);

}  // namespace krello
