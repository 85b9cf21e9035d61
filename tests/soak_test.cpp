// Soak: long games with random keys and frame times, drawn every 16th update, checked for sane
// state. The sanitizer build runs 200,000 updates (spread over the seeds) to find undefined
// behaviour, other builds fewer; KRELLO_SOAK_UPDATES sets the total (CI's figure is in
// docs/testing.md).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "game/frame.h"
#include "game/start_level.h"
#include "level/builtin_level.h"
#include "render/render_view.h"
#include "replay/game_run.h"
#include "replay/headless_platform.h"

namespace krello {
namespace {

constexpr int SEEDS = 4;
// Drawing is most of an update's time; every 16th still draws every place the game goes.
constexpr long DRAW_EVERY = 16;

long totalUpdates() {
    if (const char* env = std::getenv("KRELLO_SOAK_UPDATES")) {
        const long v = std::strtol(env, nullptr, 10);
        if (v > 0) return v;
    }
#if defined(__SANITIZE_ADDRESS__)
    return 200000;
#else
    return 20000;
#endif
}

// The kind bits of every record: fixed once the level has started.
std::vector<int16_t> kindBits(const GameState& g) {
    std::vector<int16_t> kinds;
    for (const GameObject& o : g.objects) kinds.push_back(static_cast<int16_t>(o.flags & ~OBJ_ACTIVE));
    return kinds;
}

std::vector<int16_t> sorted(std::vector<int16_t> v) {
    std::sort(v.begin(), v.end());
    return v;
}

class Soak : public testing::TestWithParam<uint32_t> {};

TEST_P(Soak, RandomKeysAndFrameTimesDrawnEvery16th) {
    const long updates = totalUpdates() / SEEDS;
    uint32_t seed = GetParam();
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    // The clock starts anywhere in its range, so the first steps may wrap it.
    HeadlessPlatform platform;
    platform.clock = next();
    GameRun run(platform);
    std::vector<std::string> problems;
    ASSERT_TRUE(run.loadLevel("", problems));
    run.start();
    const GameState* g = &run.game();
    const std::vector<int16_t> kinds = sorted(kindBits(*g));
    std::vector<uint8_t> frame(FRAME_BYTES);
    ViewDrawer drawer;
    const FrameOutput output{&drawer, frame.data()};
    uint8_t keys = 0;
    for (long u = 0; u < updates; ++u) {
        const auto dt = static_cast<uint16_t>(1 + next() % 250);
        // Keys change now and then rather than every update, so walks and turns build up.
        if (next() % 8 == 0) keys = static_cast<uint8_t>(next() & 0x3F);
        platform.apply(ScriptStep{dt, keys});
        run.step(u % DRAW_EVERY == 0 ? &output : nullptr);
        ASSERT_GE(g->frameDt, 1);
        ASSERT_LE(g->frameDt, 200);
        ASSERT_GE(g->player.angle, 0);
        ASSERT_LE(g->player.angle, 2047);
        ASSERT_LE(std::abs(g->turnSpeed), 200);
        ASSERT_LE(std::abs(g->moveSpeed), 200);
        ASSERT_GE(g->fireCooldown, 0);
        if (u % 1000 == 0) {
            ASSERT_EQ(sorted(kindBits(*g)), kinds) << "update " << u;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, Soak, testing::Values(1u, 77u, 4242u, 900001u));

// A level with damaged indices (sectors, walls, loops, portals, object and player sectors)
// plays on without crashing: such indices are checked before anything is read through them.
TEST(SoakDamagedLevel, BadIndicesAreNeverFollowed) {
    uint32_t seed = 99;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    auto bad = [&next] { return static_cast<int16_t>(next() % 4 == 0 ? -1 - static_cast<int>(next() % 5) : 180 + static_cast<int>(next() % 30000)); };
    for (int round = 0; round < 20; ++round) {
        auto g = std::make_unique<GameState>();
        loadBuiltinLevel(*g);
        for (int i = 0; i < 40; ++i) {
            Wall& w = g->walls[next() % WALL_COUNT];
            switch (next() % 3) {
                case 0: w.point2 = bad(); break;
                case 1: w.nextSector = bad(); break;
                default: w.otherWall = bad(); break;
            }
            Sector& s = g->sectors[next() % SECTOR_COUNT];
            if (next() % 2) s.wallCount = static_cast<uint16_t>(next());
            else s.firstWall = bad();
        }
        g->objects[next() % OBJECT_COUNT].sector = bad();
        HeadlessPlatform platform;
        startLevel(*g, platform);
        if (round % 2) g->player.sector = bad();
        for (int u = 0; u < 400; ++u) {
            platform.clock += 1 + next() % 250;
            for (int k = 0; k < GAME_KEY_COUNT; ++k) platform.held[static_cast<size_t>(k)] = next() % 2;
            runFrame(*g, platform);
            ASSERT_GE(g->frameDt, 1);
        }
    }
}

}  // namespace
}  // namespace krello
