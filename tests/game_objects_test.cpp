// Shots, enemies, respawns and hits: cadences, rounding, aiming, reach and the object counts.
#include <gtest/gtest.h>

#include "game/enemies.h"
#include "game/hits.h"
#include "game/shots.h"
#include "game_test_world.h"

namespace krello {
namespace {

using test::countActive;
using test::LoggingPlatform;

// One long room with the player standing in the middle of it, five player-shot slots
// (objects 0..4), eight enemy-shot slots (5..12), and no enemies.
GameState longRoom() {
    GameState g;
    test::buildRooms(g, 1, 40000, 40000);
    test::placePlayer(g, 20000, 20000, 0, 0);
    for (int i = 0; i < 5; ++i) test::placeObject(g, i, OBJ_PLAYER_SHOT, 0, 0, 0, 0);
    for (int i = 5; i < 13; ++i) test::placeObject(g, i, OBJ_ENEMY_SHOT, 0, 0, 0, 0);
    return g;
}

TEST(GameShots, StepsRoundTowardMinusInfinity) {
    GameState g = longRoom();
    GameObject& right = test::placeObject(g, 0, OBJ_PLAYER_SHOT | OBJ_ACTIVE, 20000, 20000, 8000, 0);
    right.vx = 40;
    right.timer = 5000;
    GameObject& left = test::placeObject(g, 1, OBJ_ENEMY_SHOT | OBJ_ACTIVE, 20000, 21000, 8000, 0);
    left.vx = -40;
    left.angle = 1024;
    left.timer = 5000;
    g.frameDt = 17;
    moveShots(g);
    EXPECT_EQ(right.x, 20042);
    EXPECT_EQ(left.x, 19957);
    EXPECT_EQ(right.timer, 4983);
}

TEST(GameShots, AShotLivesFor313StepsAtSixteenMilliseconds) {
    GameState g = longRoom();
    g.player.x = 1000;
    LoggingPlatform p;
    p.hold(GameKey::Space);
    test::step(g, p, 16);
    p.hold(GameKey::Space, false);
    ASSERT_EQ(countActive(g, OBJ_PLAYER_SHOT), 1);
    EXPECT_EQ(g.sectors[0].objectCount, 1);
    int updates = 1;
    while (countActive(g, OBJ_PLAYER_SHOT) == 1 && updates < 1000) {
        test::step(g, p, 16);
        ++updates;
    }
    EXPECT_EQ(updates, 313);
    const GameObject* shot = nullptr;
    for (const GameObject& o : g.objects) if (o.flags & OBJ_PLAYER_SHOT && o.timer != 0) shot = &o;
    ASSERT_NE(shot, nullptr);
    EXPECT_EQ(shot->x, 1000 + 12520);
    EXPECT_EQ(g.sectors[0].objectCount, 0);
}

TEST(GameShots, HeldSpaceFiresEvery44UpdatesAtSixteenMilliseconds) {
    GameState g = longRoom();
    LoggingPlatform p;
    p.hold(GameKey::Space);
    std::vector<int> fired;
    int before = 0;
    for (int u = 1; u <= 100; ++u) {
        test::step(g, p, 16);
        const int now = countActive(g, OBJ_PLAYER_SHOT);
        if (now > before) fired.push_back(u);
        before = now;
    }
    EXPECT_EQ(fired, (std::vector<int>{1, 45, 89}));
}

TEST(GameShots, APressWithEveryShotInFlightOnlyRestartsTheWait) {
    GameState g = longRoom();
    for (int i = 0; i < 5; ++i) g.objects[static_cast<size_t>(i)].flags |= OBJ_ACTIVE;
    const GameState before = g;
    LoggingPlatform p;
    p.hold(GameKey::Space);
    g.frameDt = 16;
    firePlayerShot(g, p);
    EXPECT_EQ(g.fireCooldown, 700);
    EXPECT_EQ(g.sectors[0].objectCount, before.sectors[0].objectCount);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(g.objects[static_cast<size_t>(i)].x, 0);
}

TEST(GameShots, AShotStartsAtThePlayersFeetAlongTheHeading) {
    GameState g = longRoom();
    g.player.angle = 256;
    LoggingPlatform p;
    p.hold(GameKey::Space);
    g.frameDt = 16;
    firePlayerShot(g, p);
    const GameObject& s = g.objects[0];
    EXPECT_EQ(s.flags, OBJ_PLAYER_SHOT | OBJ_ACTIVE);
    EXPECT_EQ(s.z, g.player.z + 8000);
    EXPECT_EQ(s.vx, 28);
    EXPECT_EQ(s.vy, 28);
    EXPECT_EQ(s.angle, 256);
    EXPECT_EQ(s.timer, 5000);
    EXPECT_EQ(g.sectors[0].objectCount, 1);
}

TEST(GameShots, AShotIntoAHigherFloorDiesAtOnce) {
    GameState g;
    test::buildRooms(g, 2, 1000, 1000);
    g.sectors[1].floorZ = -8001;  // the test point 8000 above a floor-0 shot lies below it
    GameObject& s = test::placeObject(g, 0, OBJ_PLAYER_SHOT | OBJ_ACTIVE, 980, 500, 0, 0);
    s.vx = 40;
    s.timer = 5000;
    g.sectors[0].objectCount = 1;
    g.frameDt = 16;
    moveShots(g);
    EXPECT_EQ(s.sector, 1);
    EXPECT_EQ(s.flags, OBJ_PLAYER_SHOT);
    EXPECT_EQ(g.sectors[1].objectCount, 0);
    // Exactly at the floor survives.
    g.sectors[1].floorZ = -8000;
    s = test::placeObject(g, 0, OBJ_PLAYER_SHOT | OBJ_ACTIVE, 980, 500, 0, 0);
    s.vx = 40;
    s.timer = 5000;
    for (Wall& w : g.walls) w.mark = -1;
    moveShots(g);
    EXPECT_EQ(s.flags, OBJ_PLAYER_SHOT | OBJ_ACTIVE);
}

// The enemy shot that an enemy at (player - offset) fires.
GameObject aimFrom(int32_t dx, int32_t dy) {
    GameState g = longRoom();
    GameObject& e = test::placeObject(g, 13, OBJ_ENEMY | OBJ_ACTIVE, 20000 - dx, 20000 - dy, 0, 0);
    e.cooldown = 0;
    g.frameDt = 16;
    moveEnemies(g);
    EXPECT_EQ(countActive(g, OBJ_ENEMY_SHOT), 1);
    EXPECT_EQ(g.objects[5].flags, OBJ_ENEMY_SHOT | OBJ_ACTIVE);
    return g.objects[5];
}

TEST(GameEnemies, AimAtThePlayer) {
    const struct {
        int32_t dx, dy;
        int16_t angle, vx, vy;
    } cases[] = {
        {100, 100, 256, 28, 28},
        {-100, 0, 1024, -40, 0},
        {0, -100, -512, 0, -40},
        {0, 0, 0, 40, 0},
    };
    for (const auto& c : cases) {
        const GameObject s = aimFrom(c.dx, c.dy);
        EXPECT_EQ(s.angle, c.angle) << c.dx << "," << c.dy;
        EXPECT_EQ(s.vx, c.vx) << c.dx << "," << c.dy;
        EXPECT_EQ(s.vy, c.vy) << c.dx << "," << c.dy;
        EXPECT_EQ(s.timer, 5000);
    }
}

TEST(GameEnemies, CooldownBecomesTheDistanceAndIsSetWithNoShotFree) {
    GameState g = longRoom();
    for (int i = 5; i < 13; ++i) g.objects[static_cast<size_t>(i)].flags |= OBJ_ACTIVE;
    GameObject& e = test::placeObject(g, 13, OBJ_ENEMY | OBJ_ACTIVE, 20400, 20300, 0, 0);
    e.cooldown = 16;
    g.frameDt = 16;
    moveEnemies(g);
    EXPECT_EQ(e.cooldown, 125);  // 100^2 + 75^2 = 125^2
}

TEST(GameEnemies, DespawnBeyond4000ButNot4000) {
    GameState g = longRoom();
    GameObject& stays = test::placeObject(g, 13, OBJ_ENEMY | OBJ_ACTIVE, 20000 - 16000, 20000, 0, 0);
    stays.cooldown = 30000;
    GameObject& goes =
        test::placeObject(g, 14, OBJ_ENEMY | OBJ_ACTIVE, 20000 - 3920 * 4, 20000 - 801 * 4, 0, 0);
    goes.cooldown = 30000;
    g.sectors[0].objectCount = 2;
    g.frameDt = 16;
    moveEnemies(g);
    EXPECT_EQ(stays.flags, OBJ_ENEMY | OBJ_ACTIVE);
    EXPECT_EQ(goes.flags, OBJ_ENEMY);
    EXPECT_EQ(g.sectors[0].objectCount, 1);
}

TEST(GameEnemies, RespawnDrawsThreeNumbersAndAnEnemyFiresInItsSixteenthUpdate) {
    GameState g = longRoom();
    for (SpawnPoint& sp : g.spawnPoints) sp = SpawnPoint{21000, 20000, 0, 0, {}};
    test::placeObject(g, 13, OBJ_ENEMY, 0, 0, 0, 0);
    LoggingPlatform p;
    g.randomState = 1;  // the draws 41, 18467, 6334
    test::step(g, p, 16);
    const GameObject* e = nullptr;
    for (const GameObject& o : g.objects) if (o.flags & OBJ_ENEMY) e = &o;
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->flags, OBJ_ENEMY | OBJ_ACTIVE);
    EXPECT_EQ(e->x, 21000 + (18467 & 15) - 7);
    EXPECT_EQ(e->y, 20000 + (6334 & 15) - 7);
    EXPECT_EQ(e->cooldown, 250);
    EXPECT_EQ(e->vx, 10);
    EXPECT_EQ(g.sectors[0].objectCount, 1);
    int firedAt = 0;
    for (int u = 1; u <= 20 && firedAt == 0; ++u) {
        test::step(g, p, 16);
        if (countActive(g, OBJ_ENEMY_SHOT) > 0) firedAt = u;
    }
    EXPECT_EQ(firedAt, 16);
}

TEST(GameHits, OneShotHitsTwoEnemiesAndTwoShotsHitOneEnemy) {
    GameState g = longRoom();
    test::placeObject(g, 0, OBJ_PLAYER_SHOT | OBJ_ACTIVE, 5000, 5000, 0, 0);
    test::placeObject(g, 13, OBJ_ENEMY | OBJ_ACTIVE, 5050, 5000, 0, 1);
    test::placeObject(g, 14, OBJ_ENEMY | OBJ_ACTIVE, 4950, 5000, 0, 2);
    test::placeObject(g, 15, OBJ_ENEMY | OBJ_ACTIVE, 5000, 5120, 0, 2);  // 30 away: a miss
    hitEnemies(g);
    EXPECT_EQ(g.score, 20);
    EXPECT_EQ(g.sectors[0].objectCount, -2);
    EXPECT_EQ(g.sectors[1].objectCount, -1);
    EXPECT_EQ(g.sectors[2].objectCount, -1);
    EXPECT_EQ(g.objects[15].flags, OBJ_ENEMY | OBJ_ACTIVE);

    GameState h = longRoom();
    test::placeObject(h, 0, OBJ_PLAYER_SHOT | OBJ_ACTIVE, 5000, 5000, 0, 0);
    test::placeObject(h, 1, OBJ_PLAYER_SHOT | OBJ_ACTIVE, 5010, 5000, 0, 0);
    test::placeObject(h, 13, OBJ_ENEMY | OBJ_ACTIVE, 5050, 5000, 0, 1);
    hitEnemies(h);
    EXPECT_EQ(h.score, 20);
    EXPECT_EQ(h.sectors[1].objectCount, -2);
    EXPECT_EQ(h.objects[0].flags, OBJ_PLAYER_SHOT);
    EXPECT_EQ(h.objects[1].flags, OBJ_PLAYER_SHOT);
}

TEST(GameHits, ReachIsBelowThirty) {
    GameState g = longRoom();
    // dx = 30 >> 2... in quarter units: 29 * 4 = 116 is a hit, 30 * 4 = 120 is not.
    test::placeObject(g, 0, OBJ_PLAYER_SHOT | OBJ_ACTIVE, 0, 0, 0, 0);
    test::placeObject(g, 13, OBJ_ENEMY | OBJ_ACTIVE, 116, 0, 0, 0);
    test::placeObject(g, 1, OBJ_PLAYER_SHOT | OBJ_ACTIVE, 1000, 0, 0, 0);
    test::placeObject(g, 14, OBJ_ENEMY | OBJ_ACTIVE, 1120, 0, 0, 0);
    hitEnemies(g);
    EXPECT_EQ(g.score, 10);
    EXPECT_EQ(g.objects[14].flags, OBJ_ENEMY | OBJ_ACTIVE);
}

TEST(GameHits, GameOverTintsStopsFiringAndShotsInFlightStillScore) {
    GameState g = longRoom();
    LoggingPlatform p;
    // An enemy shot at the player's feet.
    GameObject& shot = test::placeObject(g, 5, OBJ_ENEMY_SHOT | OBJ_ACTIVE, 20000, 20000, 0, 0);
    shot.timer = 5000;
    test::step(g, p, 16);
    EXPECT_EQ(g.gameOver, 1);
    EXPECT_EQ(p.tints, 1);
    // Still within reach next update: the tint is asked for again.
    test::step(g, p, 1);
    EXPECT_EQ(p.tints, 2);
    shot.flags = OBJ_ENEMY_SHOT;
    // Space asked, nothing fired, no wait started.
    p.hold(GameKey::Space);
    test::step(g, p, 16);
    EXPECT_EQ(countActive(g, OBJ_PLAYER_SHOT), 0);
    EXPECT_EQ(g.fireCooldown, 0);
    // A player shot already in flight still scores.
    GameObject& mine = test::placeObject(g, 0, OBJ_PLAYER_SHOT | OBJ_ACTIVE, 5000, 5000, 0, 0);
    mine.timer = 5000;
    test::placeObject(g, 13, OBJ_ENEMY | OBJ_ACTIVE, 5000, 5000, 0, 0).cooldown = 30000;
    hitEnemies(g);
    EXPECT_EQ(g.score, 10);
}

}  // namespace
}  // namespace krello
