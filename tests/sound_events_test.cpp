// The heard events: each rule in a small world, the tour's events against what the game did,
// and the game unchanged by listening to it.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "game/frame.h"
#include "game/start_level.h"
#include "game_test_world.h"
#include "level/builtin_level.h"
#include "replay/input_script.h"
#include "replay/state_checksum.h"
#include "sound/game_sound.h"
#include "sound/sound_events.h"

namespace krello::sound {
namespace {

using namespace krello::test;
using Counts = std::array<int, EVENT_KIND_COUNT>;

constexpr int32_t ROOM = 4000;
constexpr int32_t NO_FIRE = 30000;  // an enemy's wait that outlasts every scenario

void count(const EventList& list, Counts& counts) {
    for (int i = 0; i < list.count; ++i) ++counts[static_cast<size_t>(list.events[static_cast<size_t>(i)].kind)];
}

// Three rooms in a row (x 0..12000, y 0..2000), the player at (500, 1000) facing +x, five idle
// player shots, eight idle enemy shots, and every spawn point in the far room.
void basicWorld(GameState& g, int rooms = 3, int32_t width = ROOM) {
    buildRooms(g, rooms, width, 2000);
    placePlayer(g, 500, 1000, 0, 0);
    for (int i = 0; i < 5; ++i) placeObject(g, i, OBJ_PLAYER_SHOT, 0, 0, 0, 0);
    for (int i = 5; i < 13; ++i) placeObject(g, i, OBJ_ENEMY_SHOT, 0, 0, 0, 0);
    const int16_t last = static_cast<int16_t>(rooms - 1);
    for (SpawnPoint& p : g.spawnPoints) p = SpawnPoint{rooms * width - 500, 1000, 0, last, {}};
}

GameObject& enemy(GameState& g, int i, int32_t x, int32_t y, int16_t cooldown = NO_FIRE) {
    GameObject& e = placeObject(g, i, OBJ_ENEMY | OBJ_ACTIVE, x, y, 0, static_cast<int16_t>(x / ROOM));
    e.cooldown = cooldown;
    return e;
}

struct Scenario {
    const char* name;
    std::function<void(GameState&)> setup;
    uint8_t keys;      // held in the first keyFrames updates
    int keyFrames;
    int frames;
    uint32_t dt;
    std::vector<std::pair<EventKind, int>> expected;  // every other kind: none
};

Counts play(const Scenario& s, GameState& g) {
    s.setup(g);
    EventTracker tracker;
    tracker.restart(g);
    LoggingPlatform platform;
    EventList list;
    Counts counts{};
    for (int f = 0; f < s.frames; ++f) {
        for (int k = 0; k < GAME_KEY_COUNT; ++k)
            platform.hold(static_cast<GameKey>(k), f < s.keyFrames && (s.keys & (1 << k)));
        platform.clock += s.dt;
        runFrame(g, platform);  // the object sort included: events must survive it
        list.clear();
        tracker.observe(g, list);
        count(list, counts);
    }
    return counts;
}

const uint8_t SPACE = keyBit(GameKey::Space);
const uint8_t A = keyBit(GameKey::A);

TEST(SoundEvents, EachRuleInASmallWorld) {
    using enum EventKind;
    const Scenario scenarios[] = {
        {"a shot fired dies on the far wall", [](GameState& g) { basicWorld(g); }, SPACE, 1, 300, 16,
         {{PlayerFires, 1}, {ShotOnWall, 1}}},
        {"no idle shot: a press fires nothing",
         [](GameState& g) {
             basicWorld(g);
             for (int i = 0; i < 5; ++i) g.objects[static_cast<size_t>(i)] = GameObject{};
         },
         SPACE, 1, 10, 16, {}},
        {"a shot that runs out of time in the open is not heard ending",
         [](GameState& g) { basicWorld(g, 4); }, SPACE, 1, 330, 16, {{PlayerFires, 1}}},
        {"a shot dies on a raised floor",
         [](GameState& g) {
             basicWorld(g);
             g.sectors[1].floorZ = -9000;
         },
         SPACE, 1, 100, 16, {{PlayerFires, 1}, {ShotOnWall, 1}}},
        {"a hit, and the enemy back at a spawn point",
         [](GameState& g) {
             basicWorld(g);
             enemy(g, 13, 1500, 1000);
         },
         SPACE, 1, 30, 16, {{PlayerFires, 1}, {EnemyHit, 1}, {EnemyRespawns, 1}}},
        {"one shot through two enemies: two hits",
         [](GameState& g) {
             basicWorld(g);
             enemy(g, 13, 1500, 990);
             enemy(g, 14, 1500, 1010);
         },
         SPACE, 1, 30, 16, {{PlayerFires, 1}, {EnemyHit, 2}, {EnemyRespawns, 2}}},
        // It fires again after as many ms as it is quarter units away (625), before the first shot
        // has gone past.
        {"an enemy fires, the shot comes past and reaches the player",
         [](GameState& g) {
             basicWorld(g);
             enemy(g, 13, 3000, 1000, 0);
         },
         0, 0, 70, 16, {{EnemyFires, 2}, {ShotPassesClose, 1}, {PlayerHit, 1}}},
        {"an enemy shot passes 500 units to the side: heard once",
         [](GameState& g) {
             basicWorld(g);
             GameObject& s = placeObject(g, 5, OBJ_ENEMY_SHOT | OBJ_ACTIVE, 4500, 1500, 0, 1);
             s.vx = -40;
             s.angle = 1024;
             s.timer = 4000;
         },
         0, 0, 120, 16, {{ShotPassesClose, 1}}},
        {"an enemy shot passes 1700 units away: not heard",
         [](GameState& g) {
             basicWorld(g);
             placePlayer(g, 500, 200, 0, 0);
             GameObject& s = placeObject(g, 5, OBJ_ENEMY_SHOT | OBJ_ACTIVE, 4500, 1900, 0, 1);
             s.vx = -40;
             s.angle = 1024;
             s.timer = 4000;
         },
         0, 0, 120, 16, {}},
        {"a jump and its landing", [](GameState& g) { basicWorld(g); }, A, 2, 80, 16, {{Jump, 1}, {Landing, 1}}},
        {"a jump under a low ceiling lands softly: not heard",
         [](GameState& g) {
             basicWorld(g);
             g.sectors[0].ceilingZ = -8500;
         },
         A, 2, 80, 16, {{Jump, 1}}},
        {"an enemy too far away is taken away and comes back",
         [](GameState& g) {
             basicWorld(g, 1, 40000);
             enemy(g, 13, 30000, 1000);
             for (SpawnPoint& p : g.spawnPoints) p = SpawnPoint{3000, 1000, 0, 0, {}};
         },
         0, 0, 10, 16, {{EnemyRespawns, 1}}},
        // At 4 ms an update a fresh enemy does not move, and one 250 quarter units away that
        // fires gets a wait of 250 again: still not a respawn.
        {"an enemy firing where it stands at its spawn point is not a respawn",
         [](GameState& g) {
             basicWorld(g);
             GameObject& e = enemy(g, 13, 1500, 1000, 4);
             e.vx = 10;
             for (SpawnPoint& p : g.spawnPoints) p = SpawnPoint{1500, 1000, 0, 0, {}};
         },
         0, 0, 1, 4, {{EnemyFires, 1}}},
    };
    for (const Scenario& s : scenarios) {
        auto g = std::make_unique<GameState>();
        const Counts got = play(s, *g);
        Counts want{};
        for (const auto& [kind, n] : s.expected) want[static_cast<size_t>(kind)] = n;
        for (int k = 0; k < EVENT_KIND_COUNT; ++k)
            EXPECT_EQ(got[static_cast<size_t>(k)], want[static_cast<size_t>(k)]) << s.name << ": event kind " << k;
    }
}

// A footstep every 1000 units walked on the floor, the first 300 units after setting off.
TEST(SoundEvents, FootstepsFollowTheDistanceWalked) {
    for (const int frames : {0, 10, 60, 200}) {
        auto g = std::make_unique<GameState>();
        const Scenario walk{"walk", [](GameState& w) { basicWorld(w); }, keyBit(GameKey::Up), 1000, frames + 1, 16, {}};
        const Counts got = play(walk, *g);
        const int32_t walked = g->player.x - 500;
        const int want = walked < 300 ? 0 : 1 + (walked - 300) / 1000;
        EXPECT_EQ(got[static_cast<size_t>(EventKind::Footstep)], want) << frames << " updates, " << walked << " units";
    }
}

// The game the tour plays, asked by the game itself: how many shots it fires and jumps it
// makes, counted where the update asks for Space and A.
class CountingPlatform final : public PlatformSeam {
public:
    const GameState* game = nullptr;
    uint32_t clock = 0;
    uint8_t keys = 0;
    int shots = 0;
    int jumps = 0;

    uint32_t readClock() override { return clock; }
    bool keyHeld(GameKey key) override {
        const bool held = keys & keyBit(key);
        if (held && key == GameKey::Space && game->gameOver == 0 && idleShot()) ++shots;
        if (held && key == GameKey::A && game->onGround == 1) ++jumps;
        return held;
    }
    void tintPalette(int) override {}

private:
    bool idleShot() const {
        for (const GameObject& o : game->objects)
            if ((o.flags & OBJ_PLAYER_SHOT) && !(o.flags & OBJ_ACTIVE)) return true;
        return false;
    }
};

// The last "game" line of the tour's committed states: its score and whether it ended.
std::pair<int, int> tourScoreAndGameOver() {
    std::ifstream in(std::string(KRELLO_SOURCE_DIR) + "/tests/data/tour.expected");
    std::string line, last;
    while (std::getline(in, line))
        if (line.rfind("game ", 0) == 0) last = line;
    std::istringstream fields(last);
    std::string word;
    fields >> word;
    long long v[12] = {};  // frameDt lastTime turnSpeed moveSpeed fallSpeed onGround fireCooldown score gameOver ...
    for (long long& x : v) fields >> x;
    return {static_cast<int>(v[7]), static_cast<int>(v[8])};
}

struct TourRun {
    Counts counts{};
    std::vector<uint32_t> checksums;  // every 100 updates
    int score = 0;
    int shots = 0;
    int jumps = 0;
};

TourRun playTour(bool listening) {
    std::vector<ScriptStep> steps;
    std::string error;
    EXPECT_TRUE(readInputScriptFile(std::string(KRELLO_SOURCE_DIR) + "/tests/data/tour.input", steps, error)) << error;
    auto g = std::make_unique<GameState>();
    loadBuiltinLevel(*g);
    CountingPlatform platform;
    platform.game = g.get();
    startLevel(*g, platform);
    const SoundBank bank;
    Mixer mixer(bank);
    GameSound sound(mixer);
    if (listening) sound.restart(*g);
    std::vector<int16_t> pcm(2 * 4410);
    TourRun run;
    for (size_t i = 0; i < steps.size(); ++i) {
        platform.clock += steps[i].dt;
        platform.keys = steps[i].keys;
        runFrame(*g, platform);
        if (listening) {
            sound.afterFrame(*g);
            count(sound.lastEvents(), run.counts);
            mixer.render(pcm.data(), static_cast<size_t>(g->frameDt) * SAMPLE_RATE / 1000);
        }
        if (i % 100 == 99) run.checksums.push_back(gameStateChecksum(*g));
    }
    run.score = g->score;
    run.shots = platform.shots;
    run.jumps = platform.jumps;
    return run;
}

TEST(SoundEvents, TheToursEventsMatchWhatTheGameDidAndListeningChangesNothing) {
    using enum EventKind;
    const TourRun heard = playTour(true);
    const auto [score, gameOver] = tourScoreAndGameOver();
    ASSERT_GT(score, 0);
    EXPECT_EQ(heard.score, score);
    const auto n = [&](EventKind k) { return heard.counts[static_cast<size_t>(k)]; };
    EXPECT_EQ(n(EnemyHit), score / 10) << "as many hit sounds as hits";
    EXPECT_EQ(n(PlayerHit), gameOver);
    EXPECT_EQ(n(PlayerFires), heard.shots);
    EXPECT_EQ(n(Jump), heard.jumps);
    EXPECT_GE(n(EnemyRespawns), n(EnemyHit)) << "every enemy hit comes back";
    EXPECT_LE(n(ShotOnWall), n(PlayerFires));
    for (const EventKind k : {EnemyFires, ShotPassesClose, Landing, Footstep, ShotOnWall})
        EXPECT_GT(n(k), 0) << "event kind " << static_cast<int>(k);
    for (const EventKind k : {Pause, Unpause, QuitPrompt}) EXPECT_EQ(n(k), 0);

    const TourRun silent = playTour(false);
    EXPECT_EQ(heard.checksums, silent.checksums);
    EXPECT_EQ(heard.checksums.size(), 30u);
}

}  // namespace
}  // namespace krello::sound
