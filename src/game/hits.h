// The two hit tests: enemy shots against the player, player shots against enemies.
#pragma once

#include "game/platform_seam.h"
#include "world/game_state.h"

namespace krello {

// A player shot hits every enemy nearer than this (3-D distance), each hit worth the points.
constexpr int32_t HIT_REACH = 30;
constexpr int32_t POINTS_PER_HIT = 10;

// Any enemy shot within reach of the player tints the palette red and ends the game.
void hitPlayer(GameState& g, PlatformSeam& platform);

// Every player shot in flight hits every enemy within its reach, 10 points each.
void hitEnemies(GameState& g);

}  // namespace krello
