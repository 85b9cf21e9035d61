// The command line: defaults, each option, and bad arguments stopping with status 2.
#include "platform/shell_options.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace krello {
namespace {

ParsedOptions parse(std::initializer_list<const char*> args) {
    std::vector<const char*> argv{"krello"};
    argv.insert(argv.end(), args);
    return parseShellOptions(static_cast<int>(argv.size()), argv.data());
}

TEST(ShellOptions, DefaultsAreFullScreen4By3VsyncAnd70Fps) {
    const ParsedOptions p = parse({});
    ASSERT_TRUE(p.run);
    EXPECT_FALSE(p.options.windowed);
    EXPECT_TRUE(p.options.fourByThree);
    EXPECT_FALSE(p.options.integerScale);
    EXPECT_TRUE(p.options.vsync);
    EXPECT_EQ(p.options.fps, 70);
    EXPECT_EQ(p.options.demoMode, DemoMode::None);
    EXPECT_EQ(p.options.threads, defaultRenderThreads());
}

TEST(ShellOptions, EachOptionReachesTheSettings) {
    const ParsedOptions p = parse({"--windowed", "--scale", "2", "--no-aspect", "--integer-scale", "--fps", "35",
                                   "--no-vsync", "--shot-dir", ".", "--record", "session.demo", "--threads", "3"});
    ASSERT_TRUE(p.run);
    EXPECT_TRUE(p.options.windowed);
    EXPECT_EQ(p.options.scale, 2);
    EXPECT_FALSE(p.options.fourByThree);
    EXPECT_TRUE(p.options.integerScale);
    EXPECT_EQ(p.options.fps, 35);
    EXPECT_FALSE(p.options.vsync);
    EXPECT_EQ(p.options.demoMode, DemoMode::Record);
    EXPECT_EQ(p.options.demoFile, "session.demo");
    EXPECT_EQ(p.options.threads, 3);
}

TEST(ShellOptions, BadArgumentsStopWithStatus2) {
    for (auto args : {std::initializer_list<const char*>{"--scale", "0"}, {"--scale", "x"}, {"--fps", "-1"},
                      {"--bogus"}, {"stray"}, {"--threads", "0"}, {"--threads", "9"}, {"--play", "/nonexistent/demo"},
                      {"--shot-dir", "/nonexistent/dir"}, {"--record", "a", "--timedemo", KRELLO_FONT_FILE}}) {
        const ParsedOptions p = parse(args);
        EXPECT_FALSE(p.run) << *args.begin();
        EXPECT_EQ(p.exitStatus, 2) << *args.begin();
    }
}

TEST(ShellOptions, HelpAndVersionStopWithStatus0) {
    for (const char* flag : {"--help", "--version"}) {
        const ParsedOptions p = parse({flag});
        EXPECT_FALSE(p.run) << flag;
        EXPECT_EQ(p.exitStatus, 0) << flag;
    }
}

}  // namespace
}  // namespace krello
