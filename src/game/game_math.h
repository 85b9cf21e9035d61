// The simulation's arithmetic helpers: 16-bit sums and object counts.
#pragma once

#include <cstdint>

#include "world/angle.h"
#include "world/fixed_math.h"
#include "world/game_state.h"

namespace krello {

// A 16-bit sum that wraps like the game's 16-bit variables, without signed overflow.
constexpr int16_t add16(int32_t a, int32_t b) { return wrap16(add32(a, b)); }

// objectCount bookkeeping: a 16-bit count that may wrap or go negative by design; a sector
// outside the table has no count to change.
inline void changeObjectCount(GameState& g, int32_t sector, int32_t delta) {
    if (!isSector(sector)) return;
    Sector& s = g.sectors[static_cast<size_t>(sector)];
    s.objectCount = add16(s.objectCount, delta);
}

}  // namespace krello
