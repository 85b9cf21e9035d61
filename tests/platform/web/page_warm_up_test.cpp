// The timedemo page's warm-up: when its frames count as settled, and what it draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/web/page_warm_up.h"

namespace krello {
namespace {

// The turn the gauge first calls the frames settled at, given each turn's fastest frame (the
// last one repeated once the list runs out).
int settlesAt(const std::vector<uint64_t>& fastest) {
    WarmUpGauge gauge;
    while (!gauge.settled()) gauge.turnEnded(fastest[std::min(static_cast<size_t>(gauge.turns()), fastest.size() - 1)]);
    return gauge.turns();
}

TEST(PageWarmUp, TheGaugeSettlesOnceTheFramesStopGettingFaster) {
    struct Case {
        std::vector<uint64_t> fastest;
        int turns;
        const char* what;
    };
    const Case cases[] = {
        {{200}, WarmUpGauge::MIN_TURNS, "fast from the start: the fewest turns"},
        {{800, 800, 600, 400, 250, 200}, 9, "optimised function by function: three turns after the last gain"},
        {{200, 196, 192, 188}, WarmUpGauge::MIN_TURNS, "gains under 5% are noise"},
        {{800, 300, 800, 800, 800}, 5, "a turn slowed by the machine is no gain and no loss"},
        {{800, 800, 800, 600, 600}, 7, "a late gain starts the count again"},
        {{1000, 900, 800, 700, 600, 500, 400, 300, 200, 150, 110, 80, 60, 45, 34, 25, 19, 14, 10, 8, 6, 4, 3, 2, 1, 0},
         29, "gains to the end: settled three turns after the last"},
    };
    for (const Case& c : cases) EXPECT_EQ(settlesAt(c.fastest), c.turns) << c.what;
    std::vector<uint64_t> falling;
    for (uint64_t t = 1u << 30; falling.size() < 60; t = t * 9 / 10) falling.push_back(t);
    EXPECT_EQ(settlesAt(falling), WarmUpGauge::MAX_TURNS) << "a machine too busy to tell: the warm-up still ends";
}

// A clock that each frame drawn moves on by the next of its frame times.
struct ScriptedFrames final : PacerClock, FrameDrawer {
    std::vector<uint64_t> frameMicros;
    size_t next = 0;
    uint64_t now = 1000;
    std::vector<int16_t> angles;  // the heading of each view drawn
    const GameState* drawn = nullptr;
    uint64_t nowMicros() override { return now; }
    void sleepMicros(uint64_t) override {}
    void draw(const GameState& g, uint8_t* frameBuffer) override {
        angles.push_back(g.player.angle);
        drawn = &g;
        frameBuffer[0] = 1;
        now += frameMicros[std::min(next++, frameMicros.size() - 1)];
    }
};

TEST(PageWarmUp, TurnsDrawTheOpeningViewRoundTheCompassUntilSettled) {
    auto game = std::make_unique<GameState>();
    game->player.angle = 2000;
    game->score = 7;
    const auto before = std::make_unique<GameState>(*game);
    PageWarmUp warmUp(*game);
    ScriptedFrames frames;
    // The first turn's frames take 4 ms (9 frames fill its 33 ms), then 1 ms: 33 frames a turn.
    frames.frameMicros = std::vector<uint64_t>(9, 4000);
    frames.frameMicros.push_back(1000);
    EXPECT_FALSE(warmUp.turn(frames, frames, 33000));
    ASSERT_EQ(frames.angles.size(), 9u);
    int turns = 1;
    while (turns < 100 && !warmUp.turn(frames, frames, 33000)) ++turns;
    ++turns;
    EXPECT_EQ(turns, 2 + WarmUpGauge::STALE_TURNS) << "the slow turn, the gain, then three turns without";
    const size_t drawn = 9u + 33u * (1 + WarmUpGauge::STALE_TURNS);
    EXPECT_EQ(frames.angles.size(), drawn);
    EXPECT_TRUE(warmUp.done());
    EXPECT_TRUE(warmUp.turn(frames, frames, 33000)) << "settled: no more frames";
    EXPECT_EQ(frames.angles.size(), drawn);
    // A sixteenth of a turn from one frame to the next, from the game's own heading, wrapping.
    for (size_t i = 0; i < frames.angles.size(); ++i)
        EXPECT_EQ(frames.angles[i], static_cast<int16_t>((2000 + (i % 16) * 128) % 2048)) << "frame " << i;
    EXPECT_NE(frames.drawn, game.get()) << "a copy is drawn";
    EXPECT_EQ(std::memcmp(game.get(), before.get(), sizeof(GameState)), 0) << "the game is not touched";
}

}  // namespace
}  // namespace krello
