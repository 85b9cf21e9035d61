// The part of the x86 vector paths they share: four texels fetched, shaded and stored.
#pragma once

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "render/render_state.h"

namespace krello::x86 {

// Four rows, one column, their rows side by side (a tile's column): index holds the four texel
// indices in its 32-bit lanes (each below 16,384, so its low 16 bits are the whole index), shades
// the four shade offsets in its low four 16-bit lanes. texel - shade wraps in 16 bits and is
// clamped to 0..63 exactly as shadeTexel does; the ramp is added after the clamp.
__attribute__((target("sse2"), always_inline)) inline void shadeAndStore4(const uint8_t* texture, __m128i index,
                                                                          __m128i shades, __m128i ramp,
                                                                          uint8_t* pixel) {
    __m128i texels = _mm_cvtsi32_si128(texture[_mm_cvtsi128_si32(index)]);
    texels = _mm_insert_epi16(texels, texture[_mm_extract_epi16(index, 2)], 1);
    texels = _mm_insert_epi16(texels, texture[_mm_extract_epi16(index, 4)], 2);
    texels = _mm_insert_epi16(texels, texture[_mm_extract_epi16(index, 6)], 3);
    __m128i v = _mm_sub_epi16(texels, shades);
    v = _mm_min_epi16(_mm_max_epi16(v, _mm_setzero_si128()), _mm_set1_epi16(63));
    v = _mm_add_epi16(v, ramp);
    const uint32_t bytes = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(v, v)));
    std::memcpy(pixel, &bytes, sizeof bytes);
}

// The texel index (a & 127) * 128 + (b & 127) of four lanes of a and b.
__attribute__((target("sse2"), always_inline)) inline __m128i texelIndex4(__m128i a, __m128i b) {
    const __m128i low7 = _mm_set1_epi32(127);
    return _mm_or_si128(_mm_slli_epi32(_mm_and_si128(a, low7), 7), _mm_and_si128(b, low7));
}

}  // namespace krello::x86
