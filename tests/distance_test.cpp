// The distance metrics: shifts that round down, the height weighting, the root's thresholds and
// coordinates far enough apart to overflow 32 bits.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "world/distance.h"

namespace krello {
namespace {

PlayerState playerAt(int32_t x, int32_t y, int32_t z) { return PlayerState{x, y, z, 0, 0}; }

GameObject objectAt(int32_t x, int32_t y, int32_t z) {
    GameObject o{};
    o.x = x;
    o.y = y;
    o.z = z;
    return o;
}

TEST(PlayerDistance2D, QuarterUnitsIgnoringHeight) {
    const PlayerState p = playerAt(1000, 2000, 0);
    EXPECT_EQ(playerDistance2D(p, objectAt(600, 1700, 0)), 125);   // 100^2 + 75^2
    EXPECT_EQ(playerDistance2D(p, objectAt(1000, 2000, -77777)), 0);
}

TEST(PlayerDistance2D, ShiftsRoundTowardMinusInfinity) {
    // Differences of 5 and -5 give terms 1 and -2: 1 + 4 = 5, root 2.
    EXPECT_EQ(playerDistance2D(playerAt(5, -5, 0), objectAt(0, 0, 0)), 2);
    // A difference of -5 alone: (-2)^2 = 4, root 2; of 5 alone: 1.
    EXPECT_EQ(playerDistance2D(playerAt(0, 0, 0), objectAt(5, 0, 0)), 2);
    EXPECT_EQ(playerDistance2D(playerAt(5, 0, 0), objectAt(0, 0, 0)), 1);
}

TEST(PlayerDistance2D, RootIsTruncatedAtTheGameThresholds) {
    EXPECT_EQ(playerDistance2D(playerAt(0, 0, 0), objectAt(120, 0, 0)), 30);
    // S = 16008001 = 4001^2: 4001 * 4 along x.
    EXPECT_EQ(playerDistance2D(playerAt(0, 0, 0), objectAt(16004, 0, 0)), 4001);
}

TEST(ObjectDistance3D, ThresholdSumsOf899And900And16008000) {
    // S = dx^2 + dy^2 + dz^2 with dz = (a.z - b.z) >> 6.
    // 899 = 29^2 + 7^2 + 3^2 and 16008000 = 4000^2 + 80^2 + 40^2.
    const GameObject a = objectAt(0, 0, 0);
    EXPECT_EQ(objectDistance3D(objectAt(29 * 4, 7 * 4, 3 * 64), a), 29);   // S = 899
    EXPECT_EQ(objectDistance3D(objectAt(30 * 4, 0, 0), a), 30);            // S = 900
    EXPECT_EQ(objectDistance3D(objectAt(4000 * 4, 80 * 4, 40 * 64), a), 4000);  // S = 16008000
    EXPECT_EQ(objectDistance3D(objectAt(4001 * 4, 0, 0), a), 4001);        // S = 16008001
}

TEST(ObjectDistance3D, HeightWeighsOneSixteenthAndOrderMatters) {
    const GameObject a = objectAt(0, 0, 0);
    EXPECT_EQ(objectDistance3D(objectAt(0, 0, 64 * 50), a), 50);
    // a.z - b.z = -1 shifts to -1 (a term of 1), b.z - a.z = 1 shifts to 0.
    EXPECT_EQ(objectDistance3D(a, objectAt(0, 0, 1)), 1);
    EXPECT_EQ(objectDistance3D(objectAt(0, 0, 1), a), 0);
}

TEST(PlayerDistance3D, StandingPlayerAboveAnObjectOnTheFloor) {
    // Eye 8000 above the floor (z grows downward): dz = (-8000 + 9000) >> 6 = 15.
    const int32_t floorZ = 40000;
    EXPECT_EQ(playerDistance3D(playerAt(0, 0, floorZ - 8000), objectAt(0, 0, floorZ)), 15);
    // The 9000 is added before the shift: -9001 + 9000 = -1 gives a term of -1.
    EXPECT_EQ(playerDistance3D(playerAt(0, 0, 0), objectAt(0, 0, 9001)), 1);
    EXPECT_EQ(playerDistance3D(playerAt(400, 300, 0), objectAt(0, 0, 9000)), 125);
}

TEST(Distances, ExtremeCoordinatesNeitherOverflowNorLookClose) {
    const int32_t lo = std::numeric_limits<int32_t>::min();
    const int32_t hi = std::numeric_limits<int32_t>::max();
    // The difference wraps to -1 as a 32-bit register holds it: a term of -1.
    EXPECT_EQ(playerDistance2D(playerAt(hi, 0, 0), objectAt(lo, 0, 0)), 1);
    // A difference of 2^30 gives a term of 2^28 whose square wraps to 0 in 32 bits.
    EXPECT_EQ(playerDistance2D(playerAt(1 << 30, 0, 0), objectAt(0, 0, 0)), 0);
    // A sum that wraps negative reports the farthest distance, not a hit.
    const int32_t far = 46341 * 4;  // 46341^2 > 2^31
    EXPECT_EQ(playerDistance2D(playerAt(far, 0, 0), objectAt(0, 0, 0)), hi);
    EXPECT_EQ(objectDistance3D(objectAt(far, 0, 0), objectAt(0, 0, 0)), hi);
    EXPECT_GT(playerDistance3D(playerAt(0, 0, hi), objectAt(0, 0, lo)), 30);
}

}  // namespace
}  // namespace krello
