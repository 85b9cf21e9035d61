// Ceiling and floor rows four at a time with SSE2, giving exactly the scalar reference's bytes.
//
// Why the bytes are the same: every floating-point step is one the reference takes too, on the
// same operands in the same order. divpd and subpd round each lane correctly, as divsd and subsd
// do, under the one rounding mode the program ever uses (to nearest); no step is fused or
// reordered. cvttpd2dq truncates toward zero and gives 0x80000000 (INT32_MIN) for NaN and for
// every value outside the 32-bit range: the value truncToInt32 defines for those, so an
// overflowing coordinate reads the same texel. The texel index, the 16-bit shade subtraction,
// the clamp and the ramp are integer operations and exact. The shade offsets come from the
// per-row table the reference reads too, so no integer division happens here.
#include "render/flat_rows.h"

#include <emmintrin.h>

#include "render/flat_rows_x86.h"
#include "render/x86_kernels.h"

namespace krello {

namespace {

// What stays the same along a run, in vector registers.
struct Run4 {
    __m128d heightRayX, heightRayY, xOffset, yOffset;
    __m128i ramp;
    const double* distance;
    const int16_t* shade;
    const uint8_t* texture;
};

// One coordinate of rows r..r+3: trunc(heightRay / distance - offset) in four 32-bit lanes.
__attribute__((target("sse2"), always_inline)) inline __m128i coordinate4(__m128d heightRay, __m128d offset,
                                                                          __m128d d01, __m128d d23) {
    return _mm_unpacklo_epi64(_mm_cvttpd_epi32(_mm_sub_pd(_mm_div_pd(heightRay, d01), offset)),
                              _mm_cvttpd_epi32(_mm_sub_pd(_mm_div_pd(heightRay, d23), offset)));
}

// Rows r..r+3 into pixel (row r) and the three after it (a tile's column).
__attribute__((target("sse2"), always_inline)) inline void drawFour(const Run4& k, int32_t r, uint8_t* pixel) {
    const __m128d d01 = _mm_loadu_pd(k.distance + r);
    const __m128d d23 = _mm_loadu_pd(k.distance + r + 2);
    const __m128i a = coordinate4(k.heightRayX, k.xOffset, d01, d23);
    const __m128i b = coordinate4(k.heightRayY, k.yOffset, d01, d23);
    const __m128i shades = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(k.shade + r));
    x86::shadeAndStore4(k.texture, x86::texelIndex4(a, b), shades, k.ramp, pixel);
}

}  // namespace

__attribute__((target("sse2"))) void drawFlatRunSse2(const FlatRun& run) {
    if (run.to - run.from < 4 || run.stride != 1) {
        drawFlatRunScalar(run);
        return;
    }
    const Run4 k{_mm_set1_pd(run.heightRayX), _mm_set1_pd(run.heightRayY), _mm_set1_pd(run.xOffset),
                 _mm_set1_pd(run.yOffset),    _mm_set1_epi16(run.ramp),     run.distance,
                 run.shade,                   run.texture};
    const int32_t to = run.to;
    uint8_t* pixel = run.pixel;
    int32_t r = run.from;
    for (; to - r >= 4; r += 4, pixel += 4) drawFour(k, r, pixel);
    // The last one to three rows: the last four rows again, since a row's bytes depend on the
    // row alone, those drawn twice get the same bytes twice.
    if (r < to) drawFour(k, to - 4, pixel - (r - (to - 4)));
}

}  // namespace krello
