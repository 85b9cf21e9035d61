// Soak: long games with random keys and frame times, drawn every frame, checked for sane state.
// The sanitizer build runs 200,000 updates (spread over the seeds) to find undefined behaviour;
// other builds run fewer. KRELLO_SOAK_UPDATES sets the total.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "game/headless_frame.h"
#include "game/headless_platform.h"
#include "game/start_level.h"
#include "render/render_state.h"
#include "world/builtin_level.h"

namespace krello {
namespace {

constexpr int SEEDS = 4;

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

TEST_P(Soak, RandomKeysAndFrameTimesWithRendering) {
    const long updates = totalUpdates() / SEEDS;
    uint32_t seed = GetParam();
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    auto g = std::make_unique<GameState>();
    loadBuiltinLevel(*g);
    HeadlessPlatform platform;
    platform.clock = next();
    startLevel(*g, platform);
    const std::vector<int16_t> kinds = sorted(kindBits(*g));
    std::vector<uint8_t> frame(FRAME_BYTES);
    uint32_t keys = 0;
    for (long u = 0; u < updates; ++u) {
        platform.clock += 1 + next() % 250;
        // Keys change now and then rather than every update, so walks and turns build up.
        if (next() % 8 == 0) keys = next();
        for (int k = 0; k < GAME_KEY_COUNT; ++k) platform.held[static_cast<size_t>(k)] = (keys >> k) & 1;
        runFrame(*g, platform, frame.data());
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

}  // namespace
}  // namespace krello
