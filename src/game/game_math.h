// The simulation's integer arithmetic: explicit 16- and 32-bit wrap-around, guarded truncation.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "world/game_state.h"

namespace krello {

// Radians per angle unit (2048 units a turn).
constexpr double ANGLE_TO_RADIANS = 0.0030679615757712823;

// 16-bit sums wrap like the game's 16-bit variables; done through unsigned types so a wrap
// is defined behaviour rather than signed overflow.
constexpr int16_t add16(int32_t a, int32_t b) {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b)));
}
constexpr int16_t wrap16(int32_t v) { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(v))); }
constexpr int32_t add32(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
constexpr int32_t sub32(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

// Truncation toward zero. A value that no 32-bit integer holds (only reachable from a corrupt
// level or positions at the very edge of the coordinate range) saturates, and NaN gives 0,
// instead of the undefined conversion.
inline int32_t truncToInt32(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

// Whether an index read from the level names a real table entry.
constexpr bool isSector(int32_t s) { return s >= 0 && s < SECTOR_COUNT; }
constexpr bool isWall(int32_t w) { return w >= 0 && w < WALL_COUNT; }

// objectCount bookkeeping: a 16-bit count that may wrap or go negative by design; a sector
// outside the table has no count to change.
inline void changeObjectCount(GameState& g, int32_t sector, int32_t delta) {
    if (!isSector(sector)) return;
    Sector& s = g.sectors[static_cast<size_t>(sector)];
    s.objectCount = add16(s.objectCount, delta);
}

}  // namespace krello
