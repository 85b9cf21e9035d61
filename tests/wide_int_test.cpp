// The level geometry's 128-bit integers against the compiler's own, where it has one.
#include "level/wide_int.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace krello {
namespace {

#ifdef __SIZEOF_INT128__
using Reference = __int128;

unsigned __int128 bits(Wide w) { return (static_cast<unsigned __int128>(w.high()) << 64) | w.low(); }

// The boundaries of every word size the product splits into, the level's coordinate range, and
// random numbers of every magnitude.
std::vector<int64_t> operands() {
    constexpr int64_t lo = std::numeric_limits<int64_t>::min(), hi = std::numeric_limits<int64_t>::max();
    std::vector<int64_t> v = {0, 1, -1, 2, -3, 0x7FFFFFFF, -0x80000000LL, 0xFFFFFFFFLL, 0x100000000LL,
                              -0x100000000LL, 0x1FFFFFFFFLL, -0x1FFFFFFFFLL, int64_t{1} << 62, lo, lo + 1, hi, hi - 1};
    std::mt19937_64 random(13);
    for (int i = 0; i < 200; ++i) v.push_back(static_cast<int64_t>(random() >> (random() % 64)) * (i % 2 ? -1 : 1));
    return v;
}

TEST(Wide, ProductsSumsDifferencesAndOrderAreExact) {
    const std::vector<int64_t> v = operands();
    std::vector<std::pair<Wide, Reference>> products;
    for (int64_t a : v) {
        for (int64_t b : v) {
            const Reference r = static_cast<Reference>(a) * b;
            const Wide w = Wide::product(a, b);
            ASSERT_EQ(bits(w), static_cast<unsigned __int128>(r)) << a << " * " << b;
            products.push_back({w, r});
        }
    }
    for (size_t i = 0; i + 1 < products.size(); i += 5) {
        const auto [wa, ra] = products[i];
        const auto [wb, rb] = products[i + 1];
        // Sums of two products may pass 2^127: compare them as the words they wrap to.
        EXPECT_EQ(bits(wa + wb), static_cast<unsigned __int128>(ra) + static_cast<unsigned __int128>(rb)) << i;
        Wide accumulated = wa;
        accumulated += wb;
        EXPECT_EQ(accumulated, wa + wb) << i;
        EXPECT_EQ(bits(wa - wb), static_cast<unsigned __int128>(ra - rb)) << i;
        EXPECT_EQ(bits(-wa), static_cast<unsigned __int128>(-ra)) << i;
        EXPECT_EQ(wa <=> wb, ra <=> rb) << i;
        EXPECT_EQ(wa - wb <=> Wide(0), ra - rb <=> 0) << i;
        EXPECT_EQ(wa == wb, ra == rb) << i;
    }
}
#else
TEST(Wide, ProductsSumsDifferencesAndOrderAreExact) { GTEST_SKIP() << "this compiler has no __int128 to compare with"; }
#endif

}  // namespace
}  // namespace krello
