// The sector column renderer: one sector's ceiling, wall and floor in one column, then what lies behind.
#include "render/sector_column.h"

#include <algorithm>

#include "render/flat_rows.h"
#include "render/sprites.h"
#include "world/fixed_math.h"

namespace krello {
namespace {

// Walls nearer than this are drawn as if this far, so projections stay bounded.
constexpr double MIN_WALL_DEPTH = 10.0;
// Screen rows per height unit at depth 1.
constexpr int32_t ROWS_PER_UNIT = 8;
// Ceiling edges are measured from row 99, floor edges from row 100.
constexpr int32_t CEILING_HORIZON = 99;
constexpr int32_t FLOOR_HORIZON = 100;
constexpr uint16_t NO_INDEX = 0xFFFF;

// The screen row at which height planeZ meets a wall at depth wallDepth.
int32_t projectRow(int32_t planeZ, int32_t eyeZ, double wallDepth, int32_t horizon) {
    const int32_t scaled = mul32(sub32(planeZ, eyeZ), ROWS_PER_UNIT);
    return add32(truncToInt32(scaled / wallDepth), horizon);
}

// A sixteenth of a wall's depth, for the texture-row steps below. A whole number n times the
// depth, times 1/16, gives the same double as n times this: the depth is at least
// MIN_WALL_DEPTH and, with 32-bit coordinates, below 2^34, and n is a 32-bit whole number, so n
// times it is 0 or a normal double far from overflowing or underflowing either way, and scaling
// by a power of two commutes with rounding there (a NaN stays a NaN both ways). Taken once, off the path from the wall's rows
// to the accumulators, which the column's drawing waits for.
double sixteenthOf(double wallDepth) { return wallDepth * 0.0625; }

// The accumulator value that many rows down a wall, so a clipped wall keeps its texture still:
// (repeatV * rowsCut) * wallDepth * 0.0625, the depth's sixteenth taken once (sixteenthOf).
uint16_t textureRowsCut(int8_t repeatV, int32_t rowsCut, double depthSixteenth) {
    return truncToU16(static_cast<double>(mul32(repeatV, rowsCut)) * depthSixteenth);
}

// The sector behind a portal wall, or NO_INDEX for a solid wall (or one leading nowhere).
uint16_t portalTarget(const Wall& wall) {
    return isSector(wall.nextSector) ? static_cast<uint16_t>(wall.nextSector) : NO_INDEX;
}

// The sector's billboards, when the frame lists any in it: most visits find none, and are
// spared the call.
void drawBillboards(RenderState& rs, uint16_t sector, int32_t top, int32_t bottom, double nearLimit,
                    double wallDepth) {
    if (rs.objects.first[sector] == rs.objects.first[sector + 1]) return;
    drawSectorSprites(rs, sector, top, bottom, nearLimit, wallDepth);
}

}  // namespace

void drawWallRows(RenderState& rs, const WallLook& look, int32_t from, int32_t to, uint16_t v) {
    const WallRun run{from, to, v};
    rs.kernels->drawWallRuns(rs, look, &run, 1);
}

void keepFramePixels(const RenderState& rs, int32_t from, int32_t to) {
    if (!rs.tileColumn) return;
    for (int32_t r = from; r < to; ++r) rs.tileColumn[r] = rs.frameBuffer[r * SCREEN_WIDTH + rs.screenColumn];
}

WallColumn setUpWallColumn(const RenderState& rs, const Sector& sector, const Wall& wall,
                           const WallHit& hit, int32_t windowTop, int32_t windowBottom) {
    const int32_t z = rs.game.player.z;
    WallColumn wc;
    wc.wallDepth = hit.depth < MIN_WALL_DEPTH ? MIN_WALL_DEPTH : hit.depth;
    const double depthSixteenth = sixteenthOf(wc.wallDepth);
    wc.texU = truncToInt32(wall.repeatU * hit.param * 16.0) & 127;
    wc.ceilingRow = projectRow(sector.ceilingZ, z, wc.wallDepth, CEILING_HORIZON);
    wc.floorRow = projectRow(sector.floorZ, z, wc.wallDepth, FLOOR_HORIZON);
    if (wc.ceilingRow < windowTop) {
        wc.upperV = textureRowsCut(wall.repeatV, sub32(windowTop, wc.ceilingRow), depthSixteenth);
        wc.ceilingRow = windowTop;
    }
    if (wc.ceilingRow > windowBottom) wc.ceilingRow = windowBottom;
    if (wc.floorRow > windowBottom) wc.floorRow = windowBottom;
    if (wc.floorRow < windowTop) wc.floorRow = windowTop;
    wc.shadeOffset =
        wrap16(add32(wall.shade, truncToInt32(sector.shadeFalloff * wc.wallDepth * 0.0002)));
    wc.vStep = truncToU16(wall.repeatV * depthSixteenth);
    return wc;
}

PortalRows setUpPortalRows(const RenderState& rs, const Sector& next, const Wall& wall,
                           const WallColumn& wc, int32_t windowTop, int32_t windowBottom) {
    const int32_t z = rs.game.player.z;
    PortalRows pr;
    pr.nextCeilingRow = projectRow(next.ceilingZ, z, wc.wallDepth, CEILING_HORIZON);
    pr.nextFloorRow = projectRow(next.floorZ, z, wc.wallDepth, FLOOR_HORIZON);
    if (pr.nextCeilingRow < windowTop) pr.nextCeilingRow = windowTop;
    if (pr.nextFloorRow > windowBottom) pr.nextFloorRow = windowBottom;
    if (pr.nextCeilingRow > wc.floorRow) pr.nextCeilingRow = wc.floorRow;
    if (pr.nextFloorRow < wc.ceilingRow) {
        pr.lowerV = textureRowsCut(wall.repeatV, sub32(wc.ceilingRow, pr.nextFloorRow), sixteenthOf(wc.wallDepth));
        pr.nextFloorRow = wc.ceilingRow;
    }
    return pr;
}

namespace {

// A window as a visit takes it: cut to the screen, rows top..bottom-1.
struct Window {
    int32_t top;
    int32_t bottom;
};

// Callers pass windows inside the screen with top <= bottom; holding to that here keeps every
// write inside the frame whatever a damaged level projects.
Window cutToScreen(int16_t windowTop, int16_t windowBottom) {
    const int32_t top = std::clamp<int32_t>(windowTop, 0, SCREEN_HEIGHT);
    return {top, std::clamp<int32_t>(windowBottom, top, SCREEN_HEIGHT)};
}

// Draws a visit of a non-empty window of a sector whose nearest wall, hit, has been found.
// Everything it calls from this file is built into it (flatten): the wall's and the portal's
// projections then hand their rows over in registers, not through memory, and their divisions
// overlap, which shortens the path from the search to the rows that every visit waits on.
__attribute__((flatten)) void drawVisit(RenderState& rs, uint16_t sectorIndex, Window w, double nearLimit, const WallHit& hit) {
    const GameState& g = rs.game;
    const Wall& wall = g.walls[hit.wall];
    rs.scratch.marks[hit.wall] = rs.screenColumn;
    const Sector& sector = g.sectors[sectorIndex];
    const WallColumn wc = setUpWallColumn(rs, sector, wall, hit, w.top, w.bottom);
    const WallLook look{textureOf(g, wall.texture), textureSlot(wall.texture), wc.texU, wc.vStep, wc.shadeOffset,
                        static_cast<uint8_t>(rampOffset(wall.texture))};

    const uint16_t next = portalTarget(wall);
    if (next == NO_INDEX) {
        drawCeilingRows(rs, sectorIndex, w.top, wc.ceilingRow);
        const WallRun run{wc.ceilingRow, wc.floorRow, wc.upperV};
        rs.kernels->drawWallRuns(rs, look, &run, 1);
        drawFloorRows(rs, sectorIndex, wc.floorRow, w.bottom);
        drawBillboards(rs, sectorIndex, w.top, w.bottom, nearLimit, wc.wallDepth);
        return;
    }

    // The back side of the portal must not be found again from the sector behind it.
    const uint16_t other = static_cast<uint16_t>(wall.otherWall);
    if (other < WALL_COUNT) rs.scratch.marks[other] = rs.screenColumn;
    const PortalRows pr = setUpPortalRows(rs, g.sectors[next], wall, wc, w.top, w.bottom);
    // The sector behind is searched before this visit's rows are drawn, so the search need not
    // wait behind them: the walk's searches and marks come in the same order, and drawing reads
    // no mark. An empty window is not searched, as renderSectorColumn would not search it.
    const Window child = cutToScreen(static_cast<int16_t>(std::max(wc.ceilingRow, pr.nextCeilingRow)),
                                     static_cast<int16_t>(std::min(wc.floorRow, pr.nextFloorRow)));
    const WallHit childHit = child.top == child.bottom ? WallHit{} : findNearestWall(rs, next);

    drawCeilingRows(rs, sectorIndex, w.top, wc.ceilingRow);
    const WallRun steps[2] = {{wc.ceilingRow, pr.nextCeilingRow, wc.upperV}, {pr.nextFloorRow, wc.floorRow, pr.lowerV}};
    rs.kernels->drawWallRuns(rs, look, steps, 2);
    drawFloorRows(rs, sectorIndex, wc.floorRow, w.bottom);
    // Nothing behind an empty window shows; a window with no wall found keeps the frame's pixels.
    if (child.top != child.bottom) {
        if (childHit.wall < 0) keepFramePixels(rs, child.top, child.bottom);
        else drawVisit(rs, next, child, wc.wallDepth, childHit);
    }
    drawBillboards(rs, sectorIndex, w.top, w.bottom, nearLimit, wc.wallDepth);
}

}  // namespace

void renderSectorColumn(RenderState& rs, uint16_t sectorIndex, int16_t windowTop,
                        int16_t windowBottom, double nearLimit) {
    const Window w = cutToScreen(windowTop, windowBottom);
    // An empty window shows nothing, and neither can anything behind it, since every window
    // lies inside its parent's: the pixels are those of the whole walk. Only the walk's marks
    // would differ, and they are this column's and consulted only further down the walk.
    if (w.top == w.bottom) return;
    // Every other window is drawn whole (ceiling, wall or steps, floor, and the child's window
    // cover it) unless no sector or no wall is found: then its rows keep the frame's pixels.
    if (!isSector(sectorIndex)) return keepFramePixels(rs, w.top, w.bottom);
    const WallHit hit = findNearestWall(rs, sectorIndex);
    if (hit.wall < 0) return keepFramePixels(rs, w.top, w.bottom);
    drawVisit(rs, sectorIndex, w, nearLimit, hit);
}

}  // namespace krello
