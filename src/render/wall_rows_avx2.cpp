// Wall rows 32 at a time with AVX2, giving exactly the scalar reference's bytes.
//
// Why the bytes are the same: a wall pixel is shaded(texel of the texture row v >> 9 in the
// wall's texture column) + ramp, and v steps by vStep modulo 2^16. Here the column's 128 texels
// (side by side, texture_columns.h) are shaded once: texel - shade in 16-bit lanes wrapping as
// shadeTexel's 16-bit subtraction does, clamped to 0..63, the ramp added, all exact integer
// steps. The accumulators of 16 rows are v + k * vStep in 16-bit lanes, which wrap modulo 2^16
// as the reference's does, and their top 7 bits pick the shaded texel. Everything is integer
// arithmetic: the bytes cannot differ. The processor is asked for AVX2 before this is ever called.
#include <immintrin.h>

#include "render/wall_rows.h"
#include "render/x86_kernels.h"

namespace krello {
namespace {

// Under this many rows in a column, shading the whole texture column costs more than it saves.
constexpr int MIN_ROWS = 12;

#define KRELLO_AVX2 __attribute__((target("avx2")))

// The 128 shaded pixels of a texture column as eight 16-byte tables, each in both halves of a
// register and each the exclusive or of its own 16 pixels with the previous table's, so that a
// pixel of table j is the exclusive or of tables 0..j at its place (see lookUp).
struct ShadedColumn {
    __m256i table[8];
};

KRELLO_AVX2 inline ShadedColumn shadeColumn(const uint8_t* texels, int16_t shadeOffset, uint8_t ramp) {
    const __m256i shade = _mm256_set1_epi16(shadeOffset);
    const __m256i ramps = _mm256_set1_epi16(ramp);
    const __m256i zero = _mm256_setzero_si256();
    const __m256i top = _mm256_set1_epi16(63);
    ShadedColumn s;
    __m256i previous = zero;
    for (int c = 0; c < 4; ++c) {
        const __m256i t = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(texels + 32 * c));
        // Within each 128-bit half: bytes 0..7 and 8..15 widened, shaded and packed back in place.
        __m256i low = _mm256_sub_epi16(_mm256_unpacklo_epi8(t, zero), shade);
        __m256i high = _mm256_sub_epi16(_mm256_unpackhi_epi8(t, zero), shade);
        low = _mm256_add_epi16(_mm256_min_epi16(_mm256_max_epi16(low, zero), top), ramps);
        high = _mm256_add_epi16(_mm256_min_epi16(_mm256_max_epi16(high, zero), top), ramps);
        const __m256i shaded = _mm256_packus_epi16(low, high);  // pixels 32c..32c+31
        const __m256i even = _mm256_permute2x128_si256(shaded, shaded, 0x00);  // 32c..32c+15, twice
        const __m256i odd = _mm256_permute2x128_si256(shaded, shaded, 0x11);   // 32c+16..32c+31, twice
        s.table[2 * c] = _mm256_xor_si256(even, previous);
        s.table[2 * c + 1] = _mm256_xor_si256(odd, even);
        previous = odd;
    }
    return s;
}

// The shaded pixels of 32 texture rows (bytes 0..127). A byte shuffle reads entry i & 15 of a
// table, or gives 0 where bit 7 of i is set. Shuffling table j with row - 16j gives 0 for rows
// below 16j (the difference is negative) and entry row & 15 otherwise; the exclusive or of
// tables 0..j at a place is the pixel of table j's 16 rows, and tables past the row's give 0.
KRELLO_AVX2 inline __m256i lookUp(const ShadedColumn& s, __m256i rows) {
    const __m256i sixteen = _mm256_set1_epi8(16);
    __m256i pixels = _mm256_shuffle_epi8(s.table[0], rows);
    for (int j = 1; j < 8; ++j) {
        rows = _mm256_sub_epi8(rows, sixteen);
        pixels = _mm256_xor_si256(pixels, _mm256_shuffle_epi8(s.table[j], rows));
    }
    return pixels;
}

}  // namespace

KRELLO_AVX2 void drawWallRunsAvx2(RenderState& rs, const WallLook& look, const WallRun* runs, int count) {
    int rows = 0;
    for (int i = 0; i < count; ++i) rows += runs[i].to > runs[i].from ? runs[i].to - runs[i].from : 0;
    if (rows < MIN_ROWS || !rs.tileColumn) {
        drawWallRunsScalar(rs, look, runs, count);
        return;
    }
    const uint8_t* texels = rs.scratch.textureColumns.of(look.texture, look.slot) + look.texU * TEXTURE_SIDE;
    const ShadedColumn shaded = shadeColumn(texels, look.shadeOffset, look.ramp);
    // Rows 0..7 and 16..23 of a step in one register's 16-bit lanes, 8..15 and 24..31 in the
    // other's, so that packing the two keeps the rows in order.
    const __m256i step = _mm256_set1_epi16(static_cast<int16_t>(look.vStep));
    const __m256i first = _mm256_mullo_epi16(step, _mm256_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7, 16, 17, 18, 19, 20, 21, 22, 23));
    const __m256i second = _mm256_mullo_epi16(step, _mm256_setr_epi16(8, 9, 10, 11, 12, 13, 14, 15, 24, 25, 26, 27, 28, 29, 30, 31));
    const __m256i lanes = _mm256_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21,
                                           22, 23, 24, 25, 26, 27, 28, 29, 30, 31);
    const uint16_t stepOf32 = static_cast<uint16_t>(look.vStep * 32u);
    for (int i = 0; i < count; ++i) {
        const WallRun& run = runs[i];
        uint16_t v = run.v;
        uint8_t* pixel = rs.tileColumn + run.from;
        for (int left = run.to - run.from; left > 0; left -= 32, pixel += 32, v = static_cast<uint16_t>(v + stepOf32)) {
            const __m256i start = _mm256_set1_epi16(static_cast<int16_t>(v));
            const __m256i a = _mm256_srli_epi16(_mm256_add_epi16(start, first), 9);
            const __m256i b = _mm256_srli_epi16(_mm256_add_epi16(start, second), 9);
            const __m256i out = lookUp(shaded, _mm256_packus_epi16(a, b));
            if (left >= 32) {
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixel), out);
            } else {
                // The rows past the run keep their bytes: the tile's column has room beyond row 199.
                const __m256i keep = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixel));
                const __m256i mine = _mm256_cmpgt_epi8(_mm256_set1_epi8(static_cast<char>(left)), lanes);
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixel), _mm256_blendv_epi8(keep, out, mine));
            }
        }
    }
}

}  // namespace krello
