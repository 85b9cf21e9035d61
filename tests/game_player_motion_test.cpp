// The frame clock, turning, walking, jumping and the floor and ceiling clamps.
#include <gtest/gtest.h>

#include "game/frame_clock.h"
#include "game/player_motion.h"
#include "game_test_world.h"

namespace krello {
namespace {

using test::LoggingPlatform;

TEST(GameFrameClock, ClampsGapsAndWrapsTo16Bits) {
    GameState g;
    LoggingPlatform p;
    const struct {
        uint32_t last, now;
        int16_t dt;
    } cases[] = {
        {1000, 1000, 1},         // same reading: never a zero step
        {1000, 1250, 200},       // a long gap is cut to 200
        {1000, 995, 200},        // a clock that stepped back counts as a long gap
        {1000, 1000 + 65546, 10},  // only the low 16 bits of the gap count
        {0xFFFFFFF0u, 0x10, 32},   // the 32-bit clock wraps
        {1000, 1200, 200},
        {1000, 1201, 200},
        {1000, 1199, 199},
    };
    for (const auto& c : cases) {
        g.lastTime = c.last;
        p.clock = c.now;
        advanceFrameClock(g, p);
        EXPECT_EQ(g.frameDt, c.dt) << c.last << " -> " << c.now;
        EXPECT_EQ(g.lastTime, c.now);
    }
}

TEST(GamePlayerMotion, SpeedsDecayWithoutCrossingZeroAndClampSymmetrically) {
    EXPECT_EQ(decayAndClampSpeed(8, 16), 0);
    EXPECT_EQ(decayAndClampSpeed(-8, 16), 0);
    EXPECT_EQ(decayAndClampSpeed(0, 16), 0);
    EXPECT_EQ(decayAndClampSpeed(210, 5), 200);
    EXPECT_EQ(decayAndClampSpeed(-210, 5), -200);
    EXPECT_EQ(decayAndClampSpeed(-201, 1), -200);
    EXPECT_EQ(decayAndClampSpeed(-150, 16), -134);
}

TEST(GamePlayerMotion, WalkSpeedRisesAndFallsInSteps) {
    GameState g;
    test::buildRooms(g, 1, 100000, 100000);
    test::placePlayer(g, 50000, 50000, 0, 0);
    LoggingPlatform p;
    p.hold(GameKey::Up);
    for (int i = 1; i <= 12; ++i) {
        test::step(g, p, 16);
        EXPECT_EQ(g.moveSpeed, 16 * i);
    }
    test::step(g, p, 16);
    EXPECT_EQ(g.moveSpeed, 200);
    // Full speed at heading 0 covers 32 units along x in 16 ms.
    const int32_t x = g.player.x;
    test::step(g, p, 16);
    EXPECT_EQ(g.player.x - x, 32);
    EXPECT_EQ(g.player.y, 50000);
    p.hold(GameKey::Up, false);
    for (int v = 184; v >= 8; v -= 16) {
        test::step(g, p, 16);
        EXPECT_EQ(g.moveSpeed, v);
    }
    test::step(g, p, 16);
    EXPECT_EQ(g.moveSpeed, 0);
    // Backwards reaches -200, not -199.
    p.hold(GameKey::Down);
    for (int i = 0; i < 20; ++i) test::step(g, p, 16);
    EXPECT_EQ(g.moveSpeed, -200);
}

TEST(GamePlayerMotion, TurningWrapsTheHeadingAndBothKeysCancel) {
    GameState g;
    test::buildRooms(g, 1, 100000, 100000);
    test::placePlayer(g, 50000, 50000, 2040, 0);
    LoggingPlatform p;
    g.turnSpeed = 200;
    p.hold(GameKey::Right);  // +32, decay -16, clamp: stays 200
    test::step(g, p, 16);
    EXPECT_EQ(g.turnSpeed, 200);
    EXPECT_EQ(g.player.angle, 11);  // 2040 + 19 wraps
    g.turnSpeed = -200;
    p.hold(GameKey::Right, false);
    p.hold(GameKey::Left);
    g.player.angle = 5;
    test::step(g, p, 16);
    EXPECT_EQ(g.player.angle, 2034);  // 5 - 19 wraps below 0
    // Both held: the key changes cancel, leaving the decay alone.
    g.turnSpeed = 100;
    p.hold(GameKey::Right);
    test::step(g, p, 16);
    EXPECT_EQ(g.turnSpeed, 84);
}

TEST(GamePlayerMotion, WalkingAtQuarterTurnMovesAlongY) {
    GameState g;
    test::buildRooms(g, 1, 100000, 100000);
    test::placePlayer(g, 50000, 50000, 512, 0);
    LoggingPlatform p;
    p.hold(GameKey::Up);
    g.moveSpeed = 200;
    test::step(g, p, 16);
    EXPECT_EQ(g.player.x, 50000);
    EXPECT_EQ(g.player.y, 50032);
}

// z deltas of one jump at a steady frame time, until the player is back on the floor.
std::vector<int32_t> jumpDeltas(uint32_t dt, bool holdA) {
    GameState g;
    test::buildRooms(g, 1, 100000, 100000, 0, -1000000);
    test::placePlayer(g, 50000, 50000, 0, 0);
    LoggingPlatform p;
    test::step(g, p, dt);  // settle on the floor
    EXPECT_EQ(g.onGround, 1);
    p.hold(GameKey::A);
    std::vector<int32_t> deltas;
    for (int i = 0; i < 200; ++i) {
        const int32_t z = g.player.z;
        test::step(g, p, dt);
        if (!holdA) p.hold(GameKey::A, false);
        deltas.push_back(g.player.z - z);
        if (g.onGround == 1) break;
    }
    return deltas;
}

TEST(GamePlayerMotion, JumpHeightDependsOnTheFrameRate) {
    const std::vector<int32_t> d16 = jumpDeltas(16, false);
    ASSERT_GE(d16.size(), 32u);
    int32_t rise = 0;
    for (size_t i = 0; i < 32; ++i) {
        EXPECT_EQ(d16[i], -2000 + 64 * static_cast<int32_t>(i)) << i;
        rise -= d16[i];
    }
    EXPECT_EQ(rise, 32256);
    int32_t total = 0;
    for (int32_t d : d16) total += d;
    EXPECT_EQ(total, 0);  // lands back on the same floor

    const std::vector<int32_t> d32 = jumpDeltas(32, false);
    int32_t rise32 = 0;
    for (int32_t d : d32) rise32 -= d < 0 ? d : 0;
    EXPECT_EQ(rise32, 16640);
}

TEST(GamePlayerMotion, HeldAJumpsAgainRightAfterLandingButNotInTheAir) {
    GameState g;
    test::buildRooms(g, 1, 100000, 100000, 0, -1000000);
    test::placePlayer(g, 50000, 50000, 0, 0);
    LoggingPlatform p;
    test::step(g, p, 16);
    p.hold(GameKey::A);
    test::step(g, p, 16);
    EXPECT_EQ(g.fallSpeed, -2000);
    test::step(g, p, 16);
    EXPECT_EQ(g.fallSpeed, -1936);  // A in the air does nothing
    while (g.onGround == 0) test::step(g, p, 16);
    test::step(g, p, 16);
    EXPECT_EQ(g.fallSpeed, -2000);
}

TEST(GamePlayerMotion, LowSectorHoldsTheEyeAtTheCeilingStanding) {
    GameState g;
    test::buildRooms(g, 1, 10000, 10000, 0, -5000);
    test::placePlayer(g, 5000, 5000, 0, 0);
    LoggingPlatform p;
    test::step(g, p, 16);
    EXPECT_EQ(g.player.z, -5000);
    EXPECT_EQ(g.onGround, 1);
    EXPECT_EQ(g.fallSpeed, 0);
}

TEST(GamePlayerMotion, GameOverSinksTheViewAndStopsWalking) {
    GameState g;
    test::buildRooms(g, 1, 100000, 100000, 0, -1000000);
    test::placePlayer(g, 50000, 50000, 0, 0);
    LoggingPlatform p;
    test::step(g, p, 16);
    g.gameOver = 1;
    g.fireCooldown = 10000;  // keep Space out of the key log
    p.hold(GameKey::Up);
    p.hold(GameKey::A);
    p.asked.clear();
    test::step(g, p, 16);
    // Left, Right, then A; Up and Down are no longer asked. A still jumps once, since the
    // previous update left the player standing.
    const std::vector<GameKey> expected{GameKey::Left, GameKey::Right, GameKey::A};
    EXPECT_EQ(p.asked, expected);
    EXPECT_EQ(g.fallSpeed, -2000);
    p.hold(GameKey::A, false);
    int32_t z = g.player.z;
    for (int i = 0; i < 400 && z != -1000; ++i) {
        test::step(g, p, 16);
        EXPECT_EQ(g.onGround, 0);
        z = g.player.z;
    }
    EXPECT_EQ(z, -1000);
    test::step(g, p, 16);
    EXPECT_EQ(g.player.z, -1000);
    EXPECT_EQ(g.moveSpeed, 0);
    EXPECT_EQ(g.player.x, 50000);
}

TEST(GamePlayerMotion, KeysAreAskedOnceEachInOrder) {
    GameState g;
    test::buildRooms(g, 1, 100000, 100000);
    test::placePlayer(g, 50000, 50000, 0, 0);
    LoggingPlatform p;
    test::step(g, p, 16);
    const std::vector<GameKey> expected{GameKey::Left, GameKey::Right, GameKey::Up,
                                        GameKey::Down, GameKey::A,     GameKey::Space};
    EXPECT_EQ(p.asked, expected);
    // While the fire wait runs, Space is not asked at all.
    p.hold(GameKey::Space);
    test::step(g, p, 16);
    p.asked.clear();
    test::step(g, p, 16);
    EXPECT_EQ(p.asked.size(), 5u);
}

}  // namespace
}  // namespace krello
