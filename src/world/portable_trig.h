// Sine, cosine and arctangent that give the same bits on every platform the game runs on.
#pragma once

#include <cstdint>

#include "world/angle.h"
#include "world/double_double.h"

namespace krello {

struct SinCos {
    double sin = 0.0;
    double cos = 1.0;
};

// The sine and cosine of angle × RADIANS_PER_ANGLE_UNIT, rounded correctly to the nearest
// double. The C libraries of Linux, Windows and the browser each round a few of these values
// the other way, which would make the same game draw other frames and replay demos
// differently; these are computed in double-double arithmetic from IEEE operations alone, and
// equal the glibc results the game was first made with for every angle a 16-bit heading and
// its view edges can take (a test compares them all).
SinCos sinCosOfAngle(int32_t angle);

// The angles whose sine and cosine keep glibc's rounding: every 16-bit heading and the view
// edges a quarter of a quarter turn (256 units) to either side of it. Outside, the values are
// the correctly rounded ones.
constexpr int32_t GLIBC_ANGLE_MIN = -32768 - 256;
constexpr int32_t GLIBC_ANGLE_MAX = 32767 + 256;

// sinCosOfAngle without the list of glibc's roundings: what krello-trig-table compares the C
// library with when it writes that list.
SinCos correctlyRoundedSinCosOfAngle(int32_t angle);

// sin(j * pi/1024), j = 0..512, by its Taylor series in double-double: the source of the
// committed table the functions above read, which krello-trig-table writes and a test checks.
dd::DD sineTablePoint(int j);

// atan2(y, x) in radians, rounded correctly to the nearest double, for finite arguments; equal
// to glibc's on the game's integer differences (a test compares millions of them, and every
// boundary of the truncated angle). Non-finite arguments are passed to the C library.
double portableAtan2(double y, double x);

}  // namespace krello
