// Demos: a recorded game replays to the same state, and damaged or out-of-step demos are caught.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "game/frame.h"
#include "game/start_level.h"
#include "level/builtin_level.h"
#include "level/level_source.h"
#include "replay/crc32.h"
#include "replay/crc32_table.h"
#include "replay/demo.h"
#include "replay/demo_replayer.h"
#include "replay/game_run.h"
#include "replay/headless_platform.h"
#include "replay/input_script.h"
#include "replay/state_dump.h"
#include "replay/timedemo.h"

namespace krello {
namespace {

// A scripted game of `updates` updates with keys that change every few updates.
uint8_t keysAt(int u) { return static_cast<uint8_t>(((u / 7) * 37 + (u / 3)) & 0x3F); }
uint32_t stepAt(int u) { return static_cast<uint32_t>(1 + (u * 97) % 60); }

struct Recording {
    std::vector<uint8_t> bytes;
    std::string dump;
};

Recording record(int updates, uint16_t interval) {
    HeadlessPlatform platform;  // the start-up reads 1000, so the demo must keep it
    platform.clock = 1000;
    GameRun run(platform);
    std::vector<std::string> problems;
    EXPECT_TRUE(run.loadLevel("", problems));
    std::FILE* f = std::tmpfile();
    EXPECT_NE(f, nullptr);
    run.record(f, "t.demo", interval);
    run.start();
    for (int u = 0; u < updates; ++u) {
        platform.apply(ScriptStep{static_cast<uint16_t>(stepAt(u)), keysAt(u)});
        run.step();
    }
    EXPECT_EQ(run.finish(), "");
    Recording r;
    appendStateDump(r.dump, run.game(), updates, run.tints());
    std::rewind(f);
    for (int c; (c = std::fgetc(f)) != EOF;) r.bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(f);
    return r;
}

// A demo replayed on a level: the run's verdict ("" if it stayed in step) and the final state.
struct Replayed {
    std::string verdict;
    std::string dump;
};

Replayed replay(const Demo& demo) {
    GameRun run;
    std::vector<std::string> problems;
    EXPECT_TRUE(run.loadLevel("", problems));
    EXPECT_EQ(run.replay(demo, "d"), "");
    run.start();
    while (run.step()) {
    }
    Replayed r;
    appendStateDump(r.dump, run.game(), run.updates(), run.tints());
    r.verdict = run.finish();
    return r;
}

TEST(ReplayDemo, RecordedGameReplaysToTheSameState) {
    const Recording r = record(300, 16);
    Demo demo;
    std::string error;
    ASSERT_TRUE(parseDemo(r.bytes, "d", demo, error)) << error;
    EXPECT_EQ(demo.updates.size(), 300u);
    EXPECT_EQ(demo.checkpoints.size(), 300u / 16);
    EXPECT_EQ(demo.startClock, 1000u);
    EXPECT_EQ(demo.levelChecksum, crc32(builtinLevelImage()));
    // Compact: a few bytes an update.
    EXPECT_LT(r.bytes.size(), 300u * 6);
    const Replayed replayed = replay(demo);
    EXPECT_EQ(replayed.verdict, "");
    EXPECT_EQ(replayed.dump, r.dump);
}

TEST(ReplayDemo, AChangedAnswerIsReportedAtTheUpdateWhereItDiverges) {
    const Recording r = record(120, 1);
    Demo demo;
    std::string error;
    ASSERT_TRUE(parseDemo(r.bytes, "d", demo, error)) << error;
    // Walk forward in update 40 where the recording did not (Up is always asked before game over).
    DemoUpdate& u = demo.updates[39];
    ASSERT_TRUE(u.asked & keyBit(GameKey::Up));
    u.held ^= keyBit(GameKey::Up);
    EXPECT_EQ(replay(demo).verdict.rfind("d: update 40: game state checksum", 0), 0u) << replay(demo).verdict;
    // A key the recording never asked for is caught as soon as it is asked.
    Demo other;
    ASSERT_TRUE(parseDemo(r.bytes, "d", other, error));
    other.updates[9].asked &= static_cast<uint8_t>(~keyBit(GameKey::Left));
    other.updates[9].held &= static_cast<uint8_t>(~keyBit(GameKey::Left));
    EXPECT_EQ(replay(other).verdict.rfind("d: update 10: the game asked for key Left", 0), 0u) << replay(other).verdict;
    // A key the recording asked for and the replay did not is caught when the update ends.
    Demo extra;
    ASSERT_TRUE(parseDemo(r.bytes, "d", extra, error));
    size_t quiet = 0;
    while (extra.updates[quiet].asked & keyBit(GameKey::Space)) ++quiet;
    extra.updates[quiet].asked |= keyBit(GameKey::Space);
    EXPECT_EQ(replay(extra).verdict, "d: update " + std::to_string(quiet + 1) +
                                 ": the recorded game asked for key Space, the replay did not (out of step)");
    // A game that runs past the recording.
    Demo shorter;
    ASSERT_TRUE(parseDemo(r.bytes, "d", shorter, error));
    shorter.updates.resize(5);
    GameRun run;
    std::vector<std::string> problems;
    ASSERT_TRUE(run.loadLevel("", problems));
    ASSERT_EQ(run.replay(shorter, "d"), "");
    run.start();
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(run.step());
    EXPECT_FALSE(run.step());  // the last update: the replay has ended, in step
    EXPECT_FALSE(run.step());
    EXPECT_EQ(run.finish(), "d: update 6: the game ran past the demo's last update");
}

// A recording cut off anywhere (killed, a full disk, the power gone, so perhaps with zeros after
// the cut) replays in step up to its last complete block, and says why it stops; before the
// first block there is nothing to replay.
TEST(ReplayDemo, EveryCutReplaysUpToItsLastCompleteBlock) {
    const Recording r = record(40, 8);
    size_t blocksSeen = 0;
    for (size_t n = 0; n < r.bytes.size(); ++n) {
        for (const size_t zeros : {size_t{0}, size_t{64}}) {
            std::vector<uint8_t> cut(r.bytes.begin(), r.bytes.begin() + static_cast<long>(n));
            cut.resize(n + zeros, 0);
            Demo demo;
            std::string error;
            if (!parseDemo(cut, "t.demo", demo, error)) {
                EXPECT_EQ(error.rfind("t.demo: byte ", 0), 0u) << error;
                EXPECT_EQ(blocksSeen, 0u) << n;  // once a block is complete, every longer cut replays
                continue;
            }
            ASSERT_NE(demo.cutShort, "") << n;
            EXPECT_EQ(demo.cutShort.rfind("byte ", 0), 0u) << demo.cutShort;
            EXPECT_EQ(demo.updates.size() % 8, 0u);  // blocks close at the checkpoints
            EXPECT_EQ(demo.checkpoints.size(), demo.updates.size() / 8);
            if (zeros == 0) blocksSeen = demo.updates.size();
            if (n % 7 == 0) {
                EXPECT_EQ(replay(demo).verdict, "") << n;
            }
        }
    }
    EXPECT_EQ(blocksSeen, 40u);  // the cut just before the end record keeps every update
    Demo demo;
    std::string error;
    ASSERT_TRUE(parseDemo(std::span(r.bytes).first(r.bytes.size() - 3), "t.demo", demo, error));
    EXPECT_EQ(demoEndLine("t.demo", demo, 40, 0),
              "t.demo: demo ends early after 40 updates: byte " + std::to_string(r.bytes.size() - 3) +
                  ": the demo ends inside the end record (truncated)");
    ASSERT_TRUE(parseDemo(r.bytes, "t.demo", demo, error));
    EXPECT_EQ(demoEndLine("t.demo", demo, 40, 0xAB), "t.demo: demo ended after 40 updates; final state checksum 0x000000ab");
}

// Demos written before blocks existed keep the old rule: without the end record, nothing replays.
TEST(ReplayDemo, AnOlderDemoCutShortIsStillRejected) {
    const std::string path = std::string(KRELLO_SOURCE_DIR) + "/tests/data/two_rooms.demo";
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Demo demo;
    std::string error;
    ASSERT_TRUE(parseDemo(bytes, "old.demo", demo, error)) << error;
    ASSERT_LT(demo.version, DEMO_FIRST_BLOCK_VERSION);
    EXPECT_FALSE(parseDemo(std::span(bytes).first(bytes.size() / 2), "old.demo", demo, error));
    EXPECT_NE(error.find("(truncated)"), std::string::npos) << error;
}

// The recorder's game, with the clock stepping 16 ms an update and keys that change.
void recordInto(std::FILE* f, const std::string& name, GameRun& run, HeadlessPlatform& platform, long updates) {
    std::vector<std::string> problems;
    ASSERT_TRUE(run.loadLevel("", problems));
    run.record(f, name);
    run.start();
    for (long u = 0; u != updates; ++u) {
        platform.apply(ScriptStep{16, keysAt(static_cast<int>(u % 100000))});
        run.step();
    }
}

// A full disk: the game goes on, the failure is known at once, and the file keeps what it had.
TEST(ReplayDemo, AFullDiskStopsTheRecordingAtOnceAndTheGameGoesOn) {
    std::FILE* full = std::fopen("/dev/full", "wb");
    if (full == nullptr) GTEST_SKIP() << "no /dev/full here";
    HeadlessPlatform platform;
    GameRun run(platform);
    recordInto(full, "full.demo", run, platform, 60);
    EXPECT_EQ(run.demoWriteProblem(), "");  // the first block closes after a second of play
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(run.step());
    const std::string said = "full.demo: cannot be written: No space left on device; the demo keeps its first 0 updates";
    EXPECT_EQ(run.demoWriteProblem(), said);
    for (int i = 0; i < 100; ++i) EXPECT_TRUE(run.step());
    EXPECT_EQ(run.finish(), said);
    EXPECT_EQ(run.updates(), 164);  // the game went on
    std::fclose(full);
}

// SIGKILL in the middle of a recording, and a file that may grow no further: what reached the
// file replays in step, up to its last complete block.
TEST(ReplayDemo, AKilledOrCutOffRecordingReplaysWhatItWrote) {
    for (const bool killed : {true, false}) {
        const std::string path = ::testing::TempDir() + "krello_killed_" + std::to_string(getpid()) + ".demo";
        std::remove(path.c_str());
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (!killed) {
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{6000, 6000};
                setrlimit(RLIMIT_FSIZE, &limit);
            }
            std::FILE* f = std::fopen(path.c_str(), "wb");
            HeadlessPlatform platform;
            GameRun run(platform);
            recordInto(f, path, run, platform, killed ? -1 : 5000);
            _exit(run.finish().find("File too large") != std::string::npos ? 0 : 3);
        }
        int status = 0;
        if (killed) {
            std::error_code e;
            const auto written = [&] {
                const uintmax_t size = std::filesystem::file_size(path, e);
                return !e && size >= 8000;
            };
            while (!written() && waitpid(child, &status, WNOHANG) == 0) usleep(1000);
            kill(child, SIGKILL);
        }
        waitpid(child, &status, 0);
        EXPECT_TRUE(killed ? WIFSIGNALED(status) : WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        Demo demo;
        std::string error;
        ASSERT_TRUE(readDemoFile(path, demo, error)) << error;
        EXPECT_NE(demo.cutShort, "");
        EXPECT_GE(demo.updates.size(), killed ? 1000u : 500u);
        EXPECT_EQ(replay(demo).verdict, "");
        std::remove(path.c_str());
    }
}

TEST(ReplayDemo, DamagedHeadersAndBodiesAreRejected) {
    const Recording r = record(40, 8);
    auto parse = [](std::vector<uint8_t> bytes) {
        Demo demo;
        std::string error;
        EXPECT_FALSE(parseDemo(bytes, "x.demo", demo, error));
        return error;
    };
    std::vector<uint8_t> b = r.bytes;
    b[0] = 'X';
    EXPECT_EQ(parse(b), "x.demo: byte 0: not a demo file (it does not start with KRELDEMO)");
    EXPECT_EQ(parse({'K', 'R'}), "x.demo: byte 0: not a demo file (it does not start with KRELDEMO)");
    EXPECT_EQ(parse({'n', 'o', 't', 'e', 's'}), "x.demo: byte 0: not a demo file (it does not start with KRELDEMO)");
    b = r.bytes;
    b[8] = 4;
    EXPECT_EQ(parse(b), "x.demo: byte 8: demo format version 4, this program reads versions 1 to 3");
    b = r.bytes;
    b[20] ^= 0x01;  // a flipped bit in the first block: its checksum notices, and nothing is left
    EXPECT_NE(parse(b).find("x.demo: byte "), std::string::npos);
    // Past the first block, damage cuts the demo short at the last sound block.
    for (const bool trailing : {false, true}) {
        b = r.bytes;
        if (trailing) b.push_back(0);
        else b[b.size() / 2] ^= 0x01;
        Demo demo;
        std::string error;
        ASSERT_TRUE(parseDemo(b, "x.demo", demo, error)) << error;
        EXPECT_EQ(demo.cutShort, trailing ? "byte " + std::to_string(r.bytes.size()) + ": data after the end record"
                                          : "byte 131: unknown record tag 84");
        EXPECT_EQ(demo.updates.size(), trailing ? 40u : 16u);
    }
    b = r.bytes;
    b[16] = 'Q';
    EXPECT_EQ(parse(b), "x.demo: byte 16: the first record must be the level record");
    std::vector<uint8_t> garbage(200);
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<uint8_t>(i * 151 + 7);
    EXPECT_EQ(parse(garbage).rfind("x.demo: byte 0:", 0), 0u);
}

// A demo recorded and committed long ago on a small level of its own: its file checksum and
// its 30 state checkpoints must still match, whatever computes the checksums now.
TEST(ReplayDemo, ACommittedDemoStillReplaysInStep) {
    const std::string data = std::string(KRELLO_SOURCE_DIR) + "/tests/data/";
    std::ifstream level(data + "two_rooms.level", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(level), std::istreambuf_iterator<char>()};
    auto g = std::make_unique<GameState>();
    LevelSourceMap map;
    std::vector<std::string> errors;
    ASSERT_TRUE(compileLevelSource(text, "two_rooms.level", LevelSize::Partial, *g, map, errors));
    Demo demo;
    std::string error;
    ASSERT_TRUE(readDemoFile(data + "two_rooms.demo", demo, error)) << error;
    ASSERT_EQ(demo.checkpoints.size(), 30u);
    DemoReplayer rp(demo);
    startLevel(*g, rp);
    while (!rp.finished()) {
        runFrame(*g, rp);
        ASSERT_TRUE(rp.endUpdate(*g)) << rp.error();
    }
    EXPECT_EQ(g->gameOver, 1);
}

TEST(ReplayDemo, TheTimedemoLineGivesTheRateAndTheMinMedianAndMaxFrameTimes) {
    using std::chrono::microseconds;
    TimedemoClock timing(4);
    const TimedemoClock::Clock::time_point start = TimedemoClock::Clock::now();
    // Frame times as measured from the clock's own start, which is a moment before `start`.
    TimedemoClock::Clock::time_point t = start;
    for (int ms : {4, 1, 2}) timing.frameDone(t += microseconds(ms * 1000));
    const std::string line = timing.report(t);
    EXPECT_EQ(line.rfind("timedemo: 3 frames in 0.0", 0), 0u) << line;
    EXPECT_NE(line.find(" fps (min/median/max frame 1.00/2.00/"), std::string::npos) << line;
}

TEST(ReplayDemo, Crc32IsTheCommonOne) {
    const std::string check = "123456789";
    EXPECT_EQ(crc32({reinterpret_cast<const uint8_t*>(check.data()), check.size()}), 0xCBF43926u);
}

// The browser's build has no zlib and uses the table: both give the same values, in one piece
// or continued over several.
TEST(ReplayDemo, Crc32TableAgreesWithZlib) {
    std::vector<uint8_t> bytes(70001);
    uint32_t x = 12345;
    for (uint8_t& b : bytes) b = static_cast<uint8_t>((x = x * 1103515245u + 12345u) >> 16);
    for (size_t n : {size_t{0}, size_t{1}, size_t{255}, size_t{4096}, bytes.size()}) {
        const std::span<const uint8_t> piece(bytes.data(), n);
        EXPECT_EQ(crc32Continue(0, piece), crc32(piece)) << n << " bytes";
        Crc32 running;
        running.add(piece.first(n / 3));
        EXPECT_EQ(crc32Continue(crc32Continue(0, piece.first(n / 3)), piece.subspan(n / 3)),
                  (running.add(piece.subspan(n / 3)), running.value()))
            << n << " bytes in two pieces";
    }
}

TEST(ReplayDemo, VarintsRoundTrip) {
    for (uint32_t v : {0u, 1u, 127u, 128u, 16383u, 16384u, 0xFFFFFFFFu}) {
        std::vector<uint8_t> bytes(DEMO_MAGIC, DEMO_MAGIC + 8);
        for (uint8_t b : {1, 0, 1, 0, 0, 0, 0, 0}) bytes.push_back(b);
        bytes.push_back(DEMO_START);
        for (int i = 0; i < 4; ++i) bytes.push_back(0);
        bytes.push_back(DEMO_UPDATE);
        uint8_t varint[MAX_VARINT_BYTES];
        bytes.insert(bytes.end(), varint, varint + encodeVarint(v, varint));
        bytes.push_back(0);
        bytes.push_back(0);
        const uint32_t crc = crc32(bytes);
        bytes.push_back(DEMO_END);
        for (uint32_t w : {1u, crc}) {
            for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(w >> (8 * i)));
        }
        Demo demo;
        std::string error;
        ASSERT_TRUE(parseDemo(bytes, "v", demo, error)) << error;
        EXPECT_EQ(demo.updates.at(0).clockStep, v);
    }
}

}  // namespace
}  // namespace krello
