// Running a game: a restart is a fresh launch and ends the recording with its game, the input
// runs out at its last update, a replay's tints reach the platform, and observers only look.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "replay/game_run.h"
#include "replay/headless_platform.h"
#include "replay/input_script.h"
#include "replay/state_checksum.h"

namespace krello {
namespace {

std::vector<ScriptStep> tourScript() {
    std::vector<ScriptStep> steps;
    std::string error;
    EXPECT_TRUE(readInputScriptFile(std::string(KRELLO_SOURCE_DIR) + "/tests/data/tour.input", steps, error)) << error;
    return steps;
}

// What an observer is shown: each game's start and each step, with the state's checksum.
struct Watcher final : StepObserver {
    std::vector<std::pair<long, uint32_t>> seen;  // (updates, checksum); a start shows as -1
    void started(const GameRun& run) override { seen.emplace_back(run.updates() - 1, gameStateChecksum(run.game())); }
    void stepped(const GameRun& run) override { seen.emplace_back(run.updates(), gameStateChecksum(run.game())); }
};

long fileSize(std::FILE* f) {
    std::fflush(f);
    std::fseek(f, 0, SEEK_END);
    return std::ftell(f);
}

TEST(GameRun, ARestartIsAFreshLaunchAndARecordingHoldsOnlyItsGame) {
    GameRun run;
    std::vector<std::string> problems;
    ASSERT_TRUE(run.loadLevel("", problems));
    std::vector<ScriptStep> steps = tourScript();
    steps.resize(60);
    run.useScript(steps);
    EXPECT_EQ(run.inputLength(), 60);
    std::FILE* demo = std::tmpfile();
    ASSERT_NE(demo, nullptr);
    run.record(demo, "r.demo", 8);
    uint32_t first = 0;
    long recorded = 0;
    for (int game = 0; game < 2; ++game) {
        run.start();
        EXPECT_EQ(run.recording(), game == 0);
        long updates = 1;
        while (run.step()) ++updates;
        EXPECT_EQ(updates, 60);  // the last update of the script says so
        if (game == 0) {
            first = gameStateChecksum(run.game());
            EXPECT_EQ(run.finish(), "");
            recorded = fileSize(demo);
        }
    }
    EXPECT_EQ(gameStateChecksum(run.game()), first);
    EXPECT_EQ(fileSize(demo), recorded);  // the second game went unrecorded
    std::fclose(demo);
}

TEST(GameRun, AReplaysTintsReachThePlatformInTheUpdateThatAsksAndObserversOnlyLook) {
    std::FILE* demo = std::tmpfile();
    ASSERT_NE(demo, nullptr);
    GameRun recording;
    std::vector<std::string> problems;
    ASSERT_TRUE(recording.loadLevel("", problems));
    recording.useScript(tourScript());
    recording.record(demo, "tour.demo");
    recording.start();
    while (recording.step()) {
    }
    ASSERT_EQ(recording.finish(), "");
    ASSERT_GT(recording.tints(), 0);  // the tour ends walking into enemy fire
    std::rewind(demo);
    std::vector<uint8_t> bytes;
    for (int c; (c = std::fgetc(demo)) != EOF;) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(demo);
    Demo parsed;
    std::string error;
    ASSERT_TRUE(parseDemo(bytes, "tour.demo", parsed, error)) << error;

    HeadlessPlatform screen;  // the tints a shell's palette would get
    GameRun replay(screen);
    ASSERT_TRUE(replay.loadLevel("", problems));
    ASSERT_EQ(replay.replay(parsed, "tour.demo"), "");
    Watcher watcher;
    replay.watch(watcher);
    replay.start();
    while (replay.step()) ASSERT_EQ(screen.tintCount, replay.tints()) << replay.updates();
    EXPECT_EQ(replay.finish(), "");
    EXPECT_EQ(replay.tints(), recording.tints());
    EXPECT_EQ(screen.lastTint, 255);
    // One start, then every update in order, the last one the game the recording ended with.
    ASSERT_EQ(watcher.seen.size(), parsed.updates.size() + 1);
    EXPECT_EQ(watcher.seen.front().first, -1);
    for (size_t i = 1; i < watcher.seen.size(); ++i) EXPECT_EQ(watcher.seen[i].first, static_cast<long>(i));
    EXPECT_EQ(watcher.seen.back().second, gameStateChecksum(recording.game()));
}

}  // namespace
}  // namespace krello
