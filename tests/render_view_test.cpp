// The frame driver: the view rays and whole frames without holes.
#include <gtest/gtest.h>

#include <cmath>

#include "render_test_world.h"

namespace krello {
namespace {

using namespace krello::test;

TEST(RenderViewRays, HeadingZeroSpansNinetyDegreesAlongTheChord) {
    auto g = emptyWorld();
    auto frame = blankFrame();
    const auto left = columnAt(*g, *frame, 0);
    EXPECT_NEAR(left->rs.rayDirX, 0.70710678, 1e-8);
    EXPECT_NEAR(left->rs.rayDirY, -0.70710678, 1e-8);
    EXPECT_NEAR(left->rs.rayStepX, 0.0, 1e-15);
    EXPECT_NEAR(left->rs.rayStepY, 0.00441942, 1e-8);
    EXPECT_DOUBLE_EQ(left->rs.headingCos, 1.0);
    EXPECT_DOUBLE_EQ(left->rs.headingSin, 0.0);

    const auto centre = columnAt(*g, *frame, 160);
    EXPECT_NEAR(centre->rs.rayDirX, 0.70710678, 1e-8);
    EXPECT_NEAR(centre->rs.rayDirY, 0.0, 1e-14);  // a residue of the 160 additions, not exactly 0
    const auto last = columnAt(*g, *frame, 319);
    EXPECT_NEAR(last->rs.rayDirX, 0.70710678, 1e-8);
    EXPECT_NEAR(last->rs.rayDirY, 0.70268736, 1e-8);
}

TEST(RenderViewRays, EdgesAreNotWrappedAndFollowTheHeading) {
    auto g = emptyWorld();
    auto frame = blankFrame();
    // Heading 0's left edge lies at -256, the direction of 1792.
    const auto atZero = columnAt(*g, *frame, 0);
    g->player.angle = 1792;
    const auto at1792 = columnAt(*g, *frame, 160);
    EXPECT_NEAR(atZero->rs.rayDirX, at1792->rs.headingCos, 1e-12);
    EXPECT_NEAR(atZero->rs.rayDirY, at1792->rs.headingSin, 1e-12);
    // Heading 512 faces +y: the centre ray points along +y, column 0 towards +x.
    g->player.angle = 512;
    const auto south = columnAt(*g, *frame, 160);
    EXPECT_NEAR(south->rs.rayDirX, 0.0, 1e-12);
    EXPECT_NEAR(south->rs.rayDirY, 0.70710678, 1e-8);
    const auto southLeft = columnAt(*g, *frame, 0);
    EXPECT_GT(southLeft->rs.rayDirX, 0.7);
}

// Room 0 (x, y in -1000..1000, eye 8000 above its floor) opens at x = 1000 into room 1
// (x up to 3000) with a lower ceiling and a higher floor.
std::unique_ptr<GameState> twoRooms() {
    auto g = emptyWorld();
    int next = addLoop(*g, 0, {{-1000, -1000}, {1000, -1000}, {1000, 1000}, {-1000, 1000}});
    setSector(*g, 0, 0, 4, -10000, 8000);
    const int room1 = next;
    next = addLoop(*g, room1, {{1000, -1000}, {3000, -1000}, {3000, 1000}, {1000, 1000}}, 0x41);
    setSector(*g, 1, room1, 4, -6000, 6000);
    // Wall 1 runs (1000,-1000)->(1000,1000); wall room1+3 runs back along the same edge.
    joinPortal(*g, 1, 0, room1 + 3, 1);
    fillRowTexture(*g, 0);
    fillRowTexture(*g, 1);
    g->sectors[0].floorTexture = 0x81;
    g->sectors[1].ceilingTexture = 0xC2;  // ramp 3 with a plain slot, never the sentinel
    fillTexture(*g, 2, 10);
    return g;
}

TEST(RenderView, EveryPixelOfAClosedWorldIsWrittenAtAnyHeading) {
    auto g = twoRooms();
    for (int16_t angle : {0, 100, 256, 700, 1024, 1500, 2047}) {
        g->player.angle = angle;
        auto frame = blankFrame();
        drawView(*g, *frame);
        int untouched = 0;
        for (uint8_t p : *frame) untouched += p == UNTOUCHED;
        EXPECT_EQ(untouched, 0) << "heading " << angle;
    }
}

TEST(RenderView, ThePortalShowsTheRoomBehindWithItsStepsAboveAndBelow) {
    auto g = twoRooms();
    auto frame = blankFrame();
    drawView(*g, *frame);
    // Straight ahead: our ceiling, the upper step (wall 1, ramp 0), room 1's black-ramp ceiling
    // (ramp 3), room 1's far wall (ramp 1), room 1's floor, the lower step, our floor (ramp 2).
    std::vector<int> ramps;
    for (int r = 0; r < SCREEN_HEIGHT; ++r) {
        const int ramp = pixel(*frame, r, 160) >> 6;
        if (ramps.empty() || ramps.back() != ramp) ramps.push_back(ramp);
    }
    EXPECT_EQ(ramps, (std::vector<int>{0, 3, 1, 0, 2}));
}

TEST(RenderView, APlayerOutsideTheTablesDrawsNothing) {
    auto g = twoRooms();
    g->player.sector = -1;
    auto frame = blankFrame();
    drawView(*g, *frame);
    for (uint8_t p : *frame) ASSERT_EQ(p, UNTOUCHED);
}

}  // namespace
}  // namespace krello
