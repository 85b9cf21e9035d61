// The sector column renderer: one sector's ceiling, wall and floor in one column, then what lies behind.
#pragma once

#include <cstdint>

#include "render/render_state.h"
#include "render/wall_rows.h"

namespace krello {

// The nearest wall of a sector along the current column's ray.
struct WallHit {
    int32_t wall = -1;    // wall index, -1 when no wall qualifies
    double param = 0.0;   // where the ray crosses it: 0 at its own point, 1 at point2's
    double depth = 0.0;   // depth of the crossing along the heading, not yet raised to 10
};

// Takes a crossing that lies ahead of the eye and nearer than `best`, the nearest so far. A tie
// keeps the wall found first, so every search path picks the same wall.
inline void keepNearerCrossing(WallHit& hit, double& best, int32_t wall, double param, double depth) {
    if (depth < 0.0 || !(depth < best)) return;
    best = depth;
    hit.wall = wall;
    hit.param = param;
    hit.depth = depth;
}

// How one wall is laid out in one column, clipped to the window.
struct WallColumn {
    double wallDepth = 0.0;   // the hit's depth, at least 10
    int32_t ceilingRow = 0;   // first row of the wall (rows above are ceiling)
    int32_t floorRow = 0;     // end row of the wall (rows from here are floor)
    uint16_t upperV = 0;      // texture-row accumulator at ceilingRow, 9 fraction bits
    uint16_t vStep = 0;       // per-row step of the accumulators
    int32_t texU = 0;         // texture column, 0..127
    int16_t shadeOffset = 0;  // subtracted from every texel of the wall
};

// Where the sector behind a portal shows through, clipped against the wall's own rows.
struct PortalRows {
    int32_t nextCeilingRow = 0;  // the upper part runs from ceilingRow to here
    int32_t nextFloorRow = 0;    // the lower part runs from here to floorRow
    uint16_t lowerV = 0;         // texture-row accumulator at nextFloorRow
};

// Rays closer to parallel to a wall than this ignore it however near it is: t would be noise.
constexpr double PARALLEL_LIMIT = 0.001;
// Farther than any wall of a level can be, so the first qualifying wall always replaces it.
constexpr double NO_WALL_DEPTH = 1000000.0;

// The nearest wall along the current ray that is not already marked with this column. Walls
// nearly parallel to the ray (|den| <= 0.001), crossed outside the segment or behind the eye
// do not count; among equal depths the first in the walk wins. Only the walls whose span in
// this frame holds the column are tested (wall_spans.h); a sector whose spans do not fit is
// searched wall by wall with the path's own code (path_kernels.h).
WallHit findNearestWall(const RenderState& rs, uint16_t sector);
// The reference, every wall of the walk tested as the arithmetic reads.
WallHit findNearestWallScalar(const RenderState& rs, uint16_t sector);

// Projects the hit wall's edges and texture set-up for rows windowTop..windowBottom-1.
WallColumn setUpWallColumn(const RenderState& rs, const Sector& sector, const Wall& wall,
                           const WallHit& hit, int32_t windowTop, int32_t windowBottom);

// Projects the next sector's opening at a portal wall laid out as wc.
PortalRows setUpPortalRows(const RenderState& rs, const Sector& next, const Wall& wall,
                           const WallColumn& wc, int32_t windowTop, int32_t windowBottom);

// Draws wall rows from..to-1 of the current column with the path's code, the texture-row
// accumulator starting at v.
void drawWallRows(RenderState& rs, const WallLook& look, int32_t from, int32_t to, uint16_t v);

// Draws rows windowTop..windowBottom-1 of the current column as seen in sector, recursing
// through the nearest wall when it is a portal, and the sector's billboards last. A window
// outside the screen is cut to it, and an index past the tables draws nothing, so no level
// can make the renderer write or read out of bounds.
void renderSectorColumn(RenderState& rs, uint16_t sector, int16_t windowTop, int16_t windowBottom,
                        double nearLimit);

}  // namespace krello
