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

#include "render/sprites.h"
#include "render/x86_kernels.h"

namespace krello {
namespace {

// Under this many rows, putting the texture column into registers costs more than it saves.
constexpr int MIN_ROWS = 12;

#define KRELLO_AVX2 __attribute__((target("avx2")))

// The 128 texels of a texture column as eight 16-byte tables, each in both halves of a register
// and each the exclusive or of its own 16 texels with the previous table's (see lookUp).
struct ColumnTables {
    __m256i table[8];
};

KRELLO_AVX2 inline ColumnTables columnTables(const uint8_t* texels) {
    ColumnTables s;
    __m256i previous = _mm256_setzero_si256();
    for (int c = 0; c < 4; ++c) {
        const __m256i t = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(texels + 32 * c));
        const __m256i even = _mm256_permute2x128_si256(t, t, 0x00);  // texels 32c..32c+15, twice
        const __m256i odd = _mm256_permute2x128_si256(t, t, 0x11);   // 32c+16..32c+31, twice
        s.table[2 * c] = _mm256_xor_si256(even, previous);
        s.table[2 * c + 1] = _mm256_xor_si256(odd, even);
        previous = odd;
    }
    return s;
}

// The texels of 32 texture rows (bytes 0..127). A byte shuffle reads entry i & 15 of a table,
// or gives 0 where bit 7 of i is set. Shuffling table j with row - 16j gives 0 for rows below
// 16j and entry row & 15 otherwise; the exclusive or of tables 0..j at a place is the texel of
// table j's 16 rows, and tables past the row's give 0.
KRELLO_AVX2 inline __m256i lookUp(const ColumnTables& s, __m256i rows) {
    const __m256i sixteen = _mm256_set1_epi8(16);
    __m256i texels = _mm256_shuffle_epi8(s.table[0], rows);
    for (int j = 1; j < 8; ++j) {
        rows = _mm256_sub_epi8(rows, sixteen);
        texels = _mm256_xor_si256(texels, _mm256_shuffle_epi8(s.table[j], rows));
    }
    return texels;
}

}  // namespace

KRELLO_AVX2 bool drawSpriteRowsAvx2(RenderState& rs, const SpriteRows& rows) {
    if (rows.bottom - rows.top < MIN_ROWS || !rs.tileColumn) return drawSpriteRowsScalar(rs, rows);
    const uint8_t* texels = rs.scratch.textureColumns.of(rows.texture, rows.slot) + rows.column * TEXTURE_SIDE;
    const ColumnTables tables = columnTables(texels);
    // Rows 0..7 and 16..23 of a step in one register's 16-bit lanes, 8..15 and 24..31 in the
    // other's, so that packing the two keeps the rows in order.
    const __m256i step = _mm256_set1_epi16(static_cast<int16_t>(rows.vStep));
    const __m256i first = _mm256_mullo_epi16(step, _mm256_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7, 16, 17, 18, 19, 20, 21, 22, 23));
    const __m256i second = _mm256_mullo_epi16(step, _mm256_setr_epi16(8, 9, 10, 11, 12, 13, 14, 15, 24, 25, 26, 27, 28, 29, 30, 31));
    const __m256i lanes = _mm256_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21,
                                           22, 23, 24, 25, 26, 27, 28, 29, 30, 31);
    const __m256i ramp = _mm256_set1_epi8(static_cast<char>(rows.ramp));
    const __m256i zero = _mm256_setzero_si256();
    const uint16_t stepOf32 = static_cast<uint16_t>(rows.vStep * 32u);
    __m256i seen = zero;  // the texels drawn, or-ed together
    uint16_t v = rows.v;
    uint8_t* pixel = rs.tileColumn + rows.top;
    // The tile's column has room beyond row 199, so a step past the picture's end stays inside.
    for (int left = rows.bottom - rows.top; left > 0; left -= 32, pixel += 32, v = static_cast<uint16_t>(v + stepOf32)) {
        const __m256i start = _mm256_set1_epi16(static_cast<int16_t>(v));
        const __m256i a = _mm256_srli_epi16(_mm256_add_epi16(start, first), 9);
        const __m256i b = _mm256_srli_epi16(_mm256_add_epi16(start, second), 9);
        __m256i texel = lookUp(tables, _mm256_packus_epi16(a, b));
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
