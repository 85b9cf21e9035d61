// The palette: four ramps from (startRed, 0, 0) that stop just short of their end colours.
#include <gtest/gtest.h>

#include "world/palette.h"

namespace krello {
namespace {

void expectColour(const PaletteEntry& e, int r, int g, int b) {
    EXPECT_EQ(e.red, r);
    EXPECT_EQ(e.green, g);
    EXPECT_EQ(e.blue, b);
    EXPECT_EQ(e.flags, 0);
}

TEST(Palette, PlayRampsStartBlackAndStopShortOfTheirEnds) {
    const Palette p = buildRamps(0);
    for (int ramp = 0; ramp < 4; ++ramp) expectColour(p[ramp * 64], 0, 0, 0);
    expectColour(p[63], 251, 224, 204);
    expectColour(p[64], 0, 0, 0);
    expectColour(p[127], 204, 224, 251);
    expectColour(p[191], 251, 0, 0);
    expectColour(p[255], 251, 169, 0);
    expectColour(p[32], 127, 114, 104);  // halfway: k * E / 64
    // Every ramp brightens monotonically.
    for (int i = 1; i < 256; ++i) {
        if (i % 64 == 0) continue;
        EXPECT_GE(p[i].red, p[i - 1].red) << i;
        EXPECT_GE(p[i].green, p[i - 1].green) << i;
    }
}

TEST(Palette, TintStartsEveryRampAtFullRed) {
    const Palette p = buildRamps(255);
    for (int ramp = 0; ramp < 4; ++ramp) expectColour(p[ramp * 64], 255, 0, 0);
    for (int k = 0; k < 64; ++k) expectColour(p[128 + k], 255, 0, 0);
    // Ramp 1 runs from red towards cool white: its red falls, its blue rises.
    expectColour(p[127], 208, 224, 251);
    expectColour(p[63], 255, 224, 204);
}

TEST(Palette, StartOutsideAByteIsClampedNotWrapped) {
    EXPECT_EQ(buildRamps(300)[0].red, 255);
    EXPECT_EQ(buildRamps(-4)[0].red, 0);
}

}  // namespace
}  // namespace krello
