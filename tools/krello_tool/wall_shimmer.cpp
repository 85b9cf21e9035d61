// How much of the drawn wall shimmers, walked column by column as the renderer walks them.
#include "krello_tool/wall_shimmer.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "level/loop_geometry.h"
#include "render/render_view.h"
#include "render/sector_column.h"
#include "tour/tour_views.h"
#include "world/fixed_math.h"
#include "world/records.h"
#include "world/screen.h"
#include "world/wall_walk.h"

namespace krello::tool {
namespace {

// The texture-row accumulator has 9 fraction bits: a step above this skips texture rows.
constexpr int32_t ONE_TEXEL_STEP = 512;
// Texture columns per repeat and per unit of the wall's parameter (texU = repeatU * t * 16).
constexpr double COLUMNS_PER_REPEAT = 16.0;

// Where along the wall (0 at its own point, 1 at point2's) the line of ray (rx, ry) from the eye
// crosses it; the wall's whole line, so neighbouring columns compare even past its ends.
double wallParam(const GameState& g, const Wall& w, double rx, double ry) {
    const uint16_t p2 = static_cast<uint16_t>(w.point2);
    if (p2 >= WALL_COUNT) return 0.0;  // a damaged level's wall: the renderer skips it too
    const Wall& w2 = g.walls[p2];
    const double ex = static_cast<double>(g.player.x) - w.x, ey = static_cast<double>(g.player.y) - w.y;
    const double dx = static_cast<double>(w2.x) - w.x, dy = static_cast<double>(w2.y) - w.y;
    const double den = dx * ry - dy * rx;
    return den == 0.0 ? 0.0 : (ex * ry - ey * rx) / den;
}

// Texture columns the wall moves by from this column's ray to the next one's.
double texelsAcross(const RenderState& rs, const Wall& w) {
    const double t0 = wallParam(rs.game, w, rs.rayDirX, rs.rayDirY);
    const double t1 = wallParam(rs.game, w, rs.rayDirX + rs.rayStepX, rs.rayDirY + rs.rayStepY);
    return std::abs(static_cast<double>(w.repeatU) * COLUMNS_PER_REPEAT * (t1 - t0));
}

void add(WallShimmer& s, int32_t wall, int32_t rows, bool across, bool down) {
    if (rows <= 0) return;
    for (ShimmerCount* c : {&s.total, &s.byWall[static_cast<size_t>(wall)]}) {
        c->drawn += rows;
        if (across || down) c->shimmering += rows;
        if (across) c->across += rows;
        if (down) c->down += rows;
    }
}

// One column: the sectors the renderer visits, each one's wall rows counted, nothing drawn.
void measureColumn(RenderState& rs, WallShimmer& s) {
    const GameState& g = rs.game;
    int32_t top = 0, bottom = SCREEN_HEIGHT;
    uint16_t sector = static_cast<uint16_t>(g.player.sector);
    // Every visit marks a wall unmarked in this column, so the walk ends within the wall count.
    for (int visits = 0; visits <= WALL_COUNT && top < bottom && isSector(sector); ++visits) {
        const WallHit hit = findNearestWallScalar(rs, sector);
        if (hit.wall < 0) return;
        const Wall& wall = g.walls[hit.wall];
        rs.scratch.marks[hit.wall] = rs.screenColumn;
        const WallColumn wc = setUpWallColumn(rs, g.sectors[sector], wall, hit, top, bottom);
        const bool across = texelsAcross(rs, wall) > 1.0;
        const bool down = wc.vStep > ONE_TEXEL_STEP;
        if (!isSector(wall.nextSector)) return add(s, hit.wall, wc.floorRow - wc.ceilingRow, across, down);
        if (static_cast<uint16_t>(wall.otherWall) < WALL_COUNT) rs.scratch.marks[wall.otherWall] = rs.screenColumn;
        const PortalRows pr = setUpPortalRows(rs, g.sectors[wall.nextSector], wall, wc, top, bottom);
        add(s, hit.wall, pr.nextCeilingRow - wc.ceilingRow, across, down);
        add(s, hit.wall, wc.floorRow - pr.nextFloorRow, across, down);
        top = std::clamp<int32_t>(std::max(wc.ceilingRow, pr.nextCeilingRow), 0, SCREEN_HEIGHT);
        bottom = std::clamp<int32_t>(std::min(wc.floorRow, pr.nextFloorRow), top, SCREEN_HEIGHT);
        sector = static_cast<uint16_t>(wall.nextSector);
    }
}

// The same fixed sequence on every machine, so the figure is a property of the level.
struct Lcg {
    uint32_t state;
    uint32_t next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
};

// A standing view at a random point inside a random sector, or false when the sector drawn has
// no point found inside it (too thin, or no walls).
bool randomStandingView(const GameState& g, Lcg& rng, PlayerState& p) {
    const uint16_t sector = static_cast<uint16_t>(rng.next() % SECTOR_COUNT);
    const Sector& s = g.sectors[sector];
    if (s.wallCount < 3) return false;
    // The walls as the renderer walks them, so a damaged level's indices stay inside the table.
    int64_t x0 = INT64_MAX, y0 = INT64_MAX, x1 = INT64_MIN, y1 = INT64_MIN;
    walkSectorWalls(g, sector, [&](uint16_t w) {
        x0 = std::min<int64_t>(x0, g.walls[w].x), x1 = std::max<int64_t>(x1, g.walls[w].x);
        y0 = std::min<int64_t>(y0, g.walls[w].y), y1 = std::max<int64_t>(y1, g.walls[w].y);
    });
    if (x0 > x1) return false;
    const uint64_t width = static_cast<uint64_t>(x1 - x0) + 1, depth = static_cast<uint64_t>(y1 - y0) + 1;
    for (int tries = 0; tries < 16; ++tries) {
        p.x = static_cast<int32_t>(x0 + static_cast<int64_t>(rng.next() % width));
        p.y = static_cast<int32_t>(y0 + static_cast<int64_t>(rng.next() % depth));
        if (!pointInSector(g, sector, p.x, p.y)) continue;
        p.sector = static_cast<int16_t>(sector);
        p.z = sub32(s.floorZ, EYE_HEIGHT);
        p.angle = static_cast<int16_t>(rng.next() % 2048);
        return true;
    }
    return false;
}

}  // namespace

void measureView(const GameState& g, WallShimmer& into) {
    into.byWall.resize(WALL_COUNT);
    const FrameView view(g, nullptr, RenderPath::Scalar);
    auto scratch = std::make_unique<ColumnScratch>();
    scratch->startFrame();
    RenderState rs = viewColumnState(view, *scratch);
    for (int c = 0; c < SCREEN_WIDTH; ++c) {
        aimColumn(rs, view, c);
        measureColumn(rs, into);
    }
    ++into.views;
}

WallShimmer measureWallShimmer(const GameState& level, int randomViews) {
    WallShimmer s;
    s.byWall.resize(WALL_COUNT);
    auto g = std::make_unique<GameState>(level);
    for (const TourView& t : tourViews())
        if (placeViewer(*g, t)) measureView(*g, s);
    Lcg rng{2026};
    // Sectors without a point inside are drawn again; the bound keeps a level of such sectors finite.
    for (int made = 0, tries = 0; made < randomViews && tries < randomViews * 64; ++tries) {
        if (!randomStandingView(level, rng, g->player)) continue;
        measureView(*g, s);
        ++made;
    }
    return s;
}

}  // namespace krello::tool
