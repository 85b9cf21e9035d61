// Exact geometry of a sector's wall loops: orientation, where a point lies, point in sector.
#include "level/loop_geometry.h"

#include <algorithm>
#include <vector>

#include "world/wall_walk.h"

namespace krello {
namespace {

Pt wallPoint(const GameState& g, int w) {
    const Wall& wall = g.walls[static_cast<size_t>(w)];
    return {wall.x, wall.y};
}

int endOf(const GameState& g, int w) { return g.walls[static_cast<size_t>(w)].point2; }

}  // namespace

int orient(Pt a, Pt b, Pt c) {
    // Differences below 2^31 (any level the validator accepts, and most it rejects) keep both
    // products below 2^62, so 64 bits hold the test exactly.
    const int64_t dx1 = b.x - a.x, dy1 = b.y - a.y, dx2 = c.x - a.x, dy2 = c.y - a.y;
    constexpr int64_t LIMIT = int64_t{1} << 31;
    if (dx1 > -LIMIT && dx1 < LIMIT && dy1 > -LIMIT && dy1 < LIMIT && dx2 > -LIMIT && dx2 < LIMIT && dy2 > -LIMIT &&
        dy2 < LIMIT) {
        const int64_t v = dx1 * dy2 - dy1 * dx2;
        return v > 0 ? 1 : (v < 0 ? -1 : 0);
    }
    const Wide v = Wide::product(b.x - a.x, c.y - a.y) - Wide::product(b.y - a.y, c.x - a.x);
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

bool within(Pt a, Pt b, Pt p) {
    return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
           p.y <= std::max(a.y, b.y);
}

Wide loopOrientationSum(const GameState& g, int first, int end) {
    Wide sum = 0;
    for (int w = first; w < end; ++w) {
        const uint16_t p2 = static_cast<uint16_t>(endOf(g, w));
        if (p2 >= WALL_COUNT) return 0;
        const Pt a = wallPoint(g, w), b = wallPoint(g, p2);
        sum += Wide::product(a.x, b.y) - Wide::product(b.x, a.y);
    }
    return sum;
}

Side locate(const GameState& g, int first, int end, Pt p, int64_t scale) {
    bool inside = false;
    for (int w = first; w < end; ++w) {
        Pt a = wallPoint(g, w), b = wallPoint(g, endOf(g, w));
        a = {a.x * scale, a.y * scale};
        b = {b.x * scale, b.y * scale};
        if (orient(a, b, p) == 0 && within(a, b, p)) return Side::Edge;
        if ((a.y > p.y) != (b.y > p.y)) {
            const Wide cross = Wide::product(b.x - a.x, p.y - a.y) - Wide::product(p.x - a.x, b.y - a.y);
            if ((cross > 0) == (b.y > a.y)) inside = !inside;
        }
    }
    return inside ? Side::Inside : Side::Outside;
}

bool pointInSector(const GameState& g, uint16_t sector, int32_t x, int32_t y) {
    if (!isSector(sector)) return false;
    // The loops as the one wall walk finds them: runs of consecutive walls, each closed by a
    // wall whose point2 is the run's first.
    struct Run {
        int first, end;
    };
    std::vector<Run> loops;
    int loopStart = -1;
    bool closed = true;
    walkSectorWalls(g, sector, [&](uint16_t w) {
        if (loopStart < 0) loopStart = w;
        const int p2 = endOf(g, w);
        if (p2 == loopStart) {
            loops.push_back({loopStart, w + 1});
            loopStart = -1;
        } else if (p2 != w + 1) {
            closed = false;
        }
    });
    if (!closed || loopStart >= 0 || loops.empty()) return false;
    const Pt p{x, y};
    int outers = 0;
    bool inside = true;
    for (const Run& l : loops) {
        const Side side = locate(g, l.first, l.end, p);
        if (loopOrientationSum(g, l.first, l.end) > 0) {
            ++outers;
            inside = inside && side == Side::Inside;
        } else {
            inside = inside && side == Side::Outside;
        }
    }
    return outers == 1 && inside;
}

}  // namespace krello
