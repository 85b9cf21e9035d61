// Ceiling and floor rows four at a time with AVX2, giving exactly the scalar reference's bytes.
//
// Why the bytes are the same: every floating-point step is one the reference takes too, on the
// same operands in the same order, except that a run whose numerators allow it forms each
// quotient from the row's reciprocal with one product and two fused steps, which give the
// division's quotient exactly (flat_rows_x86.h says why). vdivpd, vsubpd, vmulpd and the fused
// steps round each of their four lanes correctly, under the one rounding mode the program ever
// uses (to nearest); no other step is fused or reordered. vcvttpd2dq truncates toward zero and gives 0x80000000
// (INT32_MIN) for NaN and for every value outside the 32-bit range: the value truncToInt32
// defines for those, so an overflowing coordinate reads the same texel. The texel index, the
// 16-bit shade subtraction, the clamp and the ramp are integer operations and exact. The shade
// offsets come from the per-row table the reference reads too, so no integer division happens
// here. The processor is asked for AVX2 before this is ever called (see render_path.cpp).
#include "render/flat_rows.h"

#include <immintrin.h>

#include "render/flat_rows_x86.h"
#include "render/x86_kernels.h"

namespace krello {

namespace {

#define KRELLO_AVX2_FMA __attribute__((target("avx2,fma"), always_inline)) inline

// What stays the same along a run, in vector registers.
struct Run4 {
    __m256d heightRayX, heightRayY, xOffset, yOffset;
    __m128i ramp;
    const double* distance;
    const double* reciprocal;
    const int16_t* shade;
    const uint8_t* texture;
};

// a / d in each lane, from the rows' distances d and their reciprocals y: the division, or the
// same quotient without it (flat_rows_x86.h).
template <bool ByReciprocal>
KRELLO_AVX2_FMA __m256d quotient(__m256d a, __m256d d, __m256d y) {
    if (!ByReciprocal) return _mm256_div_pd(a, d);
    const __m256d q0 = _mm256_mul_pd(a, y);
    return _mm256_fmadd_pd(_mm256_fnmadd_pd(d, q0, a), y, q0);
}

// Rows r..r+3 into pixel (row r) and the three after it (a tile's column).
template <bool ByReciprocal>
KRELLO_AVX2_FMA void drawFour(const Run4& k, int32_t r, uint8_t* pixel) {
    const __m256d d = _mm256_loadu_pd(k.distance + r);
    const __m256d y = ByReciprocal ? _mm256_loadu_pd(k.reciprocal + r) : d;
    const __m128i a = _mm256_cvttpd_epi32(_mm256_sub_pd(quotient<ByReciprocal>(k.heightRayX, d, y), k.xOffset));
    const __m128i b = _mm256_cvttpd_epi32(_mm256_sub_pd(quotient<ByReciprocal>(k.heightRayY, d, y), k.yOffset));
    const __m128i shades = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(k.shade + r));
    x86::shadeAndStore4(k.texture, x86::texelIndex4(a, b), shades, k.ramp, pixel);
}

template <bool ByReciprocal>
KRELLO_AVX2_FMA void drawRun(const Run4& k, const FlatRun& run) {
    const int32_t to = run.to;
    uint8_t* pixel = run.pixel;
    int32_t r = run.from;
    for (; to - r >= 4; r += 4, pixel += 4) drawFour<ByReciprocal>(k, r, pixel);
    // The last one to three rows: the last four rows again, since a row's bytes depend on the
    // row alone, those drawn twice get the same bytes twice.
    if (r < to) drawFour<ByReciprocal>(k, to - 4, pixel - (r - (to - 4)));
}

}  // namespace

__attribute__((target("avx2,fma"))) void drawFlatRunAvx2(const FlatRun& run) {
    if (run.to - run.from < 4 || run.stride != 1) {
        drawFlatRunScalar(run);
        return;
    }
    const Run4 k{_mm256_set1_pd(run.heightRayX), _mm256_set1_pd(run.heightRayY), _mm256_set1_pd(run.xOffset),
                 _mm256_set1_pd(run.yOffset),    _mm_set1_epi16(run.ramp),        run.distance,
                 run.reciprocal,                 run.shade,                       run.texture};
    if (x86::quotientsByReciprocal(run)) drawRun<true>(k, run);
    else drawRun<false>(k, run);
}

}  // namespace krello
