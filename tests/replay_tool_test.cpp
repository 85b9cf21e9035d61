// krello-tool run: repeatable dumps, demos that replay what was run, the committed tour, and
// one-line errors with status 2 for bad input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>

#include "program_run.h"
#include "replay/crc32.h"

namespace {

using namespace krello::test;

const std::string SCRIPT =
    "# walk, turn, jump, fire\n"
    "16 U\n16 U\n16 US\n17 UR\n250 UA\n0 L\n16 LS\n16 -\n33 D\n16 DS\n";

TEST(ReplayTool, ScriptRunsRepeatAndTheirDemosReplayToTheSameDump) {
    const std::string script = tempPath("walk.input");
    std::string longer;
    for (int i = 0; i < 30; ++i) longer += SCRIPT.substr(SCRIPT.find('\n') + 1);
    writeText(script, longer);
    const ProgramRun a = runTool("run --input " + script + " --state-every 50 --record-demo " + tempPath("walk.demo"));
    ASSERT_EQ(a.status, 0) << a.err;
    const ProgramRun b = runTool("run --input " + script + " --state-every 50 --render");
    ASSERT_EQ(b.status, 0) << b.err;
    EXPECT_EQ(a.out, b.out);
    EXPECT_NE(a.out.find("update 300\n"), std::string::npos);
    EXPECT_NE(a.out.find("update 50\n"), std::string::npos);
    const ProgramRun c = runTool("run --demo " + tempPath("walk.demo") + " --state-every 50");
    ASSERT_EQ(c.status, 0) << c.err;
    EXPECT_EQ(a.out, c.out);
    // A timedemo ends with the replayed game's checksum: the same every time, another for a
    // demo of another game (here the first update only).
    const auto finalState = [](const std::string& demo) {
        const ProgramRun t = runTool("timedemo --demo " + demo);
        EXPECT_EQ(t.status, 0) << t.err;
        const size_t at = t.out.find("\ntimedemo: final state checksum 0x");
        return at == std::string::npos ? std::string("none") : t.out.substr(at + 1);
    };
    writeText(tempPath("one.input"), "16 U\n");
    ASSERT_EQ(runTool("run --input " + tempPath("one.input") + " --record-demo " + tempPath("one.demo")).status, 0);
    EXPECT_NE(finalState(tempPath("walk.demo")), "none");
    EXPECT_EQ(finalState(tempPath("walk.demo")), finalState(tempPath("walk.demo")));
    EXPECT_NE(finalState(tempPath("walk.demo")), finalState(tempPath("one.demo")));
    // The dump's shape: per dump 1 + 1 + 1 + 23 + 1 + 1 lines.
    const ProgramRun d = runTool("run --input " + script + " --frames 7 --dump-state " + tempPath("seven.txt"));
    ASSERT_EQ(d.status, 0) << d.err;
    const std::string seven = readText(tempPath("seven.txt"));
    EXPECT_EQ(std::count(seven.begin(), seven.end(), '\n'), 28);
    EXPECT_EQ(seven.rfind("update 7\nplayer ", 0), 0u);
    EXPECT_NE(seven.find("\nobject 22 "), std::string::npos);
    EXPECT_NE(seven.find("\ncounts "), std::string::npos);
}

TEST(ReplayTool, BadInputGivesOneLineAndStatusTwo) {
    writeText(tempPath("bad_dt.input"), "16 U\n70000 U\n");
    writeText(tempPath("bad_key.input"), "16 U\n16 UZ\n");
    writeText(tempPath("garbage.demo"), std::string("\x00\x01garbage\xff", 10));
    writeText(tempPath("short.input"), "16 U\n");
    const ProgramRun rec = runTool("run --input " + tempPath("short.input") + " --record-demo " + tempPath("ok.demo"));
    ASSERT_EQ(rec.status, 0) << rec.err;
    std::string demo = readText(tempPath("ok.demo"));
    writeText(tempPath("truncated.demo"), demo.substr(0, demo.size() - 3));
    // Another level's demo: the level checksum differs and the file checksum is consistent.
    std::string wrongLevel = demo;
    wrongLevel[12] = static_cast<char>(wrongLevel[12] ^ 0x55);
    const size_t end = wrongLevel.size() - 9;
    const uint32_t crc = krello::crc32({reinterpret_cast<const uint8_t*>(wrongLevel.data()), end});
    for (int i = 0; i < 4; ++i) wrongLevel[end + 5 + static_cast<size_t>(i)] = static_cast<char>(crc >> (8 * i));
    writeText(tempPath("wrong_level.demo"), wrongLevel);
    std::string version = demo;
    version[8] = 9;
    writeText(tempPath("version.demo"), version);

    const struct {
        std::string args;
        std::string message;
    } cases[] = {
        {"run --input " + tempPath("bad_dt.input"), tempPath("bad_dt.input") + ":2: DT \"70000\""},
        {"run --input " + tempPath("bad_key.input"), tempPath("bad_key.input") + ":2: bad key letter 'Z'"},
        {"run --input " + tempPath("missing.input"), tempPath("missing.input") + ": cannot open"},
        {"run --demo " + tempPath("garbage.demo"), tempPath("garbage.demo") + ": byte 0: not a demo file"},
        {"run --demo " + tempPath("truncated.demo"), tempPath("truncated.demo") + ": byte "},
        {"run --demo " + tempPath("wrong_level.demo"),
         tempPath("wrong_level.demo") + ": recorded on the built-in level (checksum 0x"},
        {"run --demo " + tempPath("version.demo"), tempPath("version.demo") + ": byte 8: demo format version 9"},
        {"run --input " + tempPath("short.input") + " --frames 5", tempPath("short.input") + ": holds 1 updates"},
        {"run", "give exactly one of --input FILE and --demo FILE"},
        {"timedemo --demo " + tempPath("truncated.demo"), tempPath("truncated.demo") + ": byte "},
        {"run --frames -1 --input " + tempPath("short.input"), "--frames: expected a whole number from 0 to 2147483647, got '-1'"},
        {"run --level /nonexistent.level --input " + tempPath("short.input"), "--level: no such file '/nonexistent.level'"},
        {"render --level " + std::string(KRELLO_SOURCE_DIR) + "/tests/data/two_rooms.level",
         std::string(KRELLO_SOURCE_DIR) + "/tests/data/two_rooms.level: no picture"},
        {"", "a command is required (see --help)"},
        {"textures", "textures: which one? dump or sheet (see krello-tool textures --help)"},
        {"render --view 1 2", "--view: expected 5 values (X Y Z ANGLE SECTOR), got 2"},
        {"render --tour", "--tour: expected DIR, got nothing"},
        {"host-stalls --quanta 0", "--quanta: expected a whole number from 1 to 10000000, got '0'"},
    };
    for (const auto& c : cases) {
        const ProgramRun r = runTool(c.args);
        EXPECT_EQ(r.status, 2) << c.args;
        EXPECT_EQ(r.err.rfind("krello-tool: " + c.message, 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

// The speed script reads the machine's stalls with the timedemo's own pattern, so the line must
// keep that shape, with its quanta ordered from fastest to slowest.
TEST(ReplayTool, HostStallsPrintTheTimedemoLine) {
    const ProgramRun r = runTool("host-stalls --quanta 7 --micros 5");
    ASSERT_EQ(r.status, 0) << r.err;
    double fps = 0, lo = 0, median = 0, hi = 0;
    ASSERT_EQ(std::sscanf(r.out.c_str(), "host-stalls: 7 frames in %*f s: %lf fps (min/median/max frame %lf/%lf/%lf ms)",
                          &fps, &lo, &median, &hi), 4) << r.out;
    EXPECT_GT(fps, 0.0);
    EXPECT_LE(lo, median);
    EXPECT_LE(median, hi);
}

TEST(ReplayTool, TheTourMatchesItsExpectedStates) {
    const std::string dir = std::string(KRELLO_SOURCE_DIR) + "/tests/data/";
    const ProgramRun r = runTool("run --input " + dir + "tour.input --state-every 100");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string expected = readText(dir + "tour.expected");
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(r.out == expected) << "the tour's states differ from tests/data/tour.expected; "
                                      "see docs/game-update.md before regenerating it";
    // What the tour is for: at least 3,000 updates, enemies hit, and the game lost at the end.
    const size_t last = expected.rfind("update ");
    ASSERT_NE(last, std::string::npos);
    long update = 0;
    long score = 0;
    long gameOver = 0;
    std::istringstream tail(expected.substr(last));
    std::string word;
    tail >> word >> update;
    for (std::string line; std::getline(tail, line);) {
        if (line.rfind("game ", 0) != 0) continue;
        std::istringstream fields(line.substr(5));
        long v[12] = {};
        for (long& f : v) fields >> f;
        score = v[7];
        gameOver = v[8];
    }
    EXPECT_GE(update, 3000);
    EXPECT_GE(score, 20);
    EXPECT_EQ(gameOver, 1);
}

}  // namespace
