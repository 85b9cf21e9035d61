// The bounds of a level's wall coordinates and sector heights.
#include "level/level_extent.h"

#include <algorithm>
#include <cstddef>

namespace krello {

LevelExtent levelExtent(const GameState& g, int walls, int sectors) {
    LevelExtent e;
    for (int w = 0; w < walls; ++w) {
        const Wall& wall = g.walls[static_cast<size_t>(w)];
        e.minX = std::min<int64_t>(e.minX, wall.x), e.maxX = std::max<int64_t>(e.maxX, wall.x);
        e.minY = std::min<int64_t>(e.minY, wall.y), e.maxY = std::max<int64_t>(e.maxY, wall.y);
    }
    for (int s = 0; s < sectors; ++s) {
        const Sector& sec = g.sectors[static_cast<size_t>(s)];
        e.top = std::min<int64_t>({e.top, sec.ceilingZ, sec.floorZ});
        e.bottom = std::max<int64_t>({e.bottom, sec.ceilingZ, sec.floorZ});
    }
    return e;
}

}  // namespace krello
