// Demo sessions: a recording replays to its end and takes its name only when finished, bad files
// and other levels are refused, the replay's tint shows.
#include "platform/common/demo_session.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "game/start_level.h"
#include "game/update_game.h"
#include "level/builtin_level.h"
#include "platform/common/shown_palette.h"
#include "replay/crc32.h"
#include "replay/headless_platform.h"

namespace krello {
namespace {

namespace fs = std::filesystem;

constexpr int UPDATES = 40;
const DemoLevel BUILTIN{crc32(builtinLevelImage()), ""};

class DemoSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              (std::string("krello-demo-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = (dir / "walk.demo").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    // A short game recorded through the session, keys from a headless platform's script.
    void recordThroughSession(PlatformSeam& live) {
        ShellOptions options;
        options.demoMode = DemoMode::Record;
        options.demoFile = path;
        DemoSession session(options, live);
        ASSERT_EQ(session.open(BUILTIN), "");
        auto g = std::make_unique<GameState>();
        loadBuiltinLevel(*g);
        startLevel(*g, session.platform());
        for (int i = 0; i < UPDATES; ++i) {
            updateGame(*g, session.platform());
            ASSERT_TRUE(session.afterUpdate(*g));
        }
        EXPECT_FALSE(fs::exists(path));  // under a temporary name until it is complete
        ASSERT_EQ(session.finish(), "");
        EXPECT_FALSE(session.recording());
        EXPECT_EQ(&session.platform(), &live);  // a second game is not recorded
    }

    ShellOptions replayOptions(DemoMode mode) const {
        ShellOptions options;
        options.demoMode = mode;
        options.demoFile = path;
        return options;
    }

    fs::path dir;
    std::string path;
};

TEST_F(DemoSessionTest, ARecordingReplaysToItsEndAndThenStops) {
    HeadlessPlatform live;
    recordThroughSession(live);
    DemoSession replay(replayOptions(DemoMode::Play), live);
    ASSERT_EQ(replay.open(BUILTIN), "");
    ASSERT_TRUE(replay.replaying());
    auto g = std::make_unique<GameState>();
    loadBuiltinLevel(*g);
    startLevel(*g, replay.platform());
    int updates = 0;
    bool more = true;
    while (more && updates < UPDATES + 5) {
        updateGame(*g, replay.platform());
        ++updates;
        more = replay.afterUpdate(*g);
    }
    EXPECT_EQ(updates, UPDATES);  // stops exactly at the recording's last update
    EXPECT_GT(replay.replayedMillis(), 0u);
    EXPECT_EQ(replay.finish(), "");
}

TEST_F(DemoSessionTest, BadFilesAreRefusedWithTheirName) {
    HeadlessPlatform live;
    {
        std::ofstream junk(path, std::ios::binary);
        junk << "not a demo at all";
    }
    DemoSession junk(replayOptions(DemoMode::Timedemo), live);
    EXPECT_NE(junk.open(BUILTIN).find("walk.demo"), std::string::npos);

    ShellOptions unwritable;
    unwritable.demoMode = DemoMode::Record;
    unwritable.demoFile = (dir / "missing" / "x.demo").string();
    DemoSession record(unwritable, live);
    EXPECT_NE(record.open(BUILTIN).find("x.demo"), std::string::npos);
}

TEST_F(DemoSessionTest, ARecordingNeverReplacesAFileUnlessAskedAndKeepsItsBytes) {
    HeadlessPlatform live;
    recordThroughSession(live);
    const auto firstSize = fs::file_size(path);
    for (bool overwrite : {false, true}) {
        ShellOptions options;
        options.demoMode = DemoMode::Record;
        options.demoFile = path;
        options.overwrite = overwrite;
        DemoSession session(options, live);
        ASSERT_EQ(session.open(BUILTIN), "");
        auto g = std::make_unique<GameState>();
        loadBuiltinLevel(*g);
        startLevel(*g, session.platform());
        updateGame(*g, session.platform());
        session.afterUpdate(*g);
        const std::string error = session.finish();
        if (overwrite) {
            EXPECT_EQ(error, "");
            EXPECT_LT(fs::file_size(path), firstSize);
        } else {
            EXPECT_NE(error.find("already exists; the finished file was kept as "), std::string::npos) << error;
            EXPECT_EQ(fs::file_size(path), firstSize);
        }
    }
}

TEST_F(DemoSessionTest, ARecordingOfASessionThatNeverStartedIsRemoved) {
    HeadlessPlatform live;
    ShellOptions options;
    options.demoMode = DemoMode::Record;
    options.demoFile = path;
    DemoSession session(options, live);
    ASSERT_EQ(session.open(BUILTIN), "");
    session.abandon();
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(DemoSessionTest, ADemoOfAnotherLevelIsRefused) {
    HeadlessPlatform live;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    HeadlessPlatform headless;
    DemoRecorder recorder(headless, file, DemoLevel{BUILTIN.checksum ^ 1u, "other.level"});
    auto g = std::make_unique<GameState>();
    loadBuiltinLevel(*g);
    startLevel(*g, recorder);
    updateGame(*g, recorder);
    recorder.endUpdate(*g);
    ASSERT_TRUE(recorder.finish());
    std::fclose(file);
    DemoSession replay(replayOptions(DemoMode::Play), live);
    char expected[160];
    std::snprintf(expected, sizeof expected,
                  ": recorded on level other.level (checksum 0x%08X), this game plays the built-in level (checksum 0x%08X)",
                  BUILTIN.checksum ^ 1u, BUILTIN.checksum);
    EXPECT_EQ(replay.open(BUILTIN), path + expected);
}

TEST_F(DemoSessionTest, TheReplaysTintReachesTheScreensPalette) {
    HeadlessPlatform live;
    recordThroughSession(live);
    DemoSession replay(replayOptions(DemoMode::Play), live);
    ASSERT_EQ(replay.open(BUILTIN), "");
    auto g = std::make_unique<GameState>();
    loadBuiltinLevel(*g);
    startLevel(*g, replay.platform());
    const int tintsBefore = live.tintCount;
    replay.platform().tintPalette(255);  // as the update does when a shot reaches the player
    // At once, so the frame drawn after this update is already red.
    EXPECT_EQ(live.tintCount, tintsBefore + 1);
    EXPECT_EQ(live.lastTint, 255);
    ShownPalette shown;
    EXPECT_EQ(shown.palette()[64].red, 0);
    shown.tint(live.lastTint);
    EXPECT_EQ(shown.palette()[64].red, 255);
    EXPECT_EQ(shown.pixelLookup()[64], 0xFFFF0000u);
}

}  // namespace
}  // namespace krello
