// The per-frame game update: its fourteen steps in the order the game runs them.
#pragma once

#include "game/platform_seam.h"
#include "world/game_state.h"

namespace krello {

// One update: clock, player, collision, vertical motion, animation, shots, enemies, hits.
void updateGame(GameState& g, PlatformSeam& platform);

}  // namespace krello
