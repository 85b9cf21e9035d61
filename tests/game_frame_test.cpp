// The game's frame: marks cleared before the update, objects sorted after it and before the
// drawing, and a frame that is not drawn advancing the game exactly as a drawn one.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <utility>

#include "game/frame.h"
#include "game/object_sort.h"
#include "game_test_world.h"
#include "replay/state_checksum.h"
#include "world/distance.h"

namespace krello {
namespace {

using namespace krello::test;

// What the frame looked like at the moment it was drawn.
struct DrawSeen {
    int draws = 0;
    bool sorted = false;
    int32_t playerX = 0;
};
DrawSeen seen;

struct RecordDraw final : FrameDrawer {
    void draw(const GameState& g, uint8_t* buffer) override {
        ++seen.draws;
        seen.playerX = g.player.x;
        seen.sorted = true;
        for (int i = 1; i < OBJECT_COUNT; ++i)
            seen.sorted = seen.sorted && playerDistance2D(g.player, g.objects[static_cast<size_t>(i - 1)]) >=
                                             playerDistance2D(g.player, g.objects[static_cast<size_t>(i)]);
        buffer[0] = 1;
    }
} recordDraw;

// Asks for the clock (the update's first step) only after checking every mark is clear.
class MarkCheckingPlatform final : public PlatformSeam {
public:
    const GameState* game = nullptr;
    uint32_t clock = 0;
    int reads = 0;
    bool marksClear = false;
    uint32_t readClock() override {
        ++reads;
        marksClear = true;
        for (const Wall& w : game->walls) marksClear = marksClear && w.mark == -1;
        return clock;
    }
    bool keyHeld(GameKey key) override { return key == GameKey::Up; }
    void tintPalette(int) override {}
};

std::unique_ptr<GameState> walkingGame() {
    auto g = std::make_unique<GameState>();
    buildRooms(*g, 3, 4000, 2000);
    placePlayer(*g, 500, 1000, 0, 0);
    for (int i = 0; i < OBJECT_COUNT; ++i) placeObject(*g, i, 0, 300 + 450 * i, 900 + i, 0, 0);
    for (Wall& w : g->walls) w.mark = 5;  // left over from an earlier frame
    return g;
}

TEST(GameFrame, MarksClearBeforeTheUpdateObjectsSortedAfterItThenTheDrawing) {
    auto g = walkingGame();
    MarkCheckingPlatform platform;
    platform.game = g.get();
    uint8_t pixels[16] = {};
    seen = {};
    const FrameOutput output{&recordDraw, pixels};
    for (int frame = 1; frame <= 20; ++frame) {
        platform.clock += 16;
        runFrame(*g, platform, &output);
        EXPECT_TRUE(platform.marksClear) << frame;
        EXPECT_TRUE(seen.sorted) << frame;
        EXPECT_EQ(seen.playerX, g->player.x) << "drawn after the update";
    }
    EXPECT_EQ(platform.reads, 20);
    EXPECT_EQ(seen.draws, 20);
    EXPECT_GT(g->player.x, 500);

    // A still frame sorts and draws but runs no update. Seen from the far east the order the
    // frames left is near to far, so only a sort puts the farthest, the westernmost, first.
    g->player.x = 40000;
    const uint32_t before = gameStateChecksum(*g);
    drawStill(*g, output);
    EXPECT_EQ(platform.reads, 20);
    EXPECT_EQ(seen.draws, 21);
    EXPECT_TRUE(seen.sorted);
    EXPECT_NE(gameStateChecksum(*g), before);
    EXPECT_EQ(g->objects[0].x, 300);
}

TEST(GameFrame, TheSortMakesTheExchangesOfDistancesTakenAfreshEachComparison) {
    // Many ties and wrapped coordinates, where a distance that did not travel with its record
    // through an exchange would reorder equal records or misplace others.
    std::mt19937 random(7);
    for (int table = 0; table < 40; ++table) {
        auto g = std::make_unique<GameState>();
        g->player.x = table % 2 ? 2000000000 : 0;
        g->player.y = 100;
        for (int i = 0; i < OBJECT_COUNT; ++i) {
            GameObject& o = placeObject(*g, i, static_cast<int16_t>(i), 0, 0, 0, 0);
            const uint32_t spread = table < 20 ? 3 : 1u << 30;
            o.x = static_cast<int32_t>(static_cast<uint32_t>(g->player.x) + random() % spread * 4 - spread);
            o.y = static_cast<int32_t>(random() % 3) * 4;
        }
        auto expected = g->objects;  // exchanged as the arithmetic first read, both distances afresh
        for (int i = 0; i < OBJECT_COUNT; ++i)
            for (int j = i; j < OBJECT_COUNT; ++j)
                if (playerDistance2D(g->player, expected[j]) > playerDistance2D(g->player, expected[i]))
                    std::swap(expected[i], expected[j]);
        sortObjects(*g);
        EXPECT_EQ(std::memcmp(expected.data(), g->objects.data(), sizeof expected), 0) << table;
    }
}

TEST(GameFrame, AFrameNotDrawnAdvancesTheGameExactlyAsADrawnOne) {
    auto drawn = walkingGame();
    auto headless = walkingGame();
    MarkCheckingPlatform a, b;
    a.game = drawn.get();
    b.game = headless.get();
    uint8_t pixels[16] = {};
    const FrameOutput output{&recordDraw, pixels};
    for (int frame = 0; frame < 50; ++frame) {
        a.clock = b.clock = static_cast<uint32_t>(frame * 23);
        runFrame(*drawn, a, &output);
        runFrame(*headless, b);
        ASSERT_EQ(gameStateChecksum(*drawn), gameStateChecksum(*headless)) << frame;
    }
}

}  // namespace
}  // namespace krello
