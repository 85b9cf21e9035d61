// Running a game: a restart is a fresh launch and a recording holds only its game, the input runs
// out at its last update, a replay's tints reach the platform, observers only look, and a demo
// names its level and is refused by another.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "replay/game_run.h"
#include "replay/state_checksum.h"

namespace krello {
namespace {

// A headless run of a level with the tour's input.
struct TourRun {
    explicit TourRun(const std::string& level = "") {
        std::vector<ScriptStep> steps;
        std::vector<std::string> problems;
        EXPECT_TRUE(readInputScriptFile(KRELLO_SOURCE_DIR "/tests/data/tour.input", steps, problems.emplace_back()));
        EXPECT_TRUE(run.loadLevel(level, problems)) << problems.front();
        run.useScript(std::move(steps));
    }
    GameRun run;
};

// What an observer is shown: each game's start (as update -1) and each step, with the state's checksum.
struct Watcher final : StepObserver {
    std::vector<std::pair<long, uint32_t>> seen;
    void started(const GameRun& run) override { seen.emplace_back(run.updates() - 1, gameStateChecksum(run.game())); }
    void stepped(const GameRun& run) override { seen.emplace_back(run.updates(), gameStateChecksum(run.game())); }
};

// The bytes written to a stream so far.
std::vector<uint8_t> bytesOf(std::FILE* f) {
    std::fflush(f);
    std::vector<uint8_t> bytes(static_cast<size_t>(std::ftell(f)));
    std::rewind(f);
    EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), f), bytes.size());
    std::fseek(f, 0, SEEK_END);
    return bytes;
}

TEST(GameRun, ARestartIsAFreshLaunchAndARecordingHoldsOnlyItsGame) {
    TourRun tour;
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    tour.run.record(file, "r.demo");
    uint32_t first = 0;
    std::vector<uint8_t> bytes;
    for (int game = 0; game < 2; ++game) {
        tour.run.start();
        EXPECT_EQ(tour.run.recording(), game == 0);
        while (tour.run.step()) {
        }
        EXPECT_EQ(tour.run.updates(), tour.run.inputLength());  // the script's last update says so
        EXPECT_EQ(tour.run.finish(), "");
        if (game == 0) first = gameStateChecksum(tour.run.game()), bytes = bytesOf(file);
    }
    EXPECT_EQ(gameStateChecksum(tour.run.game()), first);
    EXPECT_EQ(bytesOf(file), bytes);  // the second game went unrecorded
    std::fclose(file);
    Demo demo;
    std::string error;
    ASSERT_TRUE(parseDemo(bytes, "r.demo", demo, error)) << error;

    // Replayed on a platform of its own, the demo asks for the same tints in the same updates,
    // and its observers see the start and every update, ending where the recording did.
    HeadlessPlatform screen;
    GameRun replay(screen);
    std::vector<std::string> problems;
    ASSERT_TRUE(replay.loadLevel("", problems));
    ASSERT_EQ(replay.replay(demo, "r.demo"), "");
    Watcher watcher;
    replay.watch(watcher);
    replay.start();
    while (replay.step()) ASSERT_EQ(screen.tintCount, replay.tints()) << replay.updates();
    EXPECT_EQ(replay.finish(), "");
    EXPECT_GT(replay.tints(), 0);  // the tour ends walking into enemy fire
    EXPECT_EQ(screen.lastTint, 255);
    ASSERT_EQ(watcher.seen.size(), demo.updates.size() + 1);
    for (size_t i = 0; i < watcher.seen.size(); ++i) EXPECT_EQ(watcher.seen[i].first, i == 0 ? -1 : static_cast<long>(i));
    EXPECT_EQ(watcher.seen.back().second, first);
}

TEST(GameRun, ADemoNamesItsLevelAndAnotherLevelRefusesItNamingBoth) {
    TourRun four(KRELLO_SOURCE_DIR "/level/examples/four_rooms.level");
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    four.run.record(file, "l.demo");
    four.run.start();
    four.run.step();  // a demo holds at least one update
    ASSERT_EQ(four.run.finish(), "");
    Demo demo;
    std::string error;
    ASSERT_TRUE(parseDemo(bytesOf(file), "l.demo", demo, error)) << error;
    std::fclose(file);
    EXPECT_EQ(demo.version, DEMO_VERSION);
    EXPECT_EQ(demo.levelName, "four_rooms.level");
    TourRun builtin;
    char expected[200];
    std::snprintf(expected, sizeof expected,
                  "l.demo: recorded on level four_rooms.level (checksum 0x%08X), this game plays the built-in level "
                  "(checksum 0x%08X)",
                  four.run.level().checksum, builtin.run.level().checksum);
    EXPECT_EQ(builtin.run.replay(demo, "l.demo"), expected);
    // The name is the demo's bytes: whatever they hold, the message stays one line.
    demo.levelName = "a\nb\x7f.level";
    EXPECT_EQ(builtin.run.replay(demo, "l.demo").find("recorded on level a?b?.level ("), 8u);
}

}  // namespace
}  // namespace krello
