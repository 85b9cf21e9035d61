// Wall rows 64 at a time with AVX-512, giving exactly the scalar reference's bytes.
//
// Why the bytes are the same: a wall pixel is shaded(texel of the texture row v >> 9 in the
// wall's texture column) + ramp, and v steps by vStep modulo 2^16. Here the column's 128 texels
// (side by side, texture_columns.h) are shaded once: texel - shade in 16-bit lanes wrapping as
// shadeTexel's 16-bit subtraction does, clamped to 0..63, the ramp added, all exact integer
// steps. The accumulators of 32 rows are v + k * vStep in 16-bit lanes, which wrap modulo 2^16
// as the reference's does, and their top 7 bits pick one of the 128 shaded texels with one
// two-register byte permute. When no run is longer than 32 rows, the permute picks the raw
// texels instead and only those are shaded, by the same steps: shading a texel does not depend
// on where it came from. Everything is integer arithmetic: the bytes cannot differ. The
// processor is asked for AVX-512 with VBMI before this is ever called.
#include <immintrin.h>

#include "render/wall_rows.h"
#include "render/shade_avx512.h"
#include "render/x86_kernels.h"

namespace krello {
namespace {

// Byte 2i of a and b taken together: the low bytes of 64 16-bit lanes, in order.
KRELLO_AVX512 inline __m512i lowBytes(__m512i a, __m512i b) {
    const __m512i even = _mm512_set_epi8(126, 124, 122, 120, 118, 116, 114, 112, 110, 108, 106, 104, 102, 100, 98, 96,
                                         94, 92, 90, 88, 86, 84, 82, 80, 78, 76, 74, 72, 70, 68, 66, 64, 62, 60, 58,
                                         56, 54, 52, 50, 48, 46, 44, 42, 40, 38, 36, 34, 32, 30, 28, 26, 24, 22, 20,
                                         18, 16, 14, 12, 10, 8, 6, 4, 2, 0);
    return _mm512_permutex2var_epi8(a, even, b);
}

// 64 texels shaded: texel - shade wrapping in 16 bits, clamped to 0..63, plus the ramp.
KRELLO_AVX512 inline __m512i shade64(const uint8_t* texels, __m512i shade, __m512i ramp) {
    __m512i low = _mm512_cvtepu8_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(texels)));
    __m512i high = _mm512_cvtepu8_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(texels + 32)));
    low = x86::shadeLanes(low, shade, ramp);
    high = x86::shadeLanes(high, shade, ramp);
    return lowBytes(low, high);
}

// Runs of at most 32 rows each: their raw texels looked up from the texture column first, and
// only those 32 shaded, instead of the column's 128.
KRELLO_AVX512 void drawShortRuns(uint8_t* tileColumn, const uint8_t* texels, const WallLook& look, const WallRun* runs,
                                 int count) {
    const __m512i raw0 = _mm512_loadu_si512(texels);       // texture rows 0..63
    const __m512i raw1 = _mm512_loadu_si512(texels + 64);  // 64..127
    const __m512i shade = _mm512_set1_epi16(look.shadeOffset);
    const __m512i ramp = _mm512_set1_epi16(look.ramp);
    const __m512i lowByte = _mm512_set1_epi16(0xFF);
    const __m512i iota = _mm512_set_epi16(31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13,
                                          12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
    const __m512i first = _mm512_mullo_epi16(_mm512_set1_epi16(static_cast<int16_t>(look.vStep)), iota);
    for (int i = 0; i < count; ++i) {
        const WallRun& run = runs[i];
        if (run.from >= run.to) continue;
        const __m512i rowsOf = _mm512_srli_epi16(_mm512_add_epi16(_mm512_set1_epi16(static_cast<int16_t>(run.v)), first), 9);
        // Each 16-bit lane's low byte is its texture row and its high byte 0, so the byte lookup
        // leaves the row's texel in the lane's low byte, and row 0's in its high byte, cleared.
        __m512i v = _mm512_and_si512(_mm512_permutex2var_epi8(raw0, rowsOf, raw1), lowByte);
        v = x86::shadeLanes(v, shade, ramp);
        const __mmask32 mine = (__mmask32{1} << (run.to - run.from - 1) << 1) - 1;
        _mm256_mask_storeu_epi8(tileColumn + run.from, mine, _mm512_maskz_cvtepi16_epi8(~__mmask32{0}, v));
    }
}

}  // namespace

KRELLO_AVX512 void drawWallRunsAvx512(RenderState& rs, const WallLook& look, const WallRun* runs, int count) {
    int rows = 0;
    int longest = 0;
    for (int i = 0; i < count; ++i) {
        const int n = runs[i].to > runs[i].from ? runs[i].to - runs[i].from : 0;
        rows += n;
        longest = n > longest ? n : longest;
    }
    if (rows == 0 || !rs.tileColumn) {
        drawWallRunsScalar(rs, look, runs, count);
        return;
    }
    const uint8_t* texels = rs.scratch.textureColumns.of(look.texture, look.slot, sameTextureBytesAvx2) + look.texU * TEXTURE_SIDE;
    if (longest <= 32) {
        drawShortRuns(rs.tileColumn, texels, look, runs, count);
        return;
    }
    const __m512i shade = _mm512_set1_epi16(look.shadeOffset);
    const __m512i ramp = _mm512_set1_epi16(look.ramp);
    const __m512i rows0 = shade64(texels, shade, ramp);       // texture rows 0..63
    const __m512i rows1 = shade64(texels + 64, shade, ramp);  // 64..127
    const __m512i step = _mm512_set1_epi16(static_cast<int16_t>(look.vStep));
    const __m512i iota = _mm512_set_epi16(31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13,
                                          12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
    const __m512i first = _mm512_mullo_epi16(step, iota);                                        // rows 0..31
    const __m512i second = _mm512_add_epi16(first, _mm512_slli_epi16(step, 5));                  // rows 32..63
    const uint16_t stepOf64 = static_cast<uint16_t>(look.vStep * 64u);
    for (int i = 0; i < count; ++i) {
        const WallRun& run = runs[i];
        uint16_t v = run.v;
        uint8_t* pixel = rs.tileColumn + run.from;
        for (int left = run.to - run.from; left > 0; left -= 64, pixel += 64, v = static_cast<uint16_t>(v + stepOf64)) {
            const __m512i start = _mm512_set1_epi16(static_cast<int16_t>(v));
            const __m512i a = _mm512_srli_epi16(_mm512_add_epi16(start, first), 9);
            const __m512i b = _mm512_srli_epi16(_mm512_add_epi16(start, second), 9);
            // Bit 6 of a texture row picks rows1, bits 0..5 the byte.
            const __m512i out = _mm512_permutex2var_epi8(rows0, lowBytes(a, b), rows1);
            const __mmask64 mine = left >= 64 ? ~__mmask64{0} : (__mmask64{1} << left) - 1;
            _mm512_mask_storeu_epi8(pixel, mine, out);
        }
    }
}

}  // namespace krello
