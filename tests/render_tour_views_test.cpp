// The tour's viewpoints: the point-in-sector rule, and every committed view standing where it says.
#include <gtest/gtest.h>

#include <memory>

#include "game/start_level.h"
#include "level/builtin_level.h"
#include "level/loop_geometry.h"
#include "render_test_world.h"
#include "replay/headless_platform.h"
#include "tour/tour_views.h"

namespace krello {
namespace {

using namespace krello::test;

TEST(RenderTourViews, PointsCountInsideTheOuterLoopAndOutsideThePillars) {
    auto g = emptyWorld();
    // Sector 0: a 1000-square with a 200-square pillar loop in its middle.
    int next = addLoop(*g, 0, {{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}});
    next = addLoop(*g, next, {{400, 400}, {400, 600}, {600, 600}, {600, 400}});
    setSector(*g, 0, 0, next, -9000, 1000);
    EXPECT_TRUE(pointInSector(*g, 0, 100, 100));
    EXPECT_TRUE(pointInSector(*g, 0, 700, 500));
    EXPECT_FALSE(pointInSector(*g, 0, 500, 500));   // inside the pillar
    EXPECT_FALSE(pointInSector(*g, 0, 1500, 500));  // outside the room
    EXPECT_FALSE(pointInSector(*g, 191, 100, 100)); // no such sector

    TourView view{"test", 100, 900, 0, 700, 0, true};
    ASSERT_TRUE(placeViewer(*g, view));
    EXPECT_EQ(g->player.z, 1000 - EYE_HEIGHT);
    EXPECT_EQ(g->player.angle, 700);
    view.x = 500;
    view.y = 500;
    EXPECT_FALSE(placeViewer(*g, view));
    EXPECT_EQ(g->player.x, 100);  // left where it was
}

TEST(RenderTourViews, EveryViewStandsInsideItsSectorOfTheBuiltInLevel) {
    auto g = std::make_unique<GameState>();
    loadBuiltinLevel(*g);
    HeadlessPlatform platform;
    startLevel(*g, platform);
    for (const TourView& view : tourViews()) {
        EXPECT_TRUE(placeViewer(*g, view)) << view.name;
        if (view.standing) continue;
        // A floating eye must still be between its sector's ceiling and floor.
        const Sector& s = g->sectors[static_cast<uint16_t>(view.sector)];
        EXPECT_GT(view.z, s.ceilingZ) << view.name;
        EXPECT_LT(view.z, s.floorZ) << view.name;
    }
}

}  // namespace
}  // namespace krello
