// Wall rows of one column: one texture column stepped down the rows, shaded by the wall's distance.
#pragma once

#include <cstdint>

#include "render/render_state.h"

namespace krello {

// What a wall's pixels are made of in one column.
struct WallLook {
    const uint8_t* texture;  // the wall's texture slot
    int32_t slot;            // its number as the attribute names it (0..15)
    int32_t texU;            // texture column, 0..127
    uint16_t vStep;          // per-row step of the texture-row accumulator
    int16_t shadeOffset;     // subtracted from every texel
    uint8_t ramp;            // added after the shade clamp
};

// Rows from..to-1 of a wall in the current column, the texture-row accumulator (7 integer and 9
// fraction bits, wrapping modulo 2^16) starting at v on row `from`. Row from + k shows the
// texture row of v + k * vStep. A solid wall is one run; a portal's upper and lower steps are two
// runs of one look.
struct WallRun {
    int32_t from;
    int32_t to;
    uint16_t v;
};

// The reference: a table of the 256 shaded pixels of the look's shade and ramp, one lookup a row.
// Every other path gives the same bytes (path_kernels.h).
void drawWallRunsScalar(RenderState& rs, const WallLook& look, const WallRun* runs, int count);

}  // namespace krello
