// The one breadth-first walk through portals: which sectors can be reached from a sector, and how.
#pragma once

#include <array>
#include <cstdint>

#include "world/game_state.h"
#include "world/wall_walk.h"

namespace krello {

// Walks breadth first from `start` through portals, each sector's walls in the one wall walk.
// reached(from, wall, to) is called once for every other sector, the first time a portal of
// `from` leads into it, in walk order. A sector's walls are walked only when expand(sector)
// allows it; a portal into a sector outside the table is not followed. Nothing is allocated.
template <typename Expand, typename Reached>
void walkPortals(const GameState& g, uint16_t start, Expand&& expand, Reached&& reached) {
    if (!isSector(start)) return;
    std::array<bool, SECTOR_COUNT> seen{};
    std::array<uint16_t, SECTOR_COUNT> queue{};
    size_t head = 0;
    size_t tail = 0;
    queue[tail++] = start;
    seen[start] = true;
    while (head < tail) {
        const uint16_t s = queue[head++];
        if (!expand(s)) continue;
        walkSectorWalls(g, s, [&](uint16_t w) {
            const int16_t to = g.walls[w].nextSector;
            if (!isSector(to) || seen[static_cast<size_t>(to)]) return;
            const uint16_t next = static_cast<uint16_t>(to);
            seen[next] = true;
            queue[tail++] = next;
            reached(s, w, next);
        });
    }
}

}  // namespace krello
