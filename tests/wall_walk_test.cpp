// The wall walk: loop by loop, with the count compared only when a loop closes; and the tools'
// walk of a sector's own walls, which is the same on sound loops and stops early on broken ones.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "level/own_walls.h"
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

// Sector 0 as a count and a run of point2 values from its first wall, then where each walk goes.
struct OwnWallsCase {
    const char* what;
    int first, count;
    std::vector<int> point2;
    std::vector<int> game, own;
};

TEST(WallWalk, OwnWallsAreTheGamesWalkStoppedAtTheSectorsShare) {
    const int last = WALL_COUNT - 1;
    const OwnWallsCase cases[] = {
        {"two closed loops", 0, 7, {1, 2, 0, 4, 5, 6, 3}, {0, 1, 2, 3, 4, 5, 6}, {0, 1, 2, 3, 4, 5, 6}},
        {"the count ends mid-loop", 10, 2, {11, 12, 13, 10}, {10, 11, 12, 13}, {10, 11}},
        {"a loop that never closes", 0, 4, {1, 2, 3, 4, 5, 6, 7}, {}, {0, 1, 2, 3}},
        {"a point2 past the table", 0, 6, {1, 2, 9000, 4, 5, 3}, {}, {0, 1, 2}},
        {"a point2 that jumps back", 0, 5, {1, 0, 1, 4, 2}, {0, 1, 2, 3, 4}, {0, 1, 2}},
        {"an empty entry reads one loop", 20, 0, {21, 22, 20, 24, 25, 23}, {20, 21, 22}, {20, 21, 22}},
        {"walls running off the table", last - 1, 5, {last, last - 1}, {last - 1, last}, {last - 1, last}},
        {"a first wall past the table", 5000, 3, {}, {}, {}},
    };
    for (const OwnWallsCase& c : cases) {
        auto g = std::make_unique<GameState>();
        for (Wall& w : g->walls) w.point2 = static_cast<int16_t>(last);  // never a loop's first
        g->sectors[0].firstWall = static_cast<int16_t>(c.first);
        g->sectors[0].wallCount = static_cast<uint16_t>(c.count);
        for (size_t i = 0; i < c.point2.size(); ++i)
            g->walls[static_cast<size_t>(c.first) + i].point2 = static_cast<int16_t>(c.point2[i]);
        std::vector<int> own;
        walkOwnWalls(*g, 0, [&](uint16_t w) { own.push_back(w); });
        EXPECT_EQ(own, c.own) << c.what;
        if (!c.game.empty()) {  // where the game's walk ends inside the table too
            EXPECT_EQ(walk(*g, 0), c.game) << c.what;
        }
    }
}

}  // namespace
}  // namespace krello
