// Demo sessions: a recording replays to its end and takes its name only when finished, never
// replaces a file unless asked, and bad files and other levels' demos are refused.
#include "platform/common/demo_session.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "replay/crc32.h"
#include "replay/demo.h"
#include "replay/headless_platform.h"

namespace krello {
namespace {

namespace fs = std::filesystem;

constexpr int UPDATES = 40;

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

    ShellOptions options(DemoMode mode, bool overwrite = false) const {
        ShellOptions o;
        o.demoMode = mode;
        o.demoFile = path;
        o.overwrite = overwrite;
        return o;
    }

    // A run of the built-in level on the test's live platform.
    std::unique_ptr<GameRun> newRun() {
        auto run = std::make_unique<GameRun>(live);
        std::vector<std::string> problems;
        EXPECT_TRUE(run->loadLevel("", problems));
        return run;
    }

    // A game of `updates` updates recorded through a session; returns what finishing it said.
    std::string recordThroughSession(int updates, bool overwrite = false) {
        const bool existed = fs::exists(path);
        DemoSession session(options(DemoMode::Record, overwrite));
        auto run = newRun();
        EXPECT_EQ(session.open(*run), "");
        run->start();
        for (int i = 0; i < updates; ++i) {
            live.apply(ScriptStep{16, static_cast<uint8_t>(i % 3 == 0 ? keyBit(GameKey::Up) : 0)});
            run->step();
        }
        EXPECT_EQ(fs::exists(path), existed);  // under a temporary name until it is complete
        const std::string said = session.finish(*run);
        EXPECT_FALSE(run->recording());  // a second game is not recorded
        return said;
    }

    HeadlessPlatform live;
    fs::path dir;
    std::string path;
};

TEST_F(DemoSessionTest, ARecordingReplaysToItsEndAndThenStops) {
    ASSERT_EQ(recordThroughSession(UPDATES), "");
    DemoSession replay(options(DemoMode::Play));
    EXPECT_TRUE(replay.replaying());
    auto run = newRun();
    ASSERT_EQ(replay.open(*run), "");
    run->start();
    int updates = 1;
    while (run->step() && updates < UPDATES + 5) ++updates;
    EXPECT_EQ(updates, UPDATES);  // stops exactly at the recording's last update
    EXPECT_EQ(run->gameMillis(), 16u * UPDATES);
    EXPECT_EQ(replay.finish(*run), "");
}

TEST_F(DemoSessionTest, BadFilesAreRefusedWithTheirName) {
    {
        std::ofstream junk(path, std::ios::binary);
        junk << "not a demo at all";
    }
    auto run = newRun();
    EXPECT_NE(DemoSession(options(DemoMode::Timedemo)).open(*run).find("walk.demo"), std::string::npos);

    ShellOptions unwritable = options(DemoMode::Record);
    unwritable.demoFile = (dir / "missing" / "x.demo").string();
    EXPECT_NE(DemoSession(unwritable).open(*run).find("x.demo"), std::string::npos);
}

TEST_F(DemoSessionTest, ARecordingNeverReplacesAFileUnlessAskedAndKeepsItsBytes) {
    ASSERT_EQ(recordThroughSession(UPDATES), "");
    const auto firstSize = fs::file_size(path);
    EXPECT_NE(recordThroughSession(1).find("already exists; the finished file was kept as "), std::string::npos);
    EXPECT_EQ(fs::file_size(path), firstSize);
    EXPECT_EQ(recordThroughSession(1, true), "");
    EXPECT_LT(fs::file_size(path), firstSize);
}

TEST_F(DemoSessionTest, ARecordingOfASessionThatNeverStartedIsRemoved) {
    DemoSession session(options(DemoMode::Record));
    auto run = newRun();
    ASSERT_EQ(session.open(*run), "");
    run->start();  // the first game starts before the window opens
    session.abandon(*run);
    EXPECT_FALSE(run->recording());
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(DemoSessionTest, ADemoOfAnotherLevelIsRefused) {
    GameRun other(live);
    std::vector<std::string> problems;
    ASSERT_TRUE(other.loadLevel(std::string(KRELLO_SOURCE_DIR) + "/level/examples/four_rooms.level", problems));
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    other.record(file, path);
    other.start();
    other.step();
    ASSERT_EQ(other.finish(), "");
    std::fclose(file);
    auto run = newRun();
    char expected[160];
    std::snprintf(expected, sizeof expected,
                  ": recorded on level four_rooms.level (checksum 0x%08X), this game plays the built-in level "
                  "(checksum 0x%08X)",
                  other.level().checksum, crc32(run->level().image));
    EXPECT_EQ(DemoSession(options(DemoMode::Play)).open(*run), path + expected);
}

}  // namespace
}  // namespace krello
