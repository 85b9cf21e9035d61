// Wall rows 16 at a time with WebAssembly SIMD (the browser's build), giving exactly the scalar
// reference's bytes.
//
// Why the bytes are the same: a wall pixel is shaded(texel of the texture row v >> 9 in the
// wall's texture column) + ramp, and v steps by vStep modulo 2^16. Here the column's 128 texels
// (side by side, texture_columns.h) are shaded once: texel - shade in 16-bit lanes wrapping as
// shadeTexel's 16-bit subtraction does, clamped to 0..63, narrowed (exactly, being 0..63) and the
// ramp added in 8-bit lanes, which wrap as the reference's byte does. The accumulators of 16 rows
// are v + k * vStep in 16-bit lanes, which wrap modulo 2^16 as the reference's does, and their
// top 7 bits pick the shaded texel. Everything is integer arithmetic: the bytes cannot differ.
#include "render/column_lookup_simd128.h"
#include "render/simd128_kernels.h"
#include "render/wall_rows.h"

namespace krello {
namespace {

// Under this many rows in a column, shading the whole texture column costs more than it saves.
constexpr int MIN_ROWS = 12;

// The 128 shaded pixels of a texture column, as lookUp128's tables.
inline ColumnTables128 shadeColumn(const uint8_t* texels, int16_t shadeOffset, uint8_t ramp) {
    const v128_t shade = wasm_i16x8_splat(shadeOffset);
    const v128_t ramps = wasm_i8x16_splat(static_cast<int8_t>(ramp));
    const v128_t zero = wasm_i16x8_splat(0);
    const v128_t top = wasm_i16x8_splat(63);
    ColumnTables128 s;
    for (int j = 0; j < 8; ++j) {
        const v128_t t = wasm_v128_load(texels + 16 * j);
        v128_t low = wasm_i16x8_sub(wasm_u16x8_extend_low_u8x16(t), shade);
        v128_t high = wasm_i16x8_sub(wasm_u16x8_extend_high_u8x16(t), shade);
        low = wasm_i16x8_min(wasm_i16x8_max(low, zero), top);
        high = wasm_i16x8_min(wasm_i16x8_max(high, zero), top);
        s.table[j] = wasm_i8x16_add(wasm_u8x16_narrow_i16x8(low, high), ramps);
    }
    return s;
}

}  // namespace

void drawWallRunsSimd128(RenderState& rs, const WallLook& look, const WallRun* runs, int count) {
    int rows = 0;
    for (int i = 0; i < count; ++i) rows += runs[i].to > runs[i].from ? runs[i].to - runs[i].from : 0;
    if (rows < MIN_ROWS || !rs.tileColumn) {
        drawWallRunsScalar(rs, look, runs, count);
        return;
    }
    const uint8_t* texels = rs.scratch.textureColumns.of(look.texture, look.slot) + look.texU * TEXTURE_SIDE;
    const ColumnTables128 shaded = shadeColumn(texels, look.shadeOffset, look.ramp);
    const TextureRows128 textureRows(look.vStep);
    for (int i = 0; i < count; ++i) {
        const WallRun& run = runs[i];
        uint16_t v = run.v;
        uint8_t* pixel = rs.tileColumn + run.from;
        for (int left = run.to - run.from; left > 0; left -= 16, pixel += 16, v = static_cast<uint16_t>(v + textureRows.stepOf16)) {
            const v128_t out = lookUp128(shaded, textureRows.at(v));
            if (left >= 16) {
                wasm_v128_store(pixel, out);
            } else {
                // The rows past the run keep their bytes: the tile's column has room beyond row 199.
                const v128_t keep = wasm_v128_load(pixel);
                wasm_v128_store(pixel, wasm_v128_bitselect(out, keep, lanesBelow(left)));
            }
        }
    }
}

}  // namespace krello
