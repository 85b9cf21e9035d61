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

#include "render/column_lookup_avx2.h"
#include "render/wall_rows.h"
#include "render/x86_kernels.h"

namespace krello {
namespace {

// Under this many rows in a column, shading the whole texture column costs more than it saves.
constexpr int MIN_ROWS = 12;

// The 128 shaded pixels of a texture column, as lookUp's tables.
KRELLO_AVX2 inline ColumnTables shadeColumn(const uint8_t* texels, int16_t shadeOffset, uint8_t ramp) {
    const __m256i shade = _mm256_set1_epi16(shadeOffset);
    const __m256i ramps = _mm256_set1_epi16(ramp);
    const __m256i zero = _mm256_setzero_si256();
    const __m256i top = _mm256_set1_epi16(63);
    __m256i blocks[4];
    for (int c = 0; c < 4; ++c) {
        const __m256i t = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(texels + 32 * c));
        // Within each 128-bit half: bytes 0..7 and 8..15 widened, shaded and packed back in place.
        __m256i low = _mm256_sub_epi16(_mm256_unpacklo_epi8(t, zero), shade);
        __m256i high = _mm256_sub_epi16(_mm256_unpackhi_epi8(t, zero), shade);
        low = _mm256_add_epi16(_mm256_min_epi16(_mm256_max_epi16(low, zero), top), ramps);
        high = _mm256_add_epi16(_mm256_min_epi16(_mm256_max_epi16(high, zero), top), ramps);
        blocks[c] = _mm256_packus_epi16(low, high);  // pixels 32c..32c+31
    }
    return columnTables(blocks);
}

}  // namespace

KRELLO_AVX2 void drawWallRunsAvx2(RenderState& rs, const WallLook& look, const WallRun* runs, int count) {
    int rows = 0;
    for (int i = 0; i < count; ++i) rows += runs[i].to > runs[i].from ? runs[i].to - runs[i].from : 0;
    if (rows < MIN_ROWS || !rs.tileColumn) {
        drawWallRunsScalar(rs, look, runs, count);
        return;
    }
    const uint8_t* texels = rs.scratch.textureColumns.of(look.texture, look.slot, sameTextureBytesAvx2) + look.texU * TEXTURE_SIDE;
    const ColumnTables shaded = shadeColumn(texels, look.shadeOffset, look.ramp);
    const TextureRows textureRows(look.vStep);
    const __m256i lanes = laneNumbers();
    for (int i = 0; i < count; ++i) {
        const WallRun& run = runs[i];
        uint16_t v = run.v;
        uint8_t* pixel = rs.tileColumn + run.from;
        for (int left = run.to - run.from; left > 0; left -= 32, pixel += 32, v = static_cast<uint16_t>(v + textureRows.stepOf32)) {
            const __m256i out = lookUp(shaded, textureRows.at(v));
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
