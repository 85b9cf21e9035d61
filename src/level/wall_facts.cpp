// What each wall shows: its sector, whether it is drawn, a portal's opening, its texels' shape.
#include "level/wall_facts.h"

#include <cmath>

#include "level/own_walls.h"
#include "level/surface_rules.h"

namespace krello {

std::vector<WallFacts> wallFacts(const GameState& g) {
    std::vector<WallFacts> facts(WALL_COUNT);
    for (int s = 0; s < SECTOR_COUNT; ++s)
        walkOwnWalls(g, static_cast<uint16_t>(s), [&](uint16_t w) {
            if (facts[w].sector < 0) facts[w].sector = s;
        });
    for (size_t w = 0; w < facts.size(); ++w) {
        WallFacts& f = facts[w];
        const Wall& wall = g.walls[w];
        if (wall.nextSector == -1) {
            f.drawn = true;
        } else if (f.sector >= 0 && isSector(wall.nextSector)) {
            const Sector& here = g.sectors[static_cast<size_t>(f.sector)];
            const Sector& behind = g.sectors[static_cast<size_t>(wall.nextSector)];
            f.drawn = portalShowsWallPart(here, behind);
            f.opening = portalOpening(here, behind);
        }
        const uint16_t p2 = static_cast<uint16_t>(wall.point2);
        if (!isWall(p2)) continue;
        const double dx = static_cast<double>(g.walls[p2].x) - wall.x;
        const double dy = static_cast<double>(g.walls[p2].y) - wall.y;
        f.length = std::sqrt(dx * dx + dy * dy);
        f.squareRepeatU = squareTexelRepeatU(*f.length, wall.repeatV);
        f.texelRatio = texelRatio(*f.length, wall.repeatU, wall.repeatV);
    }
    return facts;
}

}  // namespace krello
