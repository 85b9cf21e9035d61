// Integer helpers with the game's exact wrap-around: 32-bit and 16-bit results without signed overflow.
#pragma once

#include <cstdint>
#include <limits>

namespace krello {

// 32-bit arithmetic that wraps like the machine's registers do. The operation runs on unsigned
// values (where wrap-around is defined) and comes back as a signed 32-bit number.
constexpr int32_t add32(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
constexpr int32_t sub32(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
constexpr int32_t mul32(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

// Integer division truncating toward zero. The one quotient that does not fit, INT32_MIN / -1,
// wraps to INT32_MIN. The divisor must not be 0: callers decide what a zero divisor means.
constexpr int32_t div32(int32_t a, int32_t b) {
    if (b == -1) return static_cast<int32_t>(0u - static_cast<uint32_t>(a));
    return a / b;
}

// The low 16 bits of a value, read as signed or unsigned.
constexpr int16_t wrap16(int32_t v) { return static_cast<int16_t>(static_cast<uint16_t>(v)); }
constexpr uint16_t wrapU16(int32_t v) { return static_cast<uint16_t>(v); }

// The value a conversion gives when the double has no 32-bit integer: NaN, an infinity or a
// magnitude of 2^31 or more. It is the x86 "integer indefinite" value, the result the machine's
// own truncating conversion produces, so such a value behaves as it always has instead of being
// undefined.
constexpr int32_t TRUNC_OUT_OF_RANGE = std::numeric_limits<int32_t>::min();

// A double converted to a 32-bit integer, truncating toward zero. Out-of-range values and NaN
// give TRUNC_OUT_OF_RANGE (see above) instead of undefined behaviour.
inline int32_t truncToInt32(double v) {
    // The comparisons are false for NaN, which therefore falls through to the fallback. The
    // check stays on x86 too, where the instruction alone gives the same results: compilers fold
    // the instruction's intrinsic on a constant out-of-range double to other values.
    if (v > -2147483649.0 && v < 2147483648.0) return static_cast<int32_t>(v);
    return TRUNC_OUT_OF_RANGE;
}

// The low 16 bits of a truncated double, as the texture-row accumulators keep them.
inline uint16_t truncToU16(double v) { return wrapU16(truncToInt32(v)); }

}  // namespace krello
