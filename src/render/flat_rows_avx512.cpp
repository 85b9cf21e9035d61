// Ceiling and floor rows eight at a time with AVX-512, giving exactly the scalar reference's bytes.
//
// Why the bytes are the same: every floating-point step is one the reference takes too, on the
// same operands in the same order, except that a run whose numerators allow it forms each
// quotient from the row's reciprocal with one product and two fused steps, which give the
// division's quotient exactly (flat_rows_x86.h says why). vdivpd, vsubpd, vmulpd and the fused
// steps round each of their eight lanes correctly, under the one rounding mode the program ever
// uses (to nearest; no instruction here carries a rounding of its own); no other step is fused
// or reordered. vcvttpd2dq
// truncates toward zero and gives 0x80000000 (INT32_MIN) for NaN and for every value outside the
// 32-bit range: the value truncToInt32 defines for those. The texel index, the 16-bit shade
// subtraction, the clamp and the ramp are integer operations and exact. The shade offsets come
// from the per-row table the reference reads too; a run of eight rows or more stores its texels
// first and shades them in place afterwards, the same steps on the same bytes. The processor is
// asked for AVX-512 before this is ever called (see render_path_x86.cpp).
#include "render/flat_rows.h"

#include <immintrin.h>

#include <cstring>

#include "render/flat_rows_x86.h"
#include "render/shade_avx512.h"
#include "render/x86_kernels.h"

namespace krello {

namespace {

// What stays the same along a run, in vector registers.
struct Run8 {
    __m512d heightRayX, heightRayY, xOffset, yOffset;
    __m128i ramp;
    const double* distance;
    const double* reciprocal;
    const int16_t* shade;
    const uint8_t* texture;
};

// a / d in each lane, from the rows' distances d and their reciprocals y: the division, or the
// same quotient without it (flat_rows_x86.h).
template <bool ByReciprocal>
KRELLO_AVX512 inline __m512d quotient(__m512d a, __m512d d, __m512d y) {
    if (!ByReciprocal) return _mm512_div_pd(a, d);
    const __m512d q0 = _mm512_mul_pd(a, y);
    return _mm512_fmadd_pd(_mm512_fnmadd_pd(d, q0, a), y, q0);
}

// Rows r..r+7 into pixel (row r) and the seven after it (a tile's column). With Masked, only
// the rows whose bits are set in keep are read and written: the others' lanes load zeros (a
// quotient of 0, an infinity or NaN, which converts to a texel index inside the texture) and
// are neither stored nor read past the tables' ends.
template <bool ByReciprocal, bool Masked = false>
KRELLO_AVX512 inline void drawEight(const Run8& k, int32_t r, uint8_t* pixel, __mmask8 keep = 0xFF) {
    const __m512d d = Masked ? _mm512_maskz_loadu_pd(keep, k.distance + r) : _mm512_loadu_pd(k.distance + r);
    const __m512d y = !ByReciprocal ? d
                      : Masked      ? _mm512_maskz_loadu_pd(keep, k.reciprocal + r)
                                    : _mm512_loadu_pd(k.reciprocal + r);
    // The zero-masked forms with every lane kept are the plain conversions.
    const __m256i a =
        _mm512_maskz_cvttpd_epi32(0xFF, _mm512_sub_pd(quotient<ByReciprocal>(k.heightRayX, d, y), k.xOffset));
    const __m256i b =
        _mm512_maskz_cvttpd_epi32(0xFF, _mm512_sub_pd(quotient<ByReciprocal>(k.heightRayY, d, y), k.yOffset));
    const __m256i low7 = _mm256_set1_epi32(127);
    const __m256i index = _mm256_or_si256(_mm256_slli_epi32(_mm256_and_si256(a, low7), 7), _mm256_and_si256(b, low7));
    // Eight texels by scalar loads (a gather is no faster here), gathered into one 64-bit word.
    alignas(32) uint32_t at[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(at), index);
    // Read back through memory: loads are cheaper here than the extractions a compiler prefers.
    const volatile uint32_t* indices = at;
    uint64_t texels = 0;
    for (int i = 0; i < 8; ++i) texels |= static_cast<uint64_t>(k.texture[indices[i]]) << (8 * i);
    __m128i v = _mm_cvtepu8_epi16(_mm_set_epi64x(0, static_cast<long long>(texels)));
    const __m128i shades = Masked ? _mm_maskz_loadu_epi16(keep, k.shade + r)
                                  : _mm_loadu_si128(reinterpret_cast<const __m128i*>(k.shade + r));
    v = _mm_sub_epi16(v, shades);
    v = _mm_min_epi16(_mm_max_epi16(v, _mm_setzero_si128()), _mm_set1_epi16(63));
    v = _mm_add_epi16(v, k.ramp);
    if (Masked) _mm_mask_storeu_epi8(pixel, keep, _mm_packus_epi16(v, v));
    else _mm_storel_epi64(reinterpret_cast<__m128i*>(pixel), _mm_packus_epi16(v, v));
}

// Rows r..r+7's texels, unshaded, into pixel (row r) and the seven after it: each fetched
// byte is stored where its pixel goes, with no shifting of bytes into a word.
template <bool ByReciprocal>
KRELLO_AVX512 inline void fetchEight(const Run8& k, int32_t r, uint8_t* pixel) {
    const __m512d d = _mm512_loadu_pd(k.distance + r);
    const __m512d y = ByReciprocal ? _mm512_loadu_pd(k.reciprocal + r) : d;
    const __m256i a = _mm512_maskz_cvttpd_epi32(0xFF, _mm512_sub_pd(quotient<ByReciprocal>(k.heightRayX, d, y), k.xOffset));
    const __m256i b = _mm512_maskz_cvttpd_epi32(0xFF, _mm512_sub_pd(quotient<ByReciprocal>(k.heightRayY, d, y), k.yOffset));
    const __m256i low7 = _mm256_set1_epi32(127);
    const __m256i index = _mm256_or_si256(_mm256_slli_epi32(_mm256_and_si256(a, low7), 7), _mm256_and_si256(b, low7));
    // Two indices a load (the texel index of row r + 2i in the low half, of r + 2i + 1 in the high).
    alignas(32) uint64_t at[4];
    _mm256_store_si256(reinterpret_cast<__m256i*>(at), index);
    const volatile uint64_t* pairs = at;
    for (int i = 0; i < 4; ++i) {
        const uint64_t pair = pairs[i];
        pixel[2 * i] = k.texture[static_cast<uint32_t>(pair)];
        pixel[2 * i + 1] = k.texture[pair >> 32];
    }
}

// Shades rows from..to-1 in place, their texels already stored: texel - shade wrapping in 16
// bits, clamped to 0..63, plus the ramp, kept to 8 bits, 32 rows a step. The first load of each
// step reads bytes just stored one by one, which waits for those stores once per step instead of
// once per eight rows.
KRELLO_AVX512 inline void shadeRun(const Run8& k, int32_t from, int32_t to, uint8_t* pixel) {
    const __m512i ramp = _mm512_maskz_broadcastw_epi16(~__mmask32{0}, k.ramp);
    for (int32_t r = from; r < to; r += 32, pixel += 32) {
        const __mmask32 keep = to - r >= 32 ? ~__mmask32{0} : (__mmask32{1} << (to - r)) - 1;
        const __m512i texels = _mm512_cvtepu8_epi16(_mm256_maskz_loadu_epi8(keep, pixel));
        const __m512i shades = _mm512_maskz_loadu_epi16(keep, k.shade + r);
        const __m512i v = x86::shadeLanes(texels, shades, ramp);
        _mm256_mask_storeu_epi8(pixel, keep, _mm512_maskz_cvtepi16_epi8(~__mmask32{0}, v));
    }
}

template <bool ByReciprocal>
KRELLO_AVX512 inline void drawRun(const Run8& k, const FlatRun& run) {
    const int32_t to = run.to;
    uint8_t* pixel = run.pixel;
    int32_t r = run.from;
    if (to - r < 8) {
        drawEight<ByReciprocal, true>(k, r, pixel, static_cast<__mmask8>((1u << (to - r)) - 1));
        return;
    }
    for (; to - r >= 8; r += 8, pixel += 8) fetchEight<ByReciprocal>(k, r, pixel);
    // The last one to seven rows: the last eight rows again, since a row's texel depends on the
    // row alone, those fetched twice get the same byte twice.
    if (r < to) fetchEight<ByReciprocal>(k, to - 8, pixel - (r - (to - 8)));
    shadeRun(k, run.from, to, run.pixel);
}

}  // namespace

KRELLO_AVX512 void drawFlatRunAvx512(const FlatRun& run) {
    if (run.stride != 1) {
        drawFlatRunAvx2(run);
        return;
    }
    const Run8 k{_mm512_set1_pd(run.heightRayX), _mm512_set1_pd(run.heightRayY), _mm512_set1_pd(run.xOffset),
                 _mm512_set1_pd(run.yOffset),    _mm_set1_epi16(run.ramp), run.distance, run.reciprocal, run.shade,
                 run.texture};
    if (x86::quotientsByReciprocal(run)) drawRun<true>(k, run);
    else drawRun<false>(k, run);
}

}  // namespace krello
