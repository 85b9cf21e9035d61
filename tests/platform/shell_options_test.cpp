// The command line over the settings file: defaults, each option, overrides, and bad arguments
// stopping with one line in our words and status 2.
#include "platform/common/shell_options.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <vector>

#include "test_files.h"

namespace krello {
namespace {

namespace fs = std::filesystem;

class ShellOptionsTest : public test::FolderTest {
protected:
    void SetUp() override {
        FolderTest::SetUp();
        config = at("krello/krello.ini");
    }

    ParsedOptions parse(std::initializer_list<const char*> args) {
        std::vector<const char*> argv{"krello"};
        argv.insert(argv.end(), args);
        const std::string home = dir.string();
        return parseShellOptions(static_cast<int>(argv.size()), argv.data(), SettingsPlace{home.c_str(), nullptr});
    }

    std::string config;
};

TEST_F(ShellOptionsTest, TheFirstStartWritesTheDefaults) {
    const ParsedOptions p = parse({});
    ASSERT_TRUE(p.run);
    EXPECT_TRUE(fs::exists(config));
    EXPECT_TRUE(p.options.fullscreen);
    EXPECT_TRUE(p.options.fourByThree);
    EXPECT_TRUE(p.options.vsync);
    EXPECT_EQ(p.options.fps, 70);
    EXPECT_FALSE(p.options.confirmQuit);
    EXPECT_FALSE(p.options.pauseOnFocusLoss);
    EXPECT_EQ(p.options.demoMode, DemoMode::None);
    EXPECT_EQ(p.options.threads, defaultRenderThreads());
}

TEST_F(ShellOptionsTest, TheCommandLineOverridesTheFile) {
    fs::create_directories(fs::path(config).parent_path());
    std::ofstream(config) << "[display]\nfullscreen = no\nscale = 2\nvsync = no\n[play]\nconfirm_quit = yes\n"
                             "[keys]\nfire = LeftCtrl, Space\n";
    const ParsedOptions file = parse({});
    ASSERT_TRUE(file.run);
    EXPECT_FALSE(file.options.fullscreen);
    EXPECT_EQ(file.options.scale, 2);
    EXPECT_FALSE(file.options.vsync);
    EXPECT_TRUE(file.options.confirmQuit);
    EXPECT_EQ(file.options.bindings.keys[static_cast<size_t>(Action::Fire)][0].key, KeyId::LeftCtrl);

    const ParsedOptions both = parse({"--fullscreen", "--scale", "4", "--windowed", "--no-aspect", "--fps", "35",
                                      "--record", (dir / "s.demo").c_str(), "--level", config.c_str(), "--threads", "3"});
    ASSERT_TRUE(both.run);
    EXPECT_FALSE(both.options.fullscreen);  // the last of a pair wins
    EXPECT_EQ(both.options.scale, 4);
    EXPECT_FALSE(both.options.fourByThree);
    EXPECT_EQ(both.options.fps, 35);
    EXPECT_FALSE(both.options.vsync);  // left to the file
    EXPECT_EQ(both.options.demoMode, DemoMode::Record);
    EXPECT_EQ(both.options.levelFile, config);
    EXPECT_EQ(both.options.threads, 3);
}

TEST_F(ShellOptionsTest, BadArgumentsStopWithOneLineInOurWordsAndStatus2) {
    const std::string taken = (dir / "taken.demo").string();
    std::ofstream(taken) << "x";
    const std::string loop = (dir / "loop").string();
    std::filesystem::create_symlink(loop, loop);
    const std::string longWord = "--" + std::string(200, 'w');
    const std::string longVersion = "--version=" + std::string(200, 'v');
    const struct {
        std::vector<const char*> args;
        std::string line;
    } cases[] = {
        {{"--scale", "abc"}, "krello: --scale: expected a whole number from 1 to 16, got 'abc'\n"},
        {{"--scale"}, "krello: --scale: expected a whole number from 1 to 16, got nothing\n"},
        {{"--fps", "-1"}, "krello: --fps: expected a whole number from 0 to 1000, got '-1' (out of range)\n"},
        {{"--threads", "9"}, "krello: --threads: expected a whole number from 1 to 8, got '9' (out of range)\n"},
        {{"--scale", "99999999999999999999"},
         "krello: --scale: expected a whole number from 1 to 16, got '99999999999999999999' (out of range)\n"},
        {{"--scale", "1e3"}, "krello: --scale: expected a whole number from 1 to 16, got '1e3'\n"},
        {{longWord.c_str()}, "krello: unknown option '" + longWord.substr(0, 80) + "\u2026' (see --help)\n"},
        {{"--play", loop.c_str()}, "krello: --play: '" + loop + "': too many levels of symbolic links\n"},
        {{"--bogus"}, "krello: unknown option '--bogus' (see --help)\n"},
        {{"--version=O\x1b[2J"}, "krello: Could not convert: --version = O\\x1B[2J\n"},
        {{longVersion.c_str()}, "krello: Could not convert: --version = " + std::string(96 - 31, 'v') + "\u2026\n"},
        {{"stray"}, "krello: unexpected argument 'stray' (see --help)\n"},
        {{"--play", "/nonexistent/demo"}, "krello: --play: no such file '/nonexistent/demo'\n"},
        {{"--shot-dir", "/nonexistent/dir"}, "krello: --shot-dir: no such folder '/nonexistent/dir'\n"},
        {{"--shot-dir", "/proc"}, "krello: screenshot folder /proc: cannot write there\n"},
        {{"--config", "/nonexistent.ini"}, "krello: --config: no such file '/nonexistent.ini'\n"},
        {{"--record", taken.c_str()}, "krello: --record: " + taken + " already exists (--overwrite replaces it)\n"},
        {{"--record", "a", "--timedemo", KRELLO_FONT_FILE}, "krello: --record and --timedemo cannot be used together\n"},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv{"krello"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const std::string home = dir.string();
        ::testing::internal::CaptureStderr();
        const ParsedOptions p =
            parseShellOptions(static_cast<int>(argv.size()), argv.data(), SettingsPlace{home.c_str(), nullptr});
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.line);
        EXPECT_FALSE(p.run) << c.line;
        EXPECT_EQ(p.exitStatus, 2) << c.line;
    }
    EXPECT_TRUE(parse({"--record", taken.c_str(), "--overwrite"}).run);
}

// One reader over many lines reads each as a fresh table does: nothing of a line, its options,
// its flags, its fault or its help, carries over into the next.
TEST_F(ShellOptionsTest, OneReaderReadsEachLineAfresh) {
    const std::vector<std::vector<const char*>> lines = {
        {"--scale", "5", "--windowed", "--record", "r.demo", "--overwrite", "--threads", "2", "--manpage"},
        {},
        {"--play", KRELLO_FONT_FILE, "--no-vsync"},
        {"--record", "a", "--timedemo", KRELLO_FONT_FILE},
        {"--record", "a"},
        {"--scale", "abc"},
        {"--help"},
        {"--fps", "0", "--fps", "60", "--no-sound"},
        {"--version"},
        {"stray"},
        {"--scale", "2"},
    };
    ShellCommandLineReader reader;
    for (const auto& args : lines) {
        std::vector<const char*> argv{"krello"};
        argv.insert(argv.end(), args.begin(), args.end());
        const int argc = static_cast<int>(argv.size());
        const ShellCommandLine again = reader.read(argc, argv.data());
        const ShellCommandLine fresh = readShellCommandLine(argc, argv.data());
        const std::string said = argv.size() > 1 ? argv[1] : "(none)";
        EXPECT_EQ(again.settings, fresh.settings) << said;
        EXPECT_EQ(std::vector<std::string>({again.record, again.play, again.timedemo, again.level, again.config}),
                  std::vector<std::string>({fresh.record, fresh.play, fresh.timedemo, fresh.level, fresh.config}))
            << said;
        EXPECT_EQ(std::vector<int>({again.overwrite, again.threads, again.run, again.exitStatus}),
                  std::vector<int>({fresh.overwrite, fresh.threads, fresh.run, fresh.exitStatus}))
            << said;
        EXPECT_EQ(again.out, fresh.out) << said;
        EXPECT_EQ(again.error, fresh.error) << said;
    }
}

TEST_F(ShellOptionsTest, HelpVersionAndTheManualPageStopWithStatus0) {
    for (const char* flag : {"--help", "--version", "--manpage"}) {
        ::testing::internal::CaptureStdout();
        const ParsedOptions p = parse({flag});
        const std::string out = ::testing::internal::GetCapturedStdout();
        EXPECT_FALSE(p.run) << flag;
        EXPECT_EQ(p.exitStatus, 0) << flag;
        if (std::string(flag) == "--help") {
            EXPECT_NE(out.find("--scale N "), std::string::npos) << out;
            // The ranges and defaults come from the settings' table.
            EXPECT_NE(out.find("(1 to 16; default 3)"), std::string::npos) << out;
            EXPECT_NE(out.find("(0 to 1000; default 70)"), std::string::npos) << out;
            // What an option cannot go with follows its words, never its name's column.
            EXPECT_EQ(out.find("Excludes"), std::string::npos) << out;
            EXPECT_NE(out.find("(not with --play, --timedemo)"), std::string::npos) << out;
        }
    }
    // The manual page lists what --help lists, placeholders included.
    const std::string page = shellManPage();
    for (const char* text : {".TH KRELLO 6", "\\fB\\-\\-scale\\fR \\fIN\\fR", "\\fB\\-\\-shot\\-dir\\fR \\fIDIR\\fR",
                             "\\fB\\-\\-level\\fR \\fIFILE\\fR", ".SH KEYS", "quit: Escape", ".SH SETTINGS",
                             "stick_dead_zone: how far (of 32767) the left stick may lean and still count as centred (0 "
                             "to 32000; default 8000)"})
        EXPECT_NE(page.find(text), std::string::npos) << text;
}

}  // namespace
}  // namespace krello
