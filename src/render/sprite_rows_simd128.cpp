// Billboard rows 16 at a time with WebAssembly SIMD (the browser's build), giving exactly the
// scalar reference's bytes.
//
// Why the bytes are the same: a billboard pixel is the texel of texture row v >> 9 in the
// picture's texture column plus the ramp, or the pixel beneath where that texel is 0; v steps by
// vStep modulo 2^16. Here the column's 128 texels (side by side, texture_columns.h) are put into
// registers as they stand, the accumulators of 16 rows are v + k * vStep in 16-bit lanes, which
// wrap as the reference's do, and their top 7 bits pick the texel; the ramp is added in 8-bit
// lanes, which wrap as the reference's byte does, and a texel of 0 keeps the byte beneath. All
// integer steps: the bytes cannot differ.
#include "render/column_lookup_simd128.h"
#include "render/simd128_kernels.h"

namespace krello {
namespace {

// Under this many rows, putting the texture column into registers costs more than it saves.
constexpr int MIN_ROWS = 12;

}  // namespace

bool drawSpriteRowsSimd128(RenderState& rs, const SpriteRows& rows) {
    if (rows.bottom - rows.top < MIN_ROWS || !rs.tileColumn) return drawSpriteRowsScalar(rs, rows);
    const uint8_t* texels = rs.scratch.textureColumns.of(rows.texture, rows.slot) + rows.column * TEXTURE_SIDE;
    const ColumnTables128 tables = columnTables128(texels);
    const TextureRows128 textureRows(rows.vStep);
    const v128_t ramp = wasm_i8x16_splat(static_cast<int8_t>(rows.ramp));
    const v128_t zero = wasm_i8x16_splat(0);
    v128_t seen = zero;  // the texels drawn, or-ed together
    uint16_t v = rows.v;
    uint8_t* pixel = rs.tileColumn + rows.top;
    // The tile's column has room beyond row 199, so a step past the picture's end stays inside.
    for (int left = rows.bottom - rows.top; left > 0; left -= 16, pixel += 16, v = static_cast<uint16_t>(v + textureRows.stepOf16)) {
        v128_t texel = lookUp128(tables, textureRows.at(v));
        // Rows past the picture's end count as holes.
        if (left < 16) texel = wasm_v128_and(texel, lanesBelow(left));
        seen = wasm_v128_or(seen, texel);
        const v128_t beneath = wasm_v128_load(pixel);
        const v128_t hole = wasm_i8x16_eq(texel, zero);
        wasm_v128_store(pixel, wasm_v128_bitselect(beneath, wasm_i8x16_add(texel, ramp), hole));
    }
    return wasm_v128_any_true(seen);
}

}  // namespace krello
