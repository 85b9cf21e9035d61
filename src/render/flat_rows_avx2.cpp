// Ceiling and floor rows four at a time with AVX2, giving exactly the scalar reference's bytes.
//
// Why the bytes are the same: every floating-point step is one the reference takes too, on the
// same operands in the same order. vdivpd and vsubpd round each of their four lanes correctly,
// as divsd and subsd do, under the one rounding mode the program ever uses (to nearest); no step
// is fused (no FMA is used) or reordered. vcvttpd2dq truncates toward zero and gives 0x80000000
// (INT32_MIN) for NaN and for every value outside the 32-bit range: the value truncToInt32
// defines for those, so an overflowing coordinate reads the same texel. The texel index, the
// 16-bit shade subtraction, the clamp and the ramp are integer operations and exact. The shade
// offsets come from the per-row table the reference reads too, so no integer division happens
// here. The processor is asked for AVX2 before this is ever called (see render_path.cpp).
#include "render/flat_rows.h"

#ifdef KRELLO_X86_PATHS

#include <immintrin.h>

#include "render/flat_rows_x86.h"

namespace krello {

__attribute__((target("avx2"))) void drawFlatRunAvx2(const FlatRun& run) {
    const __m256d heightRayX = _mm256_set1_pd(run.heightRayX);
    const __m256d heightRayY = _mm256_set1_pd(run.heightRayY);
    const __m256d xOffset = _mm256_set1_pd(run.xOffset);
    const __m256d yOffset = _mm256_set1_pd(run.yOffset);
    const __m128i ramp = _mm_set1_epi16(run.ramp);
    const double* distance = run.distance;
    const int16_t* shade = run.shade;
    const uint8_t* texture = run.texture;
    uint8_t* pixel = run.pixel;
    int32_t r = run.from;
    for (; run.to - r >= 4; r += 4, pixel += 4 * SCREEN_WIDTH) {
        const __m256d d = _mm256_loadu_pd(distance + r);
        const __m128i a = _mm256_cvttpd_epi32(_mm256_sub_pd(_mm256_div_pd(heightRayX, d), xOffset));
        const __m128i b = _mm256_cvttpd_epi32(_mm256_sub_pd(_mm256_div_pd(heightRayY, d), yOffset));
        const __m128i shades = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(shade + r));
        x86::shadeAndStore4(texture, x86::texelIndex4(a, b), shades, ramp, pixel);
    }
    if (r < run.to) drawFlatRunScalar(x86::restOfRun(run, r, pixel));
}

}  // namespace krello

#endif
