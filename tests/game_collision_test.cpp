// Wall collision: crossings, push-back, portals and their -2 marks, shots and enemy bounces.
#include <gtest/gtest.h>

#include <cmath>

#include "game/collision.h"
#include "game_test_world.h"
#include "world/portable_trig.h"
#include "world/random.h"

namespace krello {
namespace {

// Three rooms of 1000 x 1000 along x; the player in room 0.
GameState threeRooms() {
    GameState g;
    test::buildRooms(g, 3, 1000, 1000);
    test::placePlayer(g, 900, 500, 0, 0);
    return g;
}

TEST(GameCollision, ZeroLengthAndParallelMovesCrossNothing) {
    GameState g = threeRooms();
    EXPECT_EQ(scanSectorWalls(g, 0, 500, 500, 500, 500, 0).wall, -1);
    // Along the bottom wall's own line.
    EXPECT_EQ(scanSectorWalls(g, 0, 500, 0, 900, 0, 0).wall, -1);
    // A move that stays inside.
    EXPECT_EQ(scanSectorWalls(g, 0, 500, 500, 600, 600, 0).wall, -1);
}

TEST(GameCollision, EndingOnAWallLineIsNotACrossingButStartingOnItIs) {
    GameState g = threeRooms();
    EXPECT_EQ(scanSectorWalls(g, 0, 900, 500, 1000, 500, 0).wall, -1);   // t = 1
    EXPECT_EQ(scanSectorWalls(g, 0, 1000, 500, 1010, 500, 0).wall, 1);   // t = 0
    EXPECT_EQ(scanSectorWalls(g, 0, 1000, 500, 990, 500, 1024).wall, 1);  // either way
    // Through a corner (u = 1 of the bottom wall, u = 0 of the right wall): both qualify at
    // the same distance, so the wall tested first wins.
    EXPECT_EQ(scanSectorWalls(g, 0, 900, 100, 1100, -100, 1792).wall, 0);
}

TEST(GameCollision, SolidWallSetsThePlayerBackFromThePreviousPosition) {
    // The start ledge's loop; every wall solid.
    GameState g;
    const int32_t pts[6][2] = {{8928, 40928}, {6272, 40000}, {7200, 38272},
                               {10848, 39680}, {10080, 41344}, {9856, 41280}};
    g.sectors[0].firstWall = 0;
    g.sectors[0].wallCount = 6;
    for (int i = 0; i < 6; ++i) {
        Wall& w = g.walls[static_cast<size_t>(i)];
        w.x = pts[i][0];
        w.y = pts[i][1];
        w.point2 = static_cast<int16_t>((i + 1) % 6);
        w.otherWall = -1;
        w.nextSector = -1;
    }
    g.prevPlayer = PlayerState{9046, 38995, 0, 0, 0};
    g.player = PlayerState{9078, 38995, 0, 0, 0};
    collidePlayer(g, 0);
    EXPECT_EQ(g.player.x, 9027);
    EXPECT_EQ(g.player.y, 39041);
    EXPECT_EQ(g.player.sector, 0);
}

TEST(GameCollision, PlayerCrossesTwoPortalsAndMarksBothSidesOfEach) {
    GameState g = threeRooms();
    g.player.x = 2100;
    collidePlayer(g, 0);
    EXPECT_EQ(g.player.sector, 2);
    EXPECT_EQ(g.player.x, 2100);
    for (int w : {1, 7, 5, 11}) EXPECT_EQ(g.walls[static_cast<size_t>(w)].mark, -2) << w;
    EXPECT_EQ(g.walls[9].mark, -1);  // room 2's right wall was not crossed
}

TEST(GameCollision, PortalThenSolidWallKeepsTheNewSectorAtThePushedPoint) {
    GameState g;
    test::buildRooms(g, 2, 1000, 1000);
    test::placePlayer(g, 900, 500, 0, 0);
    g.player.x = 2100;
    collidePlayer(g, 0);
    EXPECT_EQ(g.player.sector, 1);
    EXPECT_EQ(g.player.x, 850);  // 50 back from x = 900, away from room 1's right wall
    EXPECT_EQ(g.player.y, 500);
}

TEST(GameCollision, APortalCrossedEarlierInTheUpdateRefusesLaterScans) {
    GameState g = threeRooms();
    g.player.x = 1100;
    collidePlayer(g, 0);
    ASSERT_EQ(g.player.sector, 1);
    g.sectors[0].objectCount = 1;
    g.sectors[1].objectCount = 0;
    // A shot through the same portal keeps its sector and count.
    GameObject& shot = test::placeObject(g, 0, OBJ_PLAYER_SHOT | OBJ_ACTIVE, 1050, 600, 0, 0);
    collideObject(g, 0, 950, 600, 0);
    EXPECT_EQ(shot.sector, 0);
    EXPECT_EQ(g.sectors[0].objectCount, 1);
    EXPECT_EQ(g.sectors[1].objectCount, 0);
    // An enemy through it is neither bounced nor moved.
    const uint32_t random = g.randomState;
    GameObject& enemy = test::placeObject(g, 1, OBJ_ENEMY | OBJ_ACTIVE, 1050, 400, 0, 0);
    collideObject(g, 0, 950, 400, 1);
    EXPECT_EQ(enemy.x, 1050);
    EXPECT_EQ(enemy.sector, 0);
    EXPECT_EQ(g.randomState, random);
}

TEST(GameCollision, ShotMovesItsCountThroughPortalsAndDiesOnASolidWall) {
    GameState g = threeRooms();
    g.sectors[0].objectCount = 1;
    GameObject& shot = test::placeObject(g, 3, OBJ_PLAYER_SHOT | OBJ_ACTIVE, 2100, 500, 0, 0);
    collideObject(g, 0, 900, 500, 3);
    EXPECT_EQ(shot.sector, 2);
    EXPECT_EQ(g.sectors[0].objectCount, 0);
    EXPECT_EQ(g.sectors[1].objectCount, 0);
    EXPECT_EQ(g.sectors[2].objectCount, 1);
    // Into room 2's far wall: dead where its move ended, beyond the wall.
    for (Wall& w : g.walls) w.mark = -1;
    shot.x = 3100;
    collideObject(g, 2, 2900, 500, 3);
    EXPECT_EQ(shot.flags, OBJ_PLAYER_SHOT);
    EXPECT_EQ(shot.x, 3100);
    EXPECT_EQ(shot.sector, 2);
    EXPECT_EQ(g.sectors[2].objectCount, 0);
}

TEST(GameCollision, EnemyBouncesOffPortalsWithOneDraw) {
    GameState g = threeRooms();
    GameObject& enemy = test::placeObject(g, 0, OBJ_ENEMY | OBJ_ACTIVE, 1010, 500, 0, 0);
    enemy.angle = 32000;
    GameState expected = g;
    const int r = drawRandom(expected);
    collideObject(g, 0, 990, 500, 0);
    EXPECT_EQ(g.randomState, expected.randomState);
    EXPECT_EQ(enemy.sector, 0);
    EXPECT_EQ(enemy.x, 940);  // 50 back from 990, toward the inside of room 0
    EXPECT_EQ(enemy.y, 500);
    // The heading wraps at 16 bits and is not reduced into one turn.
    const int16_t angle = static_cast<int16_t>(static_cast<uint16_t>(32000 + 924 + r % 200));
    EXPECT_EQ(enemy.angle, angle);
    EXPECT_LT(enemy.angle, 0);
    const SinCos heading = sinCosOfAngle(angle);
    EXPECT_EQ(enemy.vx, static_cast<int16_t>(heading.cos * 40));
    EXPECT_EQ(enemy.vy, static_cast<int16_t>(heading.sin * 40));
    EXPECT_EQ(g.walls[1].mark, -1);
}

TEST(GameCollision, CorruptIndicesAreIgnoredRatherThanRead) {
    GameState g = threeRooms();
    g.walls[2].point2 = 30000;  // a loop pointing outside the table
    g.walls[1].nextSector = 500;  // a portal into no sector: solid
    g.player.x = 1100;
    collidePlayer(g, 0);
    EXPECT_EQ(g.player.sector, 0);
    EXPECT_EQ(g.player.x, 850);
    g.player.x = 1100;
    collidePlayer(g, -5);  // no sector: nothing to scan
    EXPECT_EQ(g.player.x, 1100);
}

}  // namespace
}  // namespace krello
