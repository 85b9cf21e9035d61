// One game played by the bot through the platform seam, as a player's keys and clock would drive it.
#include "playtest/playtest_game.h"

#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

#include "game/frame.h"
#include "game/start_level.h"
#include "playtest/bot_brain.h"
#include "playtest/frame_times.h"
#include "playtest/game_watch.h"
#include "playtest/perception.h"
#include "render/render_threads.h"
#include "render/render_view.h"
#include "replay/demo_recorder.h"
#include "replay/headless_platform.h"
#include "world/screen.h"

namespace krello::playtest {
namespace {

// The purposes a game's seed is split into (bot_random.h).
constexpr uint64_t FRAME_TIMES = 1;
constexpr uint64_t DECISIONS = 2;

}  // namespace

GameRecord playGame(const PlaytestSetup& setup, uint64_t seed, std::FILE* demo) {
    auto g = std::make_unique<GameState>(*setup.level);
    HeadlessPlatform keys;  // the clock reads 0 at the level start-up
    std::optional<DemoRecorder> recorder;
    if (demo) recorder.emplace(keys, demo, setup.demoLevel);
    PlatformSeam& seam = recorder ? static_cast<PlatformSeam&>(*recorder) : keys;
    startLevel(*g, seam);

    // The bot's eyes: one drawing thread of its own, whose record of the billboards it drew
    // is all the bot learns of the enemies.
    RenderThreads eyes(1, setup.renderPath);
    ViewDrawer drawer(&eyes);
    std::vector<uint8_t> frame(FRAME_BYTES, 0);
    const FrameOutput output{&drawer, frame.data()};

    auto brain = std::make_unique<BotBrain>(*setup.graph, *setup.areas, setup.skill, streamSeed(seed, DECISIONS));
    auto perception = std::make_unique<Perception>();
    FrameTimes times(streamSeed(seed, FRAME_TIMES));
    GameWatch watch(*setup.graph, *setup.areas, seed, setup.limitMs);
    uint32_t now = 0;
    uint8_t held = 0;  // the keys for the next update, decided from the frame before
    while (now < setup.limitMs) {
        const uint16_t dt = times.next();
        keys.apply({dt, held});
        runFrame(*g, seam, &output);
        if (recorder) recorder->endUpdate(*g);
        now += dt;
        watch.afterUpdate(*g, now);
        if (g->gameOver) break;
        perceive(*g, eyes.scratch(0).spritesDrawn, now, *perception);
        held = brain->think(*perception);
    }
    if (recorder && !recorder->finish()) throw std::runtime_error("cannot write the demo");
    GameRecord record = std::move(watch.record());
    if (record.survivalMs > setup.limitMs) record.survivalMs = setup.limitMs;  // the last frame ran over
    return record;
}

}  // namespace krello::playtest
