// The portable sine, cosine and arctangent give the game's original results on every build.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "world/portable_trig.h"

namespace krello {
namespace {

uint64_t bitsOf(double v) {
    uint64_t b = 0;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

// FNV-1a over the bit patterns of every sine and cosine of the game's angle range, in order.
uint64_t gameAngleDigest() {
    uint64_t h = 14695981039346656037ull;
    auto mix = [&h](uint64_t v) {
        for (int i = 0; i < 8; ++i) h = (h ^ ((v >> (8 * i)) & 0xFF)) * 1099511628211ull;
    };
    for (int32_t a = GLIBC_ANGLE_MIN; a <= GLIBC_ANGLE_MAX; ++a) {
        const SinCos v = sinCosOfAngle(a);
        mix(bitsOf(v.sin));
        mix(bitsOf(v.cos));
    }
    return h;
}

// The digest of the Linux results. Windows, the browser and every compiler must reproduce it;
// on glibc the next test proves it is the C library's own table.
TEST(PortableTrig, EveryGameAngleGivesTheCommittedDigest) {
    EXPECT_EQ(gameAngleDigest(), 0x891f97ec8add7249ull) << std::hex << gameAngleDigest();
}

#ifdef __GLIBC__
TEST(PortableTrig, EveryGameAngleEqualsGlibc) {
    int differing = 0;
    for (int32_t a = GLIBC_ANGLE_MIN; a <= GLIBC_ANGLE_MAX; ++a) {
        const double x = a * RADIANS_PER_ANGLE_UNIT;
        const SinCos v = sinCosOfAngle(a);
        if (bitsOf(v.sin) != bitsOf(std::sin(x)) || bitsOf(v.cos) != bitsOf(std::cos(x))) {
            if (++differing <= 5) ADD_FAILURE() << "angle " << a;
        }
    }
    EXPECT_EQ(differing, 0) << "regenerate the list with krello-trig-table";
}

// The enemies' aim: atan2 of two integer differences, turned into angle units and truncated.
int aimAngle(double h) { return static_cast<int>(h * ANGLE_UNITS_PER_RADIAN); }

void expectSameAim(double y, double x, int& checked) {
    ++checked;
    const double mine = portableAtan2(y, x);
    const double libc = std::atan2(y, x);
    ASSERT_EQ(aimAngle(mine), aimAngle(libc)) << "atan2(" << y << ", " << x << ")";
    // The two agree to the last place or one step either way, never further.
    ASSERT_LE(std::fabs(mine - libc), std::fabs(std::nextafter(libc, 0.0) - libc) * 1.0001)
        << "atan2(" << y << ", " << x << ")";
}

// The widest coordinate difference the aim is proven on near its steps. A level's extent keeps
// differences far below it; past 2^26, glibc's last-place rounding flips the truncated aim for
// a few pairs that lie within 10^-16 of a step.
constexpr double PROVEN_DIFFERENCE = 33554432.0;  // 2^25

// The best rational approximations p/q of t >= 0 with q below PROVEN_DIFFERENCE (continued
// fractions).
std::vector<std::pair<double, double>> convergents(double t) {
    std::vector<std::pair<double, double>> out;
    double rest = t, p0 = 1, q0 = 0, p1 = std::floor(t), q1 = 1;
    while (q1 < PROVEN_DIFFERENCE && p1 < PROVEN_DIFFERENCE) {
        out.push_back({p1, q1});
        const double frac = rest - std::floor(rest);
        if (frac == 0.0) break;
        rest = 1.0 / frac;
        const double a = std::floor(rest);
        const double p2 = a * p1 + p0, q2 = a * q1 + q0;
        p0 = p1, q0 = q1, p1 = p2, q1 = q2;
    }
    return out;
}

// Integer pairs whose angle lies next to a step of the truncated aim: for every step between
// 0 and 1024 units, the convergents of the slope of its direction and their neighbours, with
// the mirror image below the x axis.
std::vector<std::pair<double, double>> boundaryPairs() {
    std::vector<std::pair<double, double>> pairs;
    for (int m = 1; m < 1024; ++m) {
        if (m % 256 == 0) continue;  // the axes and diagonals are checked on their own
        const double h = m / ANGLE_UNITS_PER_RADIAN;
        const double c = std::cos(h), s = std::sin(h);
        const bool flat = std::fabs(s) < std::fabs(c);
        const double xSign = c < 0 ? -1.0 : 1.0;
        for (const auto& [p, q] : convergents(flat ? std::fabs(s / c) : std::fabs(c / s))) {
            for (double d = -2; d <= 2; ++d) {
                const double y = flat ? p + d : q;
                const double x = flat ? q : p + d;
                pairs.push_back({y, xSign * x});
                pairs.push_back({-y, xSign * x});
            }
        }
    }
    return pairs;
}

TEST(PortableTrig, AimMatchesGlibcOnAxesDiagonalsBoundariesAndSamples) {
    int checked = 0;
    for (int y = -200; y <= 200; ++y) {
        for (int x = -200; x <= 200; ++x) expectSameAim(y, x, checked);
    }
    const double big = 4294967295.0;  // the widest difference of two 32-bit coordinates
    for (double v : {1.0, 7.0, 65535.0, 2147483647.0, big}) {
        for (double y : {-v, 0.0, v}) {
            for (double x : {-v, 0.0, v}) expectSameAim(y, x, checked);
        }
    }
    for (const auto& [y, x] : boundaryPairs()) expectSameAim(y, x, checked);
    std::mt19937_64 rng(32);
    for (int i = 0; i < 300000; ++i) {
        const int shift = static_cast<int>(rng() % 32);
        const auto coordinate = [&] {
            return static_cast<double>(static_cast<int32_t>(rng()) >> shift) -
                   static_cast<double>(static_cast<int32_t>(rng()) >> shift);
        };
        const double y = coordinate();
        expectSameAim(y, coordinate(), checked);
    }
    EXPECT_GT(checked, 500000);
}
#endif

}  // namespace
}  // namespace krello
