// A sector's own walls, walked as the game walks them but never past the sector's share of the table.
#pragma once

#include <cstdint>

#include "world/game_state.h"

namespace krello {

// Calls visit(wallIndex) for the walls the game's wall walk (world/wall_walk.h) reaches in
// sector `s`, in order, as far as they are the sector's own: the walk stops after wallCount
// walls, after a wall whose point2 is neither the next wall nor its loop's first (that loop can
// never close, and the game's walk would read on into other sectors' walls), and at the end of
// the table. On a level whose loops close within their counts this is exactly the game's walk;
// on a damaged one a sector costs at most its own count, never the rest of the table. An empty
// entry (wallCount 0, left unused by a small level) reads as the game reads it: one loop.
template <typename Visit>
inline void walkOwnWalls(const GameState& g, uint16_t s, Visit&& visit) {
    const Sector& sector = g.sectors[s];
    const int count = sector.wallCount;
    const int first = static_cast<uint16_t>(sector.firstWall);
    int loopStart = first;
    for (int w = first, visited = 0; w < WALL_COUNT; ++w) {
        visit(static_cast<uint16_t>(w));
        ++visited;
        const int p2 = static_cast<uint16_t>(g.walls[static_cast<size_t>(w)].point2);
        if (p2 == loopStart) {
            if (visited >= count) return;
            loopStart = w + 1;
        } else if (p2 != w + 1 || visited == count) {
            return;
        }
    }
}

}  // namespace krello
