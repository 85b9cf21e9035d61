// Where the frame lands on the screen: 4:3 or square pixels, any size, whole multiples.
#include "platform/common/display_layout.h"

#include <gtest/gtest.h>

namespace krello {
namespace {

void expectRect(ScreenRect r, int x, int y, int w, int h) {
    EXPECT_EQ(r.x, x);
    EXPECT_EQ(r.y, y);
    EXPECT_EQ(r.w, w);
    EXPECT_EQ(r.h, h);
}

TEST(DisplayLayout, FourByThreeFillsA4By3ScreenAndBarsAWideOne) {
    const LayoutChoice fourByThree{true, false};
    expectRect(fitFrame(640, 480, fourByThree), 0, 0, 640, 480);
    expectRect(fitFrame(1920, 1080, fourByThree), 240, 0, 1440, 1080);  // bars left and right
    expectRect(fitFrame(1280, 1024, fourByThree), 0, 32, 1280, 960);    // bars top and bottom
}

TEST(DisplayLayout, SquarePixelsKeepThe16By10Shape) {
    const LayoutChoice square{false, false};
    expectRect(fitFrame(640, 480, square), 0, 40, 640, 400);
    expectRect(fitFrame(1920, 1200, square), 0, 0, 1920, 1200);
}

TEST(DisplayLayout, IntegerScaleTakesTheLargestWholeMultiple) {
    expectRect(fitFrame(1920, 1080, {true, true}), 320, 60, 1280, 960);  // 4 x 320x240, not 4.5
    expectRect(fitFrame(1920, 1080, {false, true}), 160, 40, 1600, 1000);  // 5 x 320x200
    // Smaller than one whole multiple: fit as well as it can instead of showing nothing.
    expectRect(fitFrame(200, 150, {true, true}), 0, 0, 200, 150);
}

TEST(DisplayLayout, EmptyOrHugeOutputsStaySane) {
    expectRect(fitFrame(0, 480, {true, false}), 0, 0, 0, 0);
    expectRect(fitFrame(640, -1, {true, false}), 0, 0, 0, 0);
    const ScreenRect huge = fitFrame(2000000000, 1500000000, {true, false});
    EXPECT_EQ(huge.w, 2000000000);
    EXPECT_EQ(huge.h, 1500000000);
}

}  // namespace
}  // namespace krello
