// Exact 128-bit integers for the level's geometry: sums of products of 64-bit coordinates.
#pragma once

#include <compare>
#include <cstdint>

namespace krello {

// A signed 128-bit integer in two's complement over two 64-bit words. Only the operations the
// loop geometry needs: products of two 64-bit numbers, sums, differences and comparison. It is
// written out because 32-bit targets (the i686 build) have no __int128; every build uses it, so
// the tests on one prove what the others run.
class Wide {
public:
    constexpr Wide() = default;
    constexpr Wide(int64_t v) : low_(static_cast<uint64_t>(v)), high_(v < 0 ? ~uint64_t{0} : 0) {}

    // a * b, exactly.
    static constexpr Wide product(int64_t a, int64_t b) {
        const uint64_t x = magnitude(a), y = magnitude(b);
        const uint64_t x0 = x & LOW_HALF, x1 = x >> 32, y0 = y & LOW_HALF, y1 = y >> 32;
        const uint64_t p00 = x0 * y0, p01 = x0 * y1, p10 = x1 * y0, p11 = x1 * y1;
        // Below 3 * 2^32: the carries of the middle column.
        const uint64_t middle = (p00 >> 32) + (p01 & LOW_HALF) + (p10 & LOW_HALF);
        Wide r;
        r.low_ = (middle << 32) | (p00 & LOW_HALF);
        r.high_ = p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32);
        return (a < 0) != (b < 0) ? -r : r;
    }

    constexpr Wide operator-() const { return Wide(~high_, ~low_) + Wide(1); }
    constexpr Wide operator+(Wide o) const {
        const uint64_t low = low_ + o.low_;
        return Wide(high_ + o.high_ + (low < low_ ? 1 : 0), low);
    }
    constexpr Wide operator-(Wide o) const { return *this + -o; }
    constexpr Wide& operator+=(Wide o) { return *this = *this + o; }

    // The two words, for tests and printing: the value is high * 2^64 + low, modulo 2^128.
    constexpr uint64_t low() const { return low_; }
    constexpr uint64_t high() const { return high_; }

    friend constexpr bool operator==(Wide, Wide) = default;
    friend constexpr std::strong_ordering operator<=>(Wide a, Wide b) {
        if (a.high_ != b.high_) return static_cast<int64_t>(a.high_) <=> static_cast<int64_t>(b.high_);
        return a.low_ <=> b.low_;
    }

private:
    static constexpr uint64_t LOW_HALF = 0xFFFFFFFFu;
    constexpr Wide(uint64_t high, uint64_t low) : low_(low), high_(high) {}
    // |v| as an unsigned number; right for INT64_MIN too.
    static constexpr uint64_t magnitude(int64_t v) { return v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v); }

    uint64_t low_ = 0;   // bits 0..63
    uint64_t high_ = 0;  // bits 64..127, the top one the sign
};

}  // namespace krello
