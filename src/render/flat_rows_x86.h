// The part of the x86 vector paths they share: four texels fetched, shaded and stored.
#pragma once

#include <emmintrin.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "render/flat_rows.h"
#include "render/render_state.h"

namespace krello::x86 {

// The AVX2 and AVX-512 flat rows divide without the divider where they may: for a numerator a
// and a row distance b (whole, 1 <= |b| < 2^50) with y the double nearest 1/b,
//   q0 = a * y,   r = a - b * q0 (one fused step),   q = q0 + r * y (one fused step)
// gives the double nearest a / b, the quotient the division gives, whenever a is 0 or
// 2^-960 <= |a| <= 2^960. Why, with each step rounded to nearest once:
// - Let Q = a / b, 2^e <= |Q| < 2^(e+1), U = 2^(e-52) (the spacing of doubles there). y is
//   1/b times (1 + d) with |d| <= 2^-53, so |a*y - Q| <= 2^-53 |Q| < U, and rounding a*y moves
//   it by at most U more: |q0 - Q| < 2U.
// - a is a multiple of U (|a| >= |Q|) and q0 of U/2 (|q0| > 2^(e-1)), so a - b*q0 is a multiple
//   of U/2 below 2|b|U < 2^52 U/2 in size: a double, so the fused step gives it exactly.
// - q0 + r*y = Q + (Q - q0) * d, within 2U * 2^-53 = 2^-52 U of Q. Rounding that gives the
//   double nearest Q unless a point halfway between two doubles lies within 2^-52 U of Q. Such
//   a point M near Q is an odd multiple of U/2 (or of U/4 just below 2^e, at least U/4 from Q),
//   and a - b*M is a multiple of U/2 that is not 0: a = b*M would need the odd part of b times
//   M's odd part (2^53 or more) in a's 53 bits. So |Q - M| >= U / (2|b|) > 2^-52 U.
// - The bounds on a keep every step clear of overflow, and Q and q0 clear of the subnormal
//   range (|Q| >= 2^-1010; r, a multiple of U/2 >= 2^-1064, is exact even below 2^-1022).
// - For a = 0 every step gives a zero; its sign may differ from the division's, but the
//   quotient only meets an offset subtracted and a truncation, where +0 and -0 give the same
//   integer.
// The fused steps are the processor's FMA instructions, each exactly one rounding. A run whose
// numerators lie outside those bounds (NaN and the infinities included) divides.
inline bool quotientsByReciprocal(const FlatRun& run) {
    auto fits = [](double a) {
        const double m = std::fabs(a);
        return m == 0.0 || (m >= 0x1p-960 && m <= 0x1p960);
    };
    return fits(run.heightRayX) && fits(run.heightRayY);
}

// Four rows, one column, their rows side by side (a tile's column): index holds the four texel
// indices in its 32-bit lanes (each below 16,384, so its low 16 bits are the whole index), shades
// the four shade offsets in its low four 16-bit lanes. texel - shade wraps in 16 bits and is
// clamped to 0..63 exactly as shadeTexel does; the ramp is added after the clamp.
__attribute__((target("sse2"), always_inline)) inline void shadeAndStore4(const uint8_t* texture, __m128i index,
                                                                          __m128i shades, __m128i ramp,
                                                                          uint8_t* pixel) {
    // The indices read back through memory: loads are cheaper here than extractions.
    alignas(16) uint32_t at[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(at), index);
    const volatile uint32_t* indices = at;
    uint32_t bytes4 = 0;
    for (int i = 0; i < 4; ++i) bytes4 |= static_cast<uint32_t>(texture[indices[i]]) << (8 * i);
    const __m128i texels = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(bytes4)), _mm_setzero_si128());
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
