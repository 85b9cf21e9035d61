// A checksum of everything a game carries from one update to the next, for replays.
#pragma once

#include <cstdint>

#include "world/game_state.h"

namespace krello {

// CRC-32 over the player, the game variables, the random state, every object record, the
// sectors' object counts, the spawn table and the animated texture slots. Wall marks are left
// out: the renderer rewrites them, so a game replayed without drawing matches one that drew.
uint32_t gameStateChecksum(const GameState& g);

}  // namespace krello
