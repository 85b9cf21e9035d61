// Correctly rounded sine, cosine and arctangent from IEEE double operations alone.
#include "world/portable_trig.h"

#include <algorithm>
#include <iterator>
#include <cmath>

#include "world/double_double.h"

namespace krello {
namespace {

using dd::DD;

// pi as a sum of three doubles (about 160 bits), and pi/2 as two.
constexpr double PI_1 = 0x1.921fb54442d18p+1;
constexpr double PI_2 = 0x1.1a62633145c07p-53;
constexpr double PI_3 = -0x1.f1976b7ed8fbcp-109;
constexpr DD PI{PI_1, PI_2};
constexpr DD HALF_PI{PI_1 / 2, PI_2 / 2};

// The angle unit is the double nearest to pi/1024. So x = angle * RADIANS_PER_ANGLE_UNIT is
// the exact angle * pi/1024 plus a tiny rest s: the product's own rounding error, which
// twoProduct gives exactly, and angle times the tail of pi/1024. |s| stays under 2^-46 for the
// game's angles and under 2^-30 for any 32-bit angle, and sin(x) = sin(t + s) follows from the
// sine and cosine of the table point t = angle * pi/1024 by a short expansion in s.
static_assert(RADIANS_PER_ANGLE_UNIT == PI_1 / 1024);
constexpr int QUARTER = 512;  // angle units in a quarter turn

// sin(j * pi/1024) for j = 0..512 in double-double, written by krello-trig-table from
// sineTablePoint below.
constexpr DD SINE_TABLE[QUARTER + 1] = {
#include "world/trig_sine_table.inc"
};

struct SeriesPair {
    DD sin;
    DD cos;
};

// sin and cos of angle * pi/1024 exactly (to the table's precision), from its quarter turn
// and its place within it.
SeriesPair tablePoint(int32_t angle) {
    const uint32_t inTurn = static_cast<uint32_t>(angle) & (4 * QUARTER - 1);
    const size_t j = inTurn % QUARTER;
    const DD s = SINE_TABLE[j];
    const DD c = SINE_TABLE[QUARTER - j];
    switch (inTurn / QUARTER) {
        case 0: return {s, c};
        case 1: return {c, dd::neg(s)};
        case 2: return {dd::neg(s), dd::neg(c)};
        default: return {dd::neg(c), s};
    }
}

// sin and cos of t (|t| <= pi/4) by their Taylor series, summed far past the precision kept.
SeriesPair taylorSinCos(DD t) {
    const DD square = dd::mul(t, t);
    DD sinTerm = t;
    DD cosTerm{1.0, 0.0};
    DD sinSum = sinTerm;
    DD cosSum = cosTerm;
    for (int n = 1; n <= 16; ++n) {
        cosTerm = dd::div(dd::mul(cosTerm, square), DD{-(2.0 * n - 1.0) * (2.0 * n), 0.0});
        sinTerm = dd::div(dd::mul(sinTerm, square), DD{-(2.0 * n) * (2.0 * n + 1.0), 0.0});
        cosSum = dd::add(cosSum, cosTerm);
        sinSum = dd::add(sinSum, sinTerm);
    }
    return {sinSum, cosSum};
}

// The game was first made with glibc's sine and cosine, which round a few of these values the
// other way (by one unit in the last place). Those angles are listed here, sorted, so the game
// keeps the results it has always had. krello-trig-table writes this list.
struct RoundingException {
    int32_t angle;
    int8_t sinUlps;  // -1, 0 or +1: one step down or up from the correctly rounded value
    int8_t cosUlps;
};
constexpr RoundingException ROUNDING_EXCEPTIONS[] = {
#include "world/trig_rounding_exceptions.inc"
};

double stepUlps(double v, int ulps) {
    if (ulps == 0) return v;
    return std::nextafter(v, ulps > 0 ? HUGE_VAL : -HUGE_VAL);
}

SinCos glibcRounding(int32_t angle, SinCos v) {
    const auto* end = std::end(ROUNDING_EXCEPTIONS);
    const auto* e = std::lower_bound(std::begin(ROUNDING_EXCEPTIONS), end, angle,
                                     [](const RoundingException& x, int32_t a) { return x.angle < a; });
    if (e == end || e->angle != angle) return v;
    return {stepUlps(v.sin, e->sinUlps), stepUlps(v.cos, e->cosUlps)};
}

// atan(t) for 0 <= t <= 1: three halvings atan(t) = 2 atan(t / (1 + sqrt(1 + t^2))) bring t
// under tan(pi/32), where the series converges quickly.
DD atanUnit(DD t) {
    for (int i = 0; i < 3; ++i) {
        const DD onePlusSquare = dd::add(DD{1.0, 0.0}, dd::mul(t, t));
        const DD root = dd::sqrt(onePlusSquare, std::sqrt(onePlusSquare.hi));
        t = dd::div(t, dd::add(DD{1.0, 0.0}, root));
    }
    const DD square = dd::mul(t, t);
    DD power = t;
    DD sum = t;
    for (int n = 1; n <= 20; ++n) {
        power = dd::mul(power, square);
        const DD termValue = dd::div(power, DD{2.0 * n + 1.0, 0.0});
        sum = (n % 2 == 1) ? dd::sub(sum, termValue) : dd::add(sum, termValue);
    }
    return dd::mul(sum, 8.0);
}

}  // namespace

dd::DD sineTablePoint(int j) {
    // Past an eighth of a turn, the cosine of the complement: every series has |t| <= pi/4.
    const int k = j <= QUARTER / 2 ? j : QUARTER - j;
    const DD t = dd::mul(dd::mul(PI, static_cast<double>(k)), 1.0 / 1024);
    const SeriesPair v = taylorSinCos(t);
    return j <= QUARTER / 2 ? v.sin : v.cos;
}

SinCos sinCosOfAngle(int32_t angle) {
    return glibcRounding(angle, correctlyRoundedSinCosOfAngle(angle));
}

SinCos correctlyRoundedSinCosOfAngle(int32_t angle) {
    const double a = angle;
    // s = x - angle * pi/1024, from the exact error of the rounded product and the two tails.
    const DD product = dd::twoProduct(a, RADIANS_PER_ANGLE_UNIT);
    DD s = dd::neg(DD{product.lo, 0.0});
    s = dd::sub(s, dd::twoProduct(a, PI_2 / 1024));
    s = dd::sub(s, DD{a * (PI_3 / 1024), 0.0});
    const SeriesPair t = tablePoint(angle);
    // sin(t + s) = sin t + s cos t - s^2/2 sin t - s^3/6 cos t, and cos likewise. The two small
    // terms need only double precision, and the next ones lie below 2^-120.
    const double halfSquare = 0.5 * s.hi * s.hi;
    const double sixthCube = halfSquare * s.hi / 3.0;
    const DD sinSmall{-(t.sin.hi * halfSquare + t.cos.hi * sixthCube), 0.0};
    const DD cosSmall{-(t.cos.hi * halfSquare - t.sin.hi * sixthCube), 0.0};
    const DD sinX = dd::add(t.sin, dd::add(dd::mul(t.cos, s), sinSmall));
    const DD cosX = dd::add(t.cos, dd::add(dd::neg(dd::mul(t.sin, s)), cosSmall));
    return {dd::round(sinX), dd::round(cosX)};
}

double portableAtan2(double y, double x) {
    if (!std::isfinite(x) || !std::isfinite(y)) return std::atan2(y, x);
    const double ax = std::fabs(x);
    const double ay = std::fabs(y);
    DD angle{0.0, 0.0};
    if (ay == 0.0) {
        angle = DD{0.0, 0.0};
    } else if (ay <= ax) {
        angle = atanUnit(dd::div(DD{ay, 0.0}, DD{ax, 0.0}));
    } else {
        angle = dd::sub(HALF_PI, atanUnit(dd::div(DD{ax, 0.0}, DD{ay, 0.0})));
    }
    if (std::signbit(x)) angle = dd::sub(PI, angle);
    const double result = dd::round(angle);
    return std::signbit(y) ? -result : result;
}

}  // namespace krello
