// The wall walk: loop by loop, with the count compared only when a loop closes.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "world/wall_walk.h"

namespace krello {
namespace {

std::vector<int> walk(const GameState& g, uint16_t sector) {
    std::vector<int> seen;
    walkSectorWalls(g, sector, [&](uint16_t w) { seen.push_back(w); });
    return seen;
}

TEST(WallWalk, VisitsEveryLoopInOrderAndStops) {
    auto g = std::make_unique<GameState>();
    // Sector 0: a loop of 3 (walls 0..2) and a loop of 4 (walls 3..6); sector 1 from wall 7.
    g->sectors[0] = Sector{};
    g->sectors[0].firstWall = 0;
    g->sectors[0].wallCount = 7;
    for (int i = 0; i < 3; ++i) g->walls[i].point2 = static_cast<int16_t>(i == 2 ? 0 : i + 1);
    for (int i = 3; i < 7; ++i) g->walls[i].point2 = static_cast<int16_t>(i == 6 ? 3 : i + 1);
    EXPECT_EQ(walk(*g, 0), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
}

TEST(WallWalk, ComparesTheCountOnlyWhenALoopCloses) {
    auto g = std::make_unique<GameState>();
    // A count of 2 but a loop of 4: the walk finishes the loop before it looks at the count.
    g->sectors[0].firstWall = 10;
    g->sectors[0].wallCount = 2;
    for (int i = 10; i < 14; ++i) g->walls[i].point2 = static_cast<int16_t>(i == 13 ? 10 : i + 1);
    EXPECT_EQ(walk(*g, 0), (std::vector<int>{10, 11, 12, 13}));
}

TEST(WallWalk, AnUnclosedLoopEndsAtTheTableInsteadOfRunningOff) {
    auto g = std::make_unique<GameState>();
    g->sectors[0].firstWall = static_cast<int16_t>(WALL_COUNT - 3);
    g->sectors[0].wallCount = 3;
    for (int i = WALL_COUNT - 3; i < WALL_COUNT; ++i) g->walls[i].point2 = 5;  // never closes
    EXPECT_EQ(walk(*g, 0).size(), 3u);
}

}  // namespace
}  // namespace krello
