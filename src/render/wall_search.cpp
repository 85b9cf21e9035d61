// The nearest-wall search: which of a sector's walls the current column's ray meets first.
#include <cmath>

#include "render/path_kernels.h"
#include "render/sector_column.h"
#include "world/fixed_math.h"
#include "world/wall_walk.h"

namespace krello {

WallHit findNearestWallScalar(const RenderState& rs, uint16_t sector) {
    const GameState& g = rs.game;
    const int32_t px = g.player.x;
    const int32_t py = g.player.y;
    const double eyeX = px;
    const double eyeY = py;
    const double rx = rs.rayDirX;
    const double ry = rs.rayDirY;
    const double headingSin = rs.headingSin;
    const double headingCos = rs.headingCos;
    const int16_t* marks = rs.scratch.marks.data();
    const int16_t column = rs.screenColumn;
    WallHit hit;
    double best = NO_WALL_DEPTH;
    walkSectorWalls(g, sector, [&](uint16_t w) {
        const Wall& wall = g.walls[w];
        if (marks[w] == column) return;
        const uint16_t endIndex = static_cast<uint16_t>(wall.point2);
        if (endIndex >= WALL_COUNT) return;  // a wall without an end point is no segment
        const Wall& end = g.walls[endIndex];
        const double dxw = sub32(end.x, wall.x);
        const double dyw = sub32(end.y, wall.y);
        // The near-parallel test first: it needs the least.
        const double den = -(ry * dxw) - (-rx) * dyw;
        if (!(std::fabs(den) > PARALLEL_LIMIT)) return;
        const double num = static_cast<double>(sub32(wall.y, py)) * (-rx) +
                           static_cast<double>(sub32(wall.x, px)) * ry;
        const double t = num / den;
        if (!(t >= 0.0 && t <= 1.0)) return;
        const double x1 = wall.x;
        const double y1 = wall.y;
        const double hx = t * dxw + x1;
        const double hy = t * dyw + y1;
        // Depth along the heading, not along the ray, so straight walls stay straight on screen.
        const double depth = (hy - eyeY) * headingSin + (hx - eyeX) * headingCos;
        if (depth < 0.0) return;
        if (depth < best) {
            best = depth;
            hit.wall = w;
            hit.param = t;
            hit.depth = depth;
        }
    });
    return hit;
}

WallHit findNearestWall(const RenderState& rs, uint16_t sector) { return rs.kernels->findNearestWall(rs, sector); }

}  // namespace krello
