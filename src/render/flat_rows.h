// Ceiling and floor rows of one column: perspective texture lookup and distance shading per row.
#pragma once

#include <cstdint>

#include "render/render_state.h"

namespace krello {

// The row distance used for a ceiling row (100 - row) and a floor row (99 - row). The one row
// where that is 0 is the horizon, reachable only when a sector behind a portal has its ceiling
// below the eye or its floor above it. There the surface is drawn as in the row just beyond the
// horizon on the surface's own side: a ceiling below the eye as at distance -1 (like row 101), a
// floor above the eye as at distance 1 (like row 98). So the row matches its neighbour instead of
// dividing by zero.
constexpr int32_t ceilingRowDistance(int32_t row) {
    const int32_t d = 100 - row;
    return d == 0 ? -1 : d;
}
constexpr int32_t floorRowDistance(int32_t row) {
    const int32_t d = 99 - row;
    return d == 0 ? 1 : d;
}

// Every row's distance d as a double (ceilingRowDistance or floorRowDistance), and the double
// nearest 1 / d, for the ceiling's rows or the floor's.
const double* rowDistances(bool floor);
const double* rowReciprocals(bool floor);

// shadeBias + ((eyeZ - planeZ) / d) * falloff / 750, with integer divisions, kept to 16 bits.
int16_t flatShadeOffset(int8_t shadeBias, int32_t eyeZ, int32_t planeZ, int32_t d, int8_t falloff);

// One run of ceiling or floor rows in one column, with everything that stays the same along the
// column worked out once. Row r shows the texel at
//   a = trunc(heightRayX / distance[r] - xOffset), b = trunc(heightRayY / distance[r] - yOffset)
// (row a & 127, column b & 127), shaded by shade[r], plus the ramp.
struct FlatRun {
    uint8_t* pixel;          // the pixel of row `from` in the column
    int32_t stride;          // from one row's pixel to the next: 320 in the frame, 1 in a tile
    int32_t from;            // rows from..to-1, inside the screen, from < to
    int32_t to;              //
    const double* distance;  // per row: its distance d as a double (the ceiling's or the floor's), whole and not 0
    const double* reciprocal;  // per row: the double nearest 1 / d (flat_rows_x86.h divides with it)
    const int16_t* shade;    // per row: its shade offset
    const uint8_t* texture;  // the surface's texture slot
    double heightRayX;       // (planeZ - z) * rayDirX
    double heightRayY;       // (planeZ - z) * rayDirY
    double xOffset;          // x * FLAT_SCALE
    double yOffset;          // y * FLAT_SCALE
    uint8_t ramp;            // added after the shade clamp
};

// The reference: row by row, as the arithmetic reads. Every other path gives the same bytes
// (path_kernels.h).
void drawFlatRunScalar(const FlatRun& run);
// The same with WebAssembly SIMD, two divisions a step (the browser's build only).
void drawFlatRunSimd128(const FlatRun& run);

// Draws rows from..to-1 of the current column with the sector's ceiling.
void drawCeilingRows(RenderState& rs, uint16_t sector, int32_t from, int32_t to);
// Draws rows from..to-1 of the current column with the sector's floor.
void drawFloorRows(RenderState& rs, uint16_t sector, int32_t from, int32_t to);

}  // namespace krello
