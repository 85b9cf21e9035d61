// The conversion every drawn coordinate goes through: truncation toward zero, one value for the rest.
#include <gtest/gtest.h>

#include <limits>

#include "world/fixed_math.h"

namespace krello {
namespace {

TEST(FixedMath, TruncationTowardZeroAndOneValueOutsideTheRange) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    const struct {
        double v;
        int32_t expected;
    } cases[] = {
        {0.9, 0}, {-0.9, 0}, {-0.0, 0}, {7.99, 7}, {-7.99, -7},
        {2147483647.9, INT32_MAX}, {-2147483648.9, INT32_MIN},  // the last doubles that fit
        {2147483648.0, TRUNC_OUT_OF_RANGE}, {-2147483649.0, TRUNC_OUT_OF_RANGE},
        {1e300, TRUNC_OUT_OF_RANGE}, {-1e300, TRUNC_OUT_OF_RANGE}, {inf, TRUNC_OUT_OF_RANGE},
        {-inf, TRUNC_OUT_OF_RANGE}, {std::numeric_limits<double>::quiet_NaN(), TRUNC_OUT_OF_RANGE},
    };
    for (const auto& c : cases) EXPECT_EQ(truncToInt32(c.v), c.expected) << c.v;
    EXPECT_EQ(TRUNC_OUT_OF_RANGE, INT32_MIN);
    EXPECT_EQ(truncToU16(70000.5), 70000 - 65536);
    EXPECT_EQ(truncToU16(-1.5), 0xFFFF);
    EXPECT_EQ(truncToU16(3e9), 0);  // INT32_MIN keeps no low bits
}

}  // namespace
}  // namespace krello
