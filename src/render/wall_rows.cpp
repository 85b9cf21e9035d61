// Wall rows of one column: one texture column stepped down the rows, shaded by the wall's distance.
#include "render/wall_rows.h"

namespace krello {

void drawWallRunsScalar(RenderState& rs, const WallLook& look, const WallRun* runs, int count) {
    // Locals, so the compiler need not read the look again after every byte it stores.
    const uint8_t* column = look.texture + look.texU;
    const uint32_t step = look.vStep;
    const uint8_t* shaded = rs.scratch.wallShades.table(look.shadeOffset, look.ramp);
    const PixelColumn target = pixelColumn(rs);
    const int32_t stride = target.stride;
    for (int i = 0; i < count; ++i) {
        const WallRun& run = runs[i];
        if (run.from >= run.to) continue;  // an empty run may start past the last row: form no pointer there
        uint8_t* pixel = target.top + run.from * stride;
        // The accumulator in 32 bits: its bits 9..15, the texture row, are those of the 16-bit
        // one (which wraps modulo 2^16), and (v >> 2) & 0x3F80 is that row times the texture's side.
        auto put = [&](uint8_t* p, uint32_t at) { *p = shaded[column[(at >> 2) & 0x3F80]]; };
        uint32_t v = run.v;
        int32_t r = run.from;
        for (; run.to - r >= 4; r += 4, pixel += 4 * stride, v += 4 * step) {
            put(pixel, v);
            put(pixel + stride, v + step);
            put(pixel + 2 * stride, v + 2 * step);
            put(pixel + 3 * stride, v + 3 * step);
        }
        for (; r < run.to; ++r, pixel += stride, v += step) put(pixel, v);
    }
}

}  // namespace krello
