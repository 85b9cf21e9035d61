// The player's turn, walk and vertical motion within one update.
#pragma once

#include "game/platform_seam.h"
#include "world/game_state.h"

namespace krello {

// The fall speed gained per millisecond off the floor (z grows downward).
constexpr int GRAVITY_PER_MS = 4;

// Turn speed from Left and Right, then the new heading.
void turnPlayer(GameState& g, PlatformSeam& platform);
// Walk speed from Up and Down (not read after game over), then the new x and y.
void walkPlayer(GameState& g, PlatformSeam& platform);
// Gravity, the jump on A, and the floor and ceiling clamps of the player's sector.
void movePlayerVertically(GameState& g, PlatformSeam& platform);

// Decay toward zero without crossing it, then the symmetric clamp to -200..200.
int16_t decayAndClampSpeed(int16_t speed, int16_t frameDt);

}  // namespace krello
