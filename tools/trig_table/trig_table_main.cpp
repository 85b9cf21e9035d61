// krello-trig-table: writes the two committed tables of the portable sine and cosine.
//
//   krello-trig-table sines     > src/world/trig_sine_table.inc
//   krello-trig-table roundings > src/world/trig_rounding_exceptions.inc
//
// "sines" sums sin(j * pi/1024) by its series; "roundings" must run on Linux with glibc, and
// only after the sines are in place. Neither is part of the build: run them only when a table
// must be made again, then check that the tests still pass.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "world/portable_trig.h"

namespace {

using namespace krello;

int writeSines() {
    std::printf("// Written by krello-trig-table sines: sin(j * pi/1024) for j = 0..512 as\n"
                "// double-double {hi, lo}. Do not edit.\n");
    for (int j = 0; j <= 512; ++j) {
        const dd::DD v = sineTablePoint(j);
        std::printf("{%a, %a},\n", v.hi, v.lo);
    }
    return 0;
}

// -1, 0 or +1: how many steps the C library's value lies from the correctly rounded one, or
// 2 when it lies further (the list cannot say that, and the tool stops).
int ulpsFrom(double correct, double library) {
    if (library == correct) return 0;
    if (library == std::nextafter(correct, HUGE_VAL)) return 1;
    if (library == std::nextafter(correct, -HUGE_VAL)) return -1;
    return 2;
}

int writeRoundings() {
    std::printf("// Written by krello-trig-table roundings from glibc's sin and cos: angle, then the\n"
                "// steps from the correctly rounded sine and cosine to glibc's. Do not edit.\n");
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

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "sines") == 0) return writeSines();
    if (argc == 2 && std::strcmp(argv[1], "roundings") == 0) return writeRoundings();
    std::fprintf(stderr, "usage: krello-trig-table sines|roundings\n");
    return 2;
}
