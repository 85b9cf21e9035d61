// Billboard rows 32 at a time with AVX2, giving exactly the scalar reference's bytes.
//
// Why the bytes are the same: a billboard pixel is the texel of texture row v >> 9 in the
// picture's texture column plus the ramp, or the pixel beneath where that texel is 0; v steps by
// vStep modulo 2^16. Here the column's 128 texels (side by side, texture_columns.h) are put into
// registers as they stand, the accumulators of 32 rows are v + k * vStep in 16-bit lanes, which
// wrap as the reference's do, and their top 7 bits pick the texel; the ramp is added in 8-bit
// lanes, which wrap as the reference's byte does, and a texel of 0 keeps the byte beneath. All
// integer steps: the bytes cannot differ. The processor is asked for AVX2 before this is called.
#include <immintrin.h>

#include "render/column_lookup_avx2.h"
#include "render/sprites.h"
#include "render/x86_kernels.h"

namespace krello {
namespace {

// Under this many rows, putting the texture column into registers costs more than it saves.
constexpr int MIN_ROWS = 12;

}  // namespace

KRELLO_AVX2 bool drawSpriteRowsAvx2(RenderState& rs, const SpriteRows& rows) {
    if (rows.bottom - rows.top < MIN_ROWS || !rs.tileColumn) return drawSpriteRowsScalar(rs, rows);
    const uint8_t* texels = rs.scratch.textureColumns.of(rows.texture, rows.slot, sameTextureBytesAvx2) + rows.column * TEXTURE_SIDE;
    __m256i blocks[4];
    for (int c = 0; c < 4; ++c) blocks[c] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(texels + 32 * c));
    const ColumnTables tables = columnTables(blocks);
    const TextureRows textureRows(rows.vStep);
    const __m256i lanes = laneNumbers();
    const __m256i ramp = _mm256_set1_epi8(static_cast<char>(rows.ramp));
    const __m256i zero = _mm256_setzero_si256();
    __m256i seen = zero;  // the texels drawn, or-ed together
    uint16_t v = rows.v;
    uint8_t* pixel = rs.tileColumn + rows.top;
    // The tile's column has room beyond row 199, so a step past the picture's end stays inside.
    for (int left = rows.bottom - rows.top; left > 0; left -= 32, pixel += 32, v = static_cast<uint16_t>(v + textureRows.stepOf32)) {
        __m256i texel = lookUp(tables, textureRows.at(v));
        // Rows past the picture's end count as holes.
        if (left < 32) texel = _mm256_and_si256(texel, _mm256_cmpgt_epi8(_mm256_set1_epi8(static_cast<char>(left)), lanes));
        seen = _mm256_or_si256(seen, texel);
        const __m256i beneath = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixel));
        const __m256i hole = _mm256_cmpeq_epi8(texel, zero);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixel), _mm256_blendv_epi8(_mm256_add_epi8(texel, ramp), beneath, hole));
    }
    return !_mm256_testz_si256(seen, seen);
}

}  // namespace krello
