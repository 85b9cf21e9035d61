// The AVX-512 paths' shading of texels held in 16-bit lanes, shared by the flat and wall rows.
#pragma once

#include <immintrin.h>

#include "render/x86_kernels.h"

namespace krello::x86 {

// shadeTexel's steps in 32 lanes: the texel minus the shade, wrapping in 16 bits, clamped to
// 0..63, plus the ramp. The caller keeps each lane's low byte.
KRELLO_AVX512 inline __m512i shadeLanes(__m512i texels, __m512i shade, __m512i ramp) {
    const __m512i shaded = _mm512_max_epi16(_mm512_sub_epi16(texels, shade), _mm512_setzero_si512());
    return _mm512_add_epi16(_mm512_min_epi16(shaded, _mm512_set1_epi16(63)), ramp);
}

}  // namespace krello::x86
