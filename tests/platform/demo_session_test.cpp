// Demo sessions: a recording is written under its name as the game goes and never replaces a file
// unless asked, a session that never started leaves nothing, and bad files are refused with their name.
// (Replaying is the session's and the run's: game_session_test.cpp, replay_game_run_test.cpp.)
#include "platform/common/demo_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "replay/demo.h"
#include "replay/headless_platform.h"
#include "test_files.h"

namespace krello {
namespace {

namespace fs = std::filesystem;

class DemoSessionTest : public test::FolderTest {
protected:
    void SetUp() override {
        FolderTest::SetUp();
        path = at("walk.demo");
    }

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

    // A game of `updates` updates recorded through a session; returns what opening or finishing
    // it said.
    std::string recordThroughSession(int updates, bool overwrite = false) {
        DemoSession session(options(DemoMode::Record, overwrite));
        auto run = newRun();
        if (std::string refused = session.open(*run); !refused.empty()) return refused;
        run->start();
        for (int i = 0; i < updates; ++i) {
            live.apply(ScriptStep{16, static_cast<uint8_t>(i % 3 == 0 ? keyBit(GameKey::Up) : 0)});
            run->step();
        }
        EXPECT_TRUE(fs::exists(path));  // written under its own name as the game goes
        const std::string said = session.finish(*run);
        EXPECT_FALSE(run->recording());  // a second game is not recorded
        return said;
    }

    HeadlessPlatform live;
    std::string path;
};

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
    ASSERT_EQ(recordThroughSession(40), "");
    const std::string first = test::readText(path);
    EXPECT_EQ(recordThroughSession(1), path + " already exists (--overwrite replaces it)");
    EXPECT_EQ(test::readText(path), first);
    EXPECT_EQ(recordThroughSession(1, true), "");
    EXPECT_LT(fs::file_size(path), first.size());
    Demo demo;
    std::string error;
    EXPECT_TRUE(readDemoFile(path, demo, error)) << error;
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

}  // namespace
}  // namespace krello
