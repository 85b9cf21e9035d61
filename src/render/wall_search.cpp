// The nearest-wall search: which of a sector's walls the current column's ray meets first.
#include <bit>
#include <cmath>

#include "render/path_kernels.h"
#include "render/sector_column.h"
#include "world/fixed_math.h"
#include "world/screen.h"
#include "world/wall_walk.h"

namespace krello {
namespace {

// What the test of every wall in one column reads.
struct Probe {
    const GameState& g;
    int32_t px, py;
    double eyeX, eyeY;
    double rx, ry;
    double headingSin, headingCos;

    explicit Probe(const RenderState& rs)
        : g(rs.game), px(rs.game.player.x), py(rs.game.player.y), eyeX(px), eyeY(py), rx(rs.rayDirX),
          ry(rs.rayDirY), headingSin(rs.headingSin), headingCos(rs.headingCos) {}
};

// Tests a wall from its geometry, as the arithmetic reads, and keeps it in hit when it is
// strictly nearer than every wall kept so far.
inline void testWallGeometry(const Probe& p, const WallGeometry& wg, uint16_t w, WallHit& hit, double& best) {
    // The near-parallel test first: it needs the least.
    const double den = -(p.ry * wg.dx) - (-p.rx) * wg.dy;
    if (!(std::fabs(den) > PARALLEL_LIMIT)) return;
    const double num = wg.fromEyeY * (-p.rx) + wg.fromEyeX * p.ry;
    const double t = num / den;
    if (!(t >= 0.0 && t <= 1.0)) return;
    const double hx = t * wg.dx + wg.x;
    const double hy = t * wg.dy + wg.y;
    // Depth along the heading, not along the ray, so straight walls stay straight on screen.
    const double depth = (hy - p.eyeY) * p.headingSin + (hx - p.eyeX) * p.headingCos;
    keepNearerCrossing(hit, best, w, t, depth);
}

// Tests wall w straight from the records.
inline void testWall(const Probe& p, uint16_t w, WallHit& hit, double& best) {
    const Wall& wall = p.g.walls[w];
    const uint16_t endIndex = static_cast<uint16_t>(wall.point2);
    if (endIndex >= WALL_COUNT) return;  // a wall without an end point is no segment
    testWallGeometry(p, wallGeometry(wall, p.g.walls[endIndex], p.px, p.py), w, hit, best);
}

}  // namespace

WallHit findNearestWallScalar(const RenderState& rs, uint16_t sector) {
    const Probe probe(rs);
    const int16_t* marks = rs.scratch.marks.data();
    const int16_t column = rs.screenColumn;
    WallHit hit;
    double best = NO_WALL_DEPTH;
    walkSectorWalls(rs.game, sector, [&](uint16_t w) {
        if (marks[w] != column) testWall(probe, w, hit, best);
    });
    return hit;
}

WallHit findNearestWall(const RenderState& rs, uint16_t sector) {
    const FrameRays rays{rs.firstRayX, rs.firstRayY, rs.rayStepX, rs.rayStepY, rs.headingCos, rs.headingSin};
    SpanRange spans;
    if (!rs.scratch.spans.of(rs.game, rays, sector, spans)) return rs.kernels->findNearestWall(rs, sector);
    // The walls in walk order, each tested only in the columns where it can pass the tests.
    const Probe probe(rs);
    const int16_t* marks = rs.scratch.marks.data();
    const int16_t column = rs.screenColumn;
    WallHit hit;
    double best = NO_WALL_DEPTH;
    if (spans.blocks && static_cast<uint16_t>(column) < SCREEN_WIDTH) {
        // Only the spans that reach the column's block, lowest bit (earliest in the walk) first.
        for (uint64_t m = spans.blocks[column / SPAN_BLOCK_COLUMNS]; m != 0; m &= m - 1) {
            const int i = std::countr_zero(m);
            const WallSpan& s = spans.begin[i];
            if (s.holds(column) && marks[s.wall] != column) testWallGeometry(probe, spans.geometry[i], s.wall, hit, best);
        }
        return hit;
    }
    for (const WallSpan* s = spans.begin; s != spans.end; ++s)
        if (s->holds(column) && marks[s->wall] != column)
            testWallGeometry(probe, spans.geometry[s - spans.begin], s->wall, hit, best);
    return hit;
}

}  // namespace krello
