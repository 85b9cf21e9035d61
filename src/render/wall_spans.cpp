// Each wall's columns in a frame: a conservative projection, so a column's search tests only
// the walls it can meet.
#include "render/wall_spans.h"

#include <algorithm>
#include <cmath>

#include "world/fixed_math.h"
#include "world/screen.h"
#include "world/wall_walk.h"

namespace krello {
namespace {

// The margin, relative to the magnitudes of the coordinates involved (see wall_spans.h).
constexpr double MARGIN = 0x1p-40;
constexpr int LAST_COLUMN = SCREEN_WIDTH - 1;

// Columns lo..hi; none when lo > hi.
struct Columns {
    int lo;
    int hi;
    bool empty() const { return lo > hi; }
};
constexpr Columns ALL{0, LAST_COLUMN};
constexpr Columns NONE{1, 0};

Columns intersect(Columns a, Columns b) { return {std::max(a.lo, b.lo), std::min(a.hi, b.hi)}; }

// A column boundary q kept to a little beyond the screen, so it converts to an int.
double onScreen(double q) { return std::clamp(q, -16.0, SCREEN_WIDTH + 16.0); }

// One end point's cross product with the rays, f(c) = f0 + c * g as computed: the columns where
// it surely exceeds +limit (above) and where it surely lies below -limit (below). The boundary
// is computed with a relative error of a few units in the last place, far less than the two
// columns left on the safe side.
struct Side {
    Columns above;
    Columns below;
};

Side sideOf(double f0, double g, double limit) {
    if (g == 0.0) return {f0 > limit ? ALL : NONE, f0 < -limit ? ALL : NONE};
    const double inverse = 1.0 / g;
    const double up = onScreen((limit - f0) * inverse);
    const double down = onScreen((-limit - f0) * inverse);
    if (std::isnan(up) || std::isnan(down)) return {NONE, NONE};  // nothing is sure
    if (g > 0.0)
        return {{static_cast<int>(std::floor(up)) + 2, LAST_COLUMN}, {0, static_cast<int>(std::ceil(down)) - 2}};
    return {{0, static_cast<int>(std::ceil(up)) - 2}, {static_cast<int>(std::floor(down)) + 2, LAST_COLUMN}};
}

bool fitsInt32(int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

// Appends the columns of the screen outside the excluded ones as spans of wall w; returns the
// number appended (0 to 3).
int appendOutside(Columns x1, Columns x2, uint16_t w, WallSpan* out) {
    if (x1.empty()) x1 = x2, x2 = NONE;
    if (!x2.empty() && x2.lo < x1.lo) std::swap(x1, x2);
    int n = 0;
    int from = 0;
    for (const Columns& x : {x1, x2}) {
        if (x.empty()) continue;
        if (x.lo > from) out[n++] = {static_cast<int16_t>(from), static_cast<int16_t>(x.lo - 1), w};
        from = std::max(from, x.hi + 1);
    }
    if (from <= LAST_COLUMN) out[n++] = {static_cast<int16_t>(from), static_cast<int16_t>(LAST_COLUMN), w};
    return n;
}

// The spans of wall w: none when the search can never take it in this frame. Each span's
// geometry gets the wall's.
int spansOfWall(const GameState& g, const FrameRays& rays, uint16_t w, WallSpan* out, WallGeometry* geometry) {
    const Wall& wall = g.walls[w];
    const uint16_t endIndex = static_cast<uint16_t>(wall.point2);
    if (endIndex >= WALL_COUNT) return 0;  // the search skips a wall without an end point
    const Wall& end = g.walls[endIndex];
    const PlayerState& p = g.player;
    // The end points from the eye, as the search forms them: its own point's offsets wrap like
    // 32-bit registers, the other point lies the wall's (wrapped) extent further.
    const WallGeometry wg = wallGeometry(wall, end, p.x, p.y);
    const double b1 = wg.fromEyeX;
    const double a1 = wg.fromEyeY;
    const double dxw = wg.dx;
    const double dyw = wg.dy;
    const double b2 = b1 + dxw;  // exact: integers below 2^34
    const double a2 = a1 + dyw;
    const double size = std::fabs(a1) + std::fabs(b1) + std::fabs(dxw) + std::fabs(dyw);
    const double limit = size * MARGIN;

    const bool exact = fitsInt32(int64_t{wall.x} - p.x) && fitsInt32(int64_t{wall.y} - p.y) &&
                       fitsInt32(int64_t{end.x} - wall.x) && fitsInt32(int64_t{end.y} - wall.y);
    if (exact) {
        const double depth1 = a1 * rays.headingSin + b1 * rays.headingCos;
        const double depth2 = a2 * rays.headingSin + b2 * rays.headingCos;
        auto mag = [](int32_t v) { return std::fabs(static_cast<double>(v)); };
        const double reach =
            (mag(wall.x) + mag(wall.y) + mag(end.x) + mag(end.y) + mag(p.x) + mag(p.y) + size) * MARGIN;
        if (depth1 < -reach && depth2 < -reach) return 0;
    }

    // num = ry * b - rx * a for the wall's own point; for the other end point the same with
    // (b2, a2), which is num - den.
    const Side s1 = sideOf(rays.firstY * b1 - rays.firstX * a1, rays.stepY * b1 - rays.stepX * a1, limit);
    const Side s2 = sideOf(rays.firstY * b2 - rays.firstX * a2, rays.stepY * b2 - rays.stepX * a2, limit);
    const int n = appendOutside(intersect(s1.above, s2.above), intersect(s1.below, s2.below), w, out);
    for (int i = 0; i < n; ++i) geometry[i] = wg;
    return n;
}

}  // namespace

void WallSpans::make(const GameState& g, const FrameRays& rays, uint16_t sector) {
    const int first = used_;
    bool fits = true;
    walkSectorWalls(g, sector, [&](uint16_t w) {
        if (!fits) return;
        if (CAPACITY - used_ < 3) {
            fits = false;
            return;
        }
        used_ += spansOfWall(g, rays, w, spans_.data() + used_, geometry_.data() + used_);
    });
    if (!fits) {
        used_ = first;
        state_[sector] = TOO_MANY;
        return;
    }
    first_[sector] = static_cast<uint16_t>(first);
    end_[sector] = static_cast<uint16_t>(used_);
    state_[sector] = MADE;
    if (!masked(used_ - first)) return;
    std::array<uint64_t, SPAN_BLOCKS>& blocks = blocks_[sector];
    blocks.fill(0);
    for (int i = 0; i < used_ - first; ++i) {
        const WallSpan& s = spans_[static_cast<size_t>(first + i)];
        // A span may reach past the screen's edges; only its columns on the screen count.
        const int lo = std::max<int>(s.lo, 0) / SPAN_BLOCK_COLUMNS;
        const int hi = std::min<int>(s.hi, LAST_COLUMN) / SPAN_BLOCK_COLUMNS;
        for (int b = lo; b <= hi; ++b) blocks[static_cast<size_t>(b)] |= uint64_t{1} << i;
    }
}

}  // namespace krello
