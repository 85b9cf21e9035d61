// The playtest bot: its eyes see exactly the drawn billboards, it acts after its reaction time and
// dodges only as a regular, it turns through the game's key ramp, and its areas and figures hold.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <utility>
#include <string>
#include <vector>

#include "game/frame.h"
#include "game/player_motion.h"
#include "game/start_level.h"
#include "level/builtin_level.h"
#include "playtest/bot_brain.h"
#include "playtest/game_watch.h"
#include "playtest/level_areas.h"
#include "playtest/level_graph.h"
#include "playtest/perception.h"
#include "playtest/playtest_report.h"
#include "playtest/turn_keys.h"
#include "render/render_threads.h"
#include "render/render_view.h"
#include "replay/headless_platform.h"
#include "replay/input_script.h"
#include "world/screen.h"

namespace krello::playtest {
namespace {

std::unique_ptr<GameState> builtinLevel() {
    auto g = std::make_unique<GameState>();
    loadBuiltinLevel(*g);
    return g;
}

// A frame drawn on one thread, and the billboards its scratch says it drew.
uint32_t drawOn(RenderThreads& eyes, const GameState& g, std::vector<uint8_t>& frame) {
    drawView(g, frame.data(), &eyes);
    return eyes.scratch(0).spritesDrawn;
}

// The renderer's record of its billboards is what a player sees: object i is in it exactly when
// drawing it alone changes the frame. Checked along the tour, where enemies and shots come and go
// in view and behind walls.
TEST(PlaytestEyes, TheBillboardRecordHoldsExactlyTheObjectsThatReachTheScreen) {
    std::vector<ScriptStep> tour;
    std::string error;
    ASSERT_TRUE(readInputScriptFile(std::string(KRELLO_SOURCE_DIR) + "/tests/data/tour.input", tour, error)) << error;
    auto g = builtinLevel();
    HeadlessPlatform keys;
    startLevel(*g, keys);
    RenderThreads eyes(1, bestRenderPath());
    std::vector<uint8_t> full(FRAME_BYTES), alone(FRAME_BYTES), none(FRAME_BYTES);
#if defined(KRELLO_SANITIZED)
    const size_t every = 150;
#else
    const size_t every = 25;
#endif
    int drawn = 0, hidden = 0;
    for (size_t update = 0; update < tour.size(); ++update) {
        keys.apply(tour[update]);
        runFrame(*g, keys);
        if (update % every != 0) continue;
        const uint32_t record = drawOn(eyes, *g, full);
        GameState view = *g;
        for (GameObject& o : view.objects) o.flags = static_cast<int16_t>(o.flags & ~OBJ_ACTIVE);
        drawOn(eyes, view, none);
        for (int i = 0; i < OBJECT_COUNT; ++i) {
            if (!(g->objects[static_cast<size_t>(i)].flags & OBJ_ACTIVE)) continue;
            view.objects[static_cast<size_t>(i)].flags = g->objects[static_cast<size_t>(i)].flags;
            const uint32_t own = drawOn(eyes, view, alone);
            view.objects[static_cast<size_t>(i)].flags = static_cast<int16_t>(view.objects[static_cast<size_t>(i)].flags & ~OBJ_ACTIVE);
            const bool shows = alone != none;
            EXPECT_EQ(((record >> i) & 1u) != 0, shows) << "update " << update << ", object " << i;
            EXPECT_EQ(own, shows ? 1u << i : 0u) << "update " << update << ", object " << i;
            (shows ? drawn : hidden) += 1;
        }
    }
    EXPECT_GT(drawn, 10);   // the tour shows enemies and shots ...
    EXPECT_GT(hidden, 10);  // ... and passes many that are out of sight
}

// perceive() passes on the drawn enemies and enemy shots, and nothing of any other object.
TEST(PlaytestEyes, OnlyDrawnEnemiesAndEnemyShotsArePerceived) {
    auto g = builtinLevel();
    const int16_t kinds[] = {OBJ_ENEMY | OBJ_ACTIVE, OBJ_ENEMY_SHOT | OBJ_ACTIVE, OBJ_PLAYER_SHOT | OBJ_ACTIVE,
                             OBJ_ENEMY | OBJ_ACTIVE, OBJ_ENEMY_SHOT};
    for (int i = 0; i < 5; ++i) {
        GameObject& o = g->objects[static_cast<size_t>(i)];
        o.flags = kinds[i];
        o.x = 1000 * (i + 1);
        o.y = -7 * i;
        o.sector = static_cast<int16_t>(i);
    }
    const struct {
        uint32_t drawn;
        std::vector<int> seen;  // object numbers, in table order
    } cases[] = {
        {0u, {}},
        {0b11111u, {0, 1, 3, 4}},  // a drawn record is what the screen showed, whatever its flags
        {0b00100u, {}},            // the player's own shot is no news
        {0b01010u, {1, 3}},
        {~0u << 5, {}},            // others drawn: none of these five
    };
    for (const auto& c : cases) {
        for (size_t i = 5; i < OBJECT_COUNT; ++i) g->objects[i].flags = 0;
        Perception p;
        perceive(*g, c.drawn, 1234, p);
        ASSERT_EQ(p.count, c.seen.size()) << c.drawn;
        for (size_t k = 0; k < c.seen.size(); ++k) {
            const GameObject& o = g->objects[static_cast<size_t>(c.seen[k])];
            EXPECT_EQ(p.seen[k].x, o.x);
            EXPECT_EQ(p.seen[k].y, o.y);
            EXPECT_EQ(p.seen[k].sector, o.sector);
            EXPECT_EQ(p.seen[k].kind, (o.flags & OBJ_ENEMY) ? Seen::Enemy : Seen::EnemyShot);
        }
    }
}

// Two brains with one seed, shown the same frames except that one also sees something from
// time T on: their keys agree until the reaction time has passed, and then part, unless the
// sight means nothing to that skill (a novice never turns from a shot).
TEST(PlaytestBrain, ItActsOnWhatItSawAfterItsReactionTimeAndOnlyARegularDodges) {
    auto level = builtinLevel();
    const LevelGraph graph(*level);
    LevelAreas areas;
    std::string error;
    ASSERT_TRUE(parseLevelAreas(builtinLevelAreas(), "built-in", *level, areas, error)) << error;
    constexpr uint32_t SEEN_AT = 1400;
    const struct {
        const SkillProfile* skill;
        Seen kind;
        bool reacts;
    } cases[] = {
        {&NOVICE, Seen::Enemy, true},
        {&REGULAR, Seen::Enemy, true},
        {&NOVICE, Seen::EnemyShot, false},
        {&REGULAR, Seen::EnemyShot, true},
    };
    for (const auto& c : cases) {
        BotBrain blind(graph, areas, *c.skill, 7), seeing(graph, areas, *c.skill, 7);
        Perception frame;
        frame.self = {9000, 44000, -7000, 0, 128};  // in the courtyard, looking east
        frame.onGround = true;
        uint32_t firstDifference = 0;
        for (uint32_t t = 14; t < 3000; t += 14) {
            frame.timeMs = t;
            frame.count = 0;
            const uint8_t unseen = blind.think(frame);
            // A shot or an enemy 3000 to the south (90 degrees to the right), from SEEN_AT on.
            if (t >= SEEN_AT) frame.seen[frame.count++] = {c.kind, 9000, 47000, 128};
            const uint8_t seen = seeing.think(frame);
            if (unseen != seen && firstDifference == 0) firstDifference = t;
        }
        const std::string what = std::string(c.skill->name) + (c.kind == Seen::Enemy ? " enemy" : " shot");
        if (!c.reacts) {
            EXPECT_EQ(firstDifference, 0u) << what;
            continue;
        }
        EXPECT_GE(firstDifference, SEEN_AT + static_cast<uint32_t>(c.skill->reactionMs)) << what;
        EXPECT_LT(firstDifference, SEEN_AT + static_cast<uint32_t>(c.skill->reactionMs) + 300) << what;
    }
}

// The turn keys bring the view to rest on the aim through the game's own turning: from rest to
// within a unit of the aim, without swinging past it, whatever the frame time.
TEST(PlaytestBrain, ItTurnsOntoAnAimThroughTheGamesKeyRamp) {
    const struct {
        int error;
        int16_t dt;
    } cases[] = {{1, 14}, {-3, 14}, {40, 15}, {-300, 14}, {700, 13}, {-1000, 16}, {512, 20}, {90, 8}};
    for (const auto& c : cases) {
        GameState g{};
        g.player.angle = 1000;
        const int aim = 1000 + c.error;
        HeadlessPlatform keys;
        int settled = -1;
        for (int update = 0; update < 120; ++update) {
            const double error = wrapAngleUnits(aim - g.player.angle);
            if (std::abs(error) <= 1.0 && g.turnSpeed == 0 && settled < 0) settled = update;
            const TurnChoice turn = chooseTurn(error, g.turnSpeed, c.dt);
            keys.held.fill(false);
            keys.held[static_cast<size_t>(GameKey::Left)] = (turn.keys & keyBit(GameKey::Left)) != 0;
            keys.held[static_cast<size_t>(GameKey::Right)] = (turn.keys & keyBit(GameKey::Right)) != 0;
            g.frameDt = c.dt;
            g.prevPlayer = g.player;
            const int before = g.player.angle;
            turnPlayer(g, keys);
            EXPECT_EQ(wrapAngleUnits(g.player.angle - before), turn.nextTurn) << c.error;
            // It may come to rest a unit past the aim, never swing beyond it.
            const double left = wrapAngleUnits(aim - g.player.angle);
            if (left != 0 && (left > 0) != (c.error > 0)) {
                EXPECT_LE(std::abs(left), 1.0) << c.error;
            }
        }
        EXPECT_GE(settled, 0) << "a turn of " << c.error << " never came to rest on its aim";
        EXPECT_LE(std::abs(wrapAngleUnits(aim - g.player.angle)), 1.0) << c.error;
    }
}

// Routes over the built-in level: every sector is reached from the start, first through its one
// opening; and a portal to avoid makes every route behind it cost a long detour.
TEST(PlaytestMap, RoutesReachEverySectorFromTheStartThroughItsOpening) {
    auto level = builtinLevel();
    const LevelGraph graph(*level);
    std::array<uint32_t, WALL_COUNT> avoid{};
    Routes routes;
    const Vec2 start{static_cast<double>(level->player.x), static_cast<double>(level->player.y)};
    planRoutes(graph, level->player.sector, start, avoid, 0, routes);
    ASSERT_EQ(graph.portals(151).size(), 1u);
    EXPECT_EQ(graph.portals(151)[0].wall, 830);
    for (int s = 0; s < SECTOR_COUNT; ++s) {
        if (s == 151) continue;
        EXPECT_LT(routes.cost[static_cast<size_t>(s)], 1.0e5) << s;
        EXPECT_EQ(routes.first[static_cast<size_t>(s)], 0) << s;
    }
    avoid[830] = 1000;
    planRoutes(graph, level->player.sector, start, avoid, 999, routes);
    EXPECT_GE(routes.cost[128], 1.0e6);
    planRoutes(graph, level->player.sector, start, avoid, 1000, routes);  // avoided until then only
    EXPECT_LT(routes.cost[128], 1.0e5);
    EXPECT_TRUE(graph.contains(151, start));
    EXPECT_EQ(graph.sectorAt({9000, 44000}, 151), 128);
    EXPECT_FALSE(graph.walkable(151, start, {7000, 41500}));       // through the ledge's wall
    EXPECT_TRUE(graph.walkable(151, start, {9500, 41500}, 830));   // out through its opening
}

// A step pushed back just past a portal leaves the player outside the sector the game holds,
// where walls no longer stop it. The bot walks back in the way the game allows: played here in
// the game itself, from places where the playtests found players so.
TEST(PlaytestBrain, APlayerLeftOutsideItsSectorWalksBackIn) {
    auto level = builtinLevel();
    const LevelGraph graph(*level);
    LevelAreas areas;
    std::string error;
    ASSERT_TRUE(parseLevelAreas(builtinLevelAreas(), "built-in", *level, areas, error)) << error;
    const struct {
        int32_t x, y;
        int16_t held;
        int16_t angle;
    } cases[] = {
        {23440, 39872, 181, 0},     // on the cellar stairs, the game holding the bridge
        {22000, 39900, 77, 1024},   // in the scriptorium, the game holding a step
        {22885, 39688, 77, 150},    // on the bridge, the game holding the step beside it
        {24001, 40067, 77, 1945},   // on a step, the game holding the one above
    };
    for (const auto& c : cases) {
        GameState g = *level;
        for (GameObject& o : g.objects) o.flags = 0;  // no enemies, no shots
        for (GameObject& o : g.objects) o.sector = 154;
        HeadlessPlatform keys;
        startLevel(g, keys);
        g.player.x = c.x;
        g.player.y = c.y;
        g.player.sector = c.held;
        g.player.angle = c.angle;
        g.player.z = g.sectors[static_cast<size_t>(c.held)].floorZ - EYE_HEIGHT;
        ASSERT_NE(graph.sectorAt({static_cast<double>(c.x), static_cast<double>(c.y)}, c.held), c.held);
        BotBrain brain(graph, areas, REGULAR, 3);
        Perception seen;
        uint32_t now = 0;
        long inside = -1;
        for (long update = 0; update < 700 && inside < 0; ++update) {
            perceive(g, 0, now, seen);
            keys.apply({14, brain.think(seen)});
            runFrame(g, keys);
            now += 14;
            const Vec2 at{static_cast<double>(g.player.x), static_cast<double>(g.player.y)};
            if (graph.contains(g.player.sector, at)) inside = update;
        }
        EXPECT_GE(inside, 0) << "from (" << c.x << ", " << c.y << ") held " << c.held << ": still outside after 10 s";
    }
}

// The referee follows an enemy shot from where it was fired through the sort's reshuffles to
// the player it reaches, notes where hit enemies stood, and counts only lasting stretches
// outside the sector the game holds.
TEST(PlaytestReferee, TheFatalShotIsTracedToWhereItWasFiredAndKillsAndLossesAreNoted) {
    auto level = builtinLevel();
    const LevelGraph graph(*level);
    LevelAreas areas;
    std::string error;
    ASSERT_TRUE(parseLevelAreas(builtinLevelAreas(), "built-in", *level, areas, error)) << error;
    GameState g = *level;
    for (GameObject& o : g.objects) o.flags = static_cast<int16_t>(o.flags & ~OBJ_ACTIVE);
    g.player = {9000, 44000, 9216 - EYE_HEIGHT, 0, 128};  // in the courtyard
    GameWatch watch(graph, areas, 5, 60000);
    uint32_t now = 0;
    auto update = [&](int16_t dt) {
        g.frameDt = dt;
        now += static_cast<uint32_t>(dt);
        watch.afterUpdate(g, now);
    };
    // Slot 15 (an enemy shot) is fired from (9000, 47000) toward the player; a decoy shot flies
    // beside it with the same velocity, fired earlier.
    GameObject& shot = g.objects[15];
    shot = {};
    shot.flags = OBJ_ENEMY_SHOT | OBJ_ACTIVE;
    shot.x = 9000, shot.y = 47000, shot.z = 9216, shot.sector = 128;
    shot.vx = 0, shot.vy = -40, shot.angle = -512, shot.timer = 5000;
    GameObject& decoy = g.objects[16];
    decoy = shot;
    decoy.x = 9500, decoy.timer = 4000;
    update(14);
    // The shots fly on, their timers running down; the sort moves them from slot to slot.
    auto fly = [&] {
        std::swap(g.objects[15], g.objects[16]);
        for (GameObject& o : g.objects)
            if (o.flags & OBJ_ENEMY_SHOT) o.y -= 35, o.timer = static_cast<int16_t>(o.timer - 14);
    };
    for (int k = 0; k < 20; ++k) {
        fly();
        update(14);
    }
    // An enemy is hit at (7000, 45000): the score rises and it is out of play until the next update.
    GameObject& enemy = g.objects[3];
    enemy.flags = OBJ_ENEMY;
    enemy.x = 7000, enemy.y = 45000, enemy.sector = 128;
    g.score = 10;
    fly();
    update(14);
    enemy.flags = OBJ_ENEMY | OBJ_ACTIVE;
    // The real shot reaches the player (the decoy is 500 aside).
    for (GameObject& o : g.objects)
        if (o.flags & OBJ_ENEMY_SHOT) o.y = 44000, o.timer = static_cast<int16_t>(o.timer - 14);
    g.gameOver = 1;
    update(14);
    const GameRecord& r = watch.record();
    ASSERT_TRUE(r.died);
    EXPECT_TRUE(r.death.shooterKnown);
    EXPECT_EQ(r.death.shooter.x, 9000);
    EXPECT_EQ(r.death.shooter.y, 47000);
    EXPECT_EQ(r.death.shooter.sector, 128);
    EXPECT_EQ(r.death.player.x, 9000);
    ASSERT_EQ(r.kills.size(), 1u);
    EXPECT_EQ(r.kills[0].x, 7000);
    EXPECT_EQ(r.score, 10);
    EXPECT_EQ(r.survivalMs, 23u * 14u);
    EXPECT_FALSE(r.lost);
    EXPECT_EQ(r.areasReached, 1);  // the courtyard
    // Outside the sector the game holds: a moment is no loss, half a second is.
    GameWatch astray(graph, areas, 5, 60000);
    g.gameOver = 0;
    g.player.sector = 2;  // the trench, while the player stands in the courtyard
    now = 0;
    for (int k = 0; k < 20; ++k) {
        now += 14;
        astray.afterUpdate(g, now);
    }
    EXPECT_FALSE(astray.record().lost);
    for (int k = 0; k < 30; ++k) {
        now += 14;
        astray.afterUpdate(g, now);
    }
    EXPECT_TRUE(astray.record().lost);
    EXPECT_EQ(astray.record().firstLost.at.sector, 128);
    EXPECT_EQ(astray.record().firstLost.heldSector, 2);
    EXPECT_EQ(astray.record().lostMs, 50u * 14u);  // from the update that left
    EXPECT_EQ(astray.record().areasReached, 0);  // nothing counts as reached while lost
}

// The referee follows the player's shots through the sort: what each was fired at (an enemy on a
// floor a shot cannot reach in height counts apart) and how it ended, by a hit, its time, a floor
// or ceiling on the way, or else a wall; the summary adds the games up (and the tool's test checks
// the JSON's sums against its games).
TEST(PlaytestReferee, PlayerShotsAreTalliedByTargetAndEnding) {
    auto level = builtinLevel();
    const LevelGraph graph(*level);
    LevelAreas areas;
    std::string error;
    ASSERT_TRUE(parseLevelAreas(builtinLevelAreas(), "built-in", *level, areas, error)) << error;
    enum class End { Hit, Time, Height, Wall };
    const struct {
        End end;
        int32_t enemyZ;  // the courtyard's floor is 9216; 2048 higher is out of a shot's reach
        bool outOfHeight;
    } cases[] = {
        {End::Hit, 9216, false}, {End::Time, 9216, false}, {End::Height, 7168, true}, {End::Wall, 7168, true},
    };
    std::vector<GameRecord> games;
    for (const auto& c : cases) {
        GameState g = *level;
        for (GameObject& o : g.objects) o.flags = static_cast<int16_t>(o.flags & ~OBJ_ACTIVE);
        g.player = {9000, 44000, 9216 - EYE_HEIGHT, 512, 128};  // in the courtyard, facing +y
        GameObject& enemy = g.objects[3];
        enemy.flags = OBJ_ENEMY | OBJ_ACTIVE;
        enemy.x = 9000, enemy.y = 47000, enemy.z = c.enemyZ, enemy.sector = 128;
        GameObject& shot = g.objects[10];
        shot = {};
        shot.flags = OBJ_PLAYER_SHOT | OBJ_ACTIVE;
        shot.x = 9000, shot.y = 44035, shot.z = 9216, shot.sector = 128;
        shot.vx = 0, shot.vy = 40, shot.angle = 512;
        shot.timer = c.end == End::Time ? 42 : 4986;
        GameWatch watch(graph, areas, 1, 60000);
        uint32_t now = 0;
        auto update = [&] {
            g.frameDt = 14;
            now += 14;
            watch.afterUpdate(g, now);
        };
        update();
        for (int k = 0; k < 3; ++k) {
            std::swap(g.objects[10], g.objects[11]);  // the sort moves the record
            GameObject& s = g.objects[k % 2 == 0 ? 11 : 10];
            s.y += 35;
            s.timer = static_cast<int16_t>(s.timer - 14);
            if (k < 2 && s.timer > 0) {
                update();
                continue;
            }
            s.flags = OBJ_PLAYER_SHOT;
            if (c.end == End::Hit) {
                s.x = enemy.x, s.y = enemy.y;
                enemy.flags = OBJ_ENEMY;
                g.score += 10;
            }
            if (c.end == End::Height) s.sector = 151;  // the start ledge's floor is far above the shot
            update();
            break;
        }
        const ShotTally& t = watch.record().shots;
        EXPECT_EQ(t.fired, 1);
        EXPECT_EQ(t.reachedEnemySector, 1);
        EXPECT_EQ(t.noEnemyInLine, 0);
        EXPECT_EQ(t.targetOutOfHeight, c.outOfHeight ? 1 : 0);
        EXPECT_EQ(t.targetSectors[128], 1);
        EXPECT_EQ(t.hits, c.end == End::Hit ? 1 : 0);
        EXPECT_EQ(t.endedHit, c.end == End::Hit ? 1 : 0) << static_cast<int>(c.end);
        EXPECT_EQ(t.endedTime, c.end == End::Time ? 1 : 0) << static_cast<int>(c.end);
        EXPECT_EQ(t.endedHeight, c.end == End::Height ? 1 : 0) << static_cast<int>(c.end);
        EXPECT_EQ(t.endedWall, c.end == End::Wall ? 1 : 0) << static_cast<int>(c.end);
        games.push_back(watch.record());
    }
    const PlaytestSummary s = summarize(games, areas);
    EXPECT_EQ(s.shots.fired, 4);
    EXPECT_EQ(s.shots.targetOutOfHeight, 2);
    EXPECT_EQ(s.shots.endedHit + s.shots.endedTime + s.shots.endedHeight + s.shots.endedWall, 4);
    ASSERT_EQ(s.targets.size(), 1u);
    EXPECT_EQ(s.targets[0].sector, 128);
    EXPECT_EQ(s.targets[0].outOfHeight, 2);
}

TEST(PlaytestAreas, AreasFilesAreReadWithOneLineForAFault) {
    auto level = builtinLevel();
    const struct {
        std::string text;
        std::string error;  // empty: reads
    } cases[] = {
        {"# c\n\narea \"the hall\" 140 72-75 12\narea \"yard\"   128\n", ""},
        {"area \"a\" 1\nroom \"b\" 2\n", "f:2: expected 'area \"NAME\" SECTORS', got 'room'"},
        {"area a 1\n", "f:1: expected the area's name in quotes after 'area'"},
        {"area \"a 1\n", "f:1: the area's name has no closing quote"},
        {"area \"  \" 1\n", "f:1: the area's name is empty"},
        {"area \"a\" 1\narea \"a\" 2\n", "f:2: area \"a\" is named twice"},
        {"area \"a\"\n", "f:1: area \"a\" holds no sector"},
        {"area \"a\" 191\n", "f:1: sector 191 is not a sector of the level"},
        {"area \"a\" 3-x\n", "f:1: expected a sector number or a range FROM-TO, got '3-x'"},
        {"area \"a\" 5-3\n", "f:1: expected a sector number or a range FROM-TO, got '5-3'"},
        {"area \"a\" -1\n", "f:1: sector -1 is not a sector of the level"},
        {"area \"a\" 4-6\narea \"b\" 6\n", "f:2: sector 6 is already in area \"a\""},
        {"# nothing\n", "f: names no area"},
    };
    for (const auto& c : cases) {
        LevelAreas areas;
        std::string error;
        EXPECT_EQ(parseLevelAreas(c.text, "f", *level, areas, error), c.error.empty()) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
    LevelAreas areas;
    std::string error;
    ASSERT_TRUE(parseLevelAreas(cases[0].text, "f", *level, areas, error));
    EXPECT_EQ(areas.names, (std::vector<std::string>{"the hall", "yard"}));
    for (int s : {140, 72, 73, 74, 75, 12}) EXPECT_EQ(areas.areaOfSector(s), 0) << s;
    EXPECT_EQ(areas.areaOfSector(128), 1);
    EXPECT_EQ(areas.areaOfSector(13), -1);
}

// The built-in areas come from the generator with the level: every sector in exactly one.
TEST(PlaytestAreas, TheBuiltInLevelsAreasHoldEverySectorOnce) {
    auto level = builtinLevel();
    LevelAreas areas;
    std::string error;
    ASSERT_TRUE(parseLevelAreas(builtinLevelAreas(), "level/krello.areas", *level, areas, error)) << error;
    EXPECT_GE(areas.count(), 20);
    for (int s = 0; s < SECTOR_COUNT; ++s) EXPECT_GE(areas.areaOfSector(s), 0) << "sector " << s;
    const LevelAreas own = sectorAreas(*level);
    EXPECT_EQ(own.count(), SECTOR_COUNT);
    EXPECT_EQ(own.names[151], "sector 151");
}

TEST(PlaytestFigures, QuartilesLieBetweenNeighboursInProportion) {
    const struct {
        std::vector<double> values;
        Spread want;
    } cases[] = {
        {{}, {0, 0, 0}},
        {{7}, {7, 7, 7}},
        {{4, 1, 3, 2}, {1.75, 2.5, 3.25}},
        {{10, 0, 20, 30, 40}, {10, 20, 30}},
        {{5, 5, 1}, {3, 5, 5}},
    };
    for (const auto& c : cases) {
        const Spread s = spreadOf(c.values);
        EXPECT_DOUBLE_EQ(s.q1, c.want.q1);
        EXPECT_DOUBLE_EQ(s.median, c.want.median);
        EXPECT_DOUBLE_EQ(s.q3, c.want.q3);
    }
}

}  // namespace
}  // namespace krello::playtest
