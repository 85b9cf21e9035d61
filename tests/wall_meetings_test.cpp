// Which walls meet: the contact of two segments, exact orientation past 32 bits, and the sweep
// against every pair.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "level/loop_geometry.h"
#include "level/wall_meetings.h"

namespace krello {
namespace {

TEST(WallMeetings, TwoSegmentsMeetNotAtACornerOrOtherwise) {
    struct Case {
        const char* what;
        Pt a, b, c, d;
        Contact expected;
    };
    constexpr int64_t BIG = int64_t{3} << 31;  // differences past the 64-bit shortcut
    const Case cases[] = {
        {"apart", {0, 0}, {10, 0}, {0, 5}, {10, 5}, Contact::None},
        {"boxes touch, lines do not", {0, 0}, {10, 10}, {10, 0}, {20, -10}, Contact::None},
        {"crossing", {0, 0}, {10, 10}, {0, 10}, {10, 0}, Contact::Fault},
        {"shared end", {0, 0}, {10, 0}, {10, 0}, {10, 10}, Contact::Corner},
        {"end on the other's middle", {0, 0}, {10, 0}, {5, 0}, {5, 10}, Contact::Fault},
        {"collinear, end to end", {0, 0}, {10, 0}, {10, 0}, {20, 0}, Contact::Corner},
        {"collinear, overlapping", {0, 0}, {10, 0}, {5, 0}, {20, 0}, Contact::Fault},
        {"collinear, apart", {0, 0}, {10, 0}, {11, 0}, {20, 0}, Contact::None},
        {"vertical, overlapping", {0, 0}, {0, 10}, {0, 10}, {0, 3}, Contact::Fault},
        {"huge, crossing", {-BIG, -BIG}, {BIG, BIG}, {-BIG, BIG}, {BIG, -BIG}, Contact::Fault},
        {"huge, one unit apart", {-BIG, 0}, {BIG, 1}, {-BIG, 1}, {BIG, 2}, Contact::None},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(contact(k.a, k.b, k.c, k.d), k.expected) << k.what;
        EXPECT_EQ(contact(k.c, k.d, k.a, k.b), k.expected) << k.what << ", swapped";
    }
}

TEST(WallMeetings, OrientationIsExactOnBothSidesOfTheShortcut) {
    // Products near 2^62 and past it whose difference is 1: s(s-2) - (s-1)^2 = -1.
    for (const int64_t span : {(int64_t{1} << 31) - 1, int64_t{1} << 31, int64_t{1} << 32, int64_t{1} << 33}) {
        EXPECT_EQ(orient({0, 0}, {span, span - 1}, {span - 1, span - 2}), -1) << span;
        EXPECT_EQ(orient({0, 0}, {span - 1, span - 2}, {span, span - 1}), 1) << span;
        EXPECT_EQ(orient({0, 0}, {span, span - 1}, {span, span}), 1) << span;
        EXPECT_EQ(orient({0, 0}, {span, span - 1}, {span, span - 2}), -1) << span;
        EXPECT_EQ(orient({0, 0}, {span, span}, {-span, -span}), 0) << span;
        EXPECT_EQ(orient({0, 0}, {span, 0}, {0, span}), 1) << span;  // span^2, past 2^63 at the end
        EXPECT_EQ(orient({0, 0}, {0, span}, {span, 0}), -1) << span;
    }
}

// The sweep finds exactly the pairs the plain comparison of every pair finds, in the same order,
// on walls crowded onto a small grid so that many touch, cross and overlap.
TEST(WallMeetings, TheSweepFindsWhatEveryPairFinds) {
    auto g = std::make_unique<GameState>();
    std::mt19937 random(24);
    WallMeetings sweep;
    for (int round = 0; round < 40; ++round) {
        const int count = 3 + round * 3;
        for (int w = 0; w < count; ++w) {
            Wall& wall = g->walls[static_cast<size_t>(w)];
            wall.x = static_cast<int32_t>(random() % 8) * 1024;
            wall.y = static_cast<int32_t>(random() % 8) * 1024;
            wall.point2 = static_cast<int16_t>(random() % 4 == 0 ? w : (w + 1) % count);  // some of zero length
        }
        std::vector<std::pair<int, int>> expected;
        for (int i = 0; i < count; ++i)
            for (int j = i + 1; j < count; ++j) {
                const auto at = [&](int w) { return Pt{g->walls[static_cast<size_t>(w)].x, g->walls[static_cast<size_t>(w)].y}; };
                const Pt a = at(i), b = at(g->walls[static_cast<size_t>(i)].point2);
                const Pt c = at(j), d = at(g->walls[static_cast<size_t>(j)].point2);
                if (a == b || c == d || contact(a, b, c, d) == Contact::None) continue;
                expected.emplace_back(i, j);
            }
        std::vector<std::pair<int, int>> found;
        for (const WallMeeting& m : sweep.find(*g, 0, count)) found.emplace_back(m.first, m.second);
        EXPECT_EQ(found, expected) << "round " << round;
    }
}

}  // namespace
}  // namespace krello
