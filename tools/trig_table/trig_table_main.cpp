// krello-trig-table: writes the list of angles where glibc's sine or cosine rounds the other way.
//
// Run on Linux with glibc, only when that list must be made again:
//   krello-trig-table > src/world/trig_rounding_exceptions.inc
#include <cmath>
#include <cstdio>

#include "world/portable_trig.h"

namespace {

// -1, 0 or +1: how many steps the C library's value lies from the correctly rounded one, or
// 2 when it lies further (the list cannot say that, and the tool stops).
int ulpsFrom(double correct, double library) {
    if (library == correct) return 0;
    if (library == std::nextafter(correct, HUGE_VAL)) return 1;
    if (library == std::nextafter(correct, -HUGE_VAL)) return -1;
    return 2;
}

}  // namespace

int main() {
    using namespace krello;
    std::printf("// Written by krello-trig-table from glibc's sin and cos: angle, then the steps from the\n"
                "// correctly rounded sine and cosine to glibc's. Do not edit.\n");
    for (int32_t a = GLIBC_ANGLE_MIN; a <= GLIBC_ANGLE_MAX; ++a) {
        const double x = a * RADIANS_PER_ANGLE_UNIT;
        const SinCos v = correctlyRoundedSinCosOfAngle(a);
        const int s = ulpsFrom(v.sin, std::sin(x));
        const int c = ulpsFrom(v.cos, std::cos(x));
        if (s == 2 || c == 2) {
            std::fprintf(stderr, "krello-trig-table: angle %d: the C library is more than one step away\n", a);
            return 1;
        }
        if (s != 0 || c != 0) std::printf("{%d, %d, %d},\n", a, s, c);
    }
    return 0;
}
