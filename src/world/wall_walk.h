// The one way a sector's walls are walked: loop by loop, the count compared only when a loop closes.
#pragma once

#include <cstdint>

#include "world/game_state.h"

namespace krello {

// Calls visit(wallIndex) for every wall the walk reaches, in order. The renderer and both
// collision scans walk this way. The count is checked only when a loop closes, so the walk
// stays inside the sector only because the level stores loops closed and consecutive.
// Indices are 16-bit: the cursor wraps as an unsigned 16-bit value, and a wall index past the
// table ends the walk rather than reading outside it (a level that breaks its invariants
// must not crash the game).
template <typename Visit>
inline void walkSectorWalls(const GameState& g, uint16_t sectorIndex, Visit&& visit) {
    const Sector& s = g.sectors[sectorIndex];
    uint16_t cursor = static_cast<uint16_t>(s.firstWall);
    uint16_t loopStart = cursor;
    uint16_t visited = 0;
    for (;;) {
        if (cursor >= WALL_COUNT) return;
        const uint16_t current = cursor;
        visit(current);
        visited = static_cast<uint16_t>(visited + 1);
        cursor = static_cast<uint16_t>(cursor + 1);
        if (static_cast<uint16_t>(g.walls[current].point2) != loopStart) continue;
        if (visited < s.wallCount) {
            loopStart = cursor;
            continue;
        }
        return;
    }
}

}  // namespace krello
