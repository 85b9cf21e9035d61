// The game state as text: the player, the game variables, every object and the sector counts.
#pragma once

#include <string>

#include "world/game_state.h"

namespace krello {

// Appends the state after update `update` to out, in decimal, objects in table order:
//   update N
//   player X Y Z ANGLE SECTOR
//   game frameDt lastTime turnSpeed moveSpeed fallSpeed onGround fireCooldown score gameOver
//        spriteFlipTimer fireballTimer randomState            (one line)
//   object I X Y Z timer sprite size sector flags angle cooldown vx vy vz   (23 lines)
//   counts C0 .. C190
//   tint N            (palette tints asked for so far)
void appendStateDump(std::string& out, const GameState& g, long update, long tints);

}  // namespace krello
