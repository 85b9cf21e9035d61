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
int32_t ceilingRowDistance(int32_t row);
int32_t floorRowDistance(int32_t row);

// shadeBias + ((eyeZ - planeZ) / d) * falloff / 750, with integer divisions, kept to 16 bits.
int16_t flatShadeOffset(int8_t shadeBias, int32_t eyeZ, int32_t planeZ, int32_t d, int8_t falloff);

// Draws rows from..to-1 of the current column with the sector's ceiling.
void drawCeilingRows(RenderState& rs, const Sector& sector, int32_t from, int32_t to);
// Draws rows from..to-1 of the current column with the sector's floor.
void drawFloorRows(RenderState& rs, const Sector& sector, int32_t from, int32_t to);

}  // namespace krello
