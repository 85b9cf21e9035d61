// Demos: a recorded game replays to the same state, and damaged or out-of-step demos are caught.
#include <gtest/gtest.h>

#include <cstdio>
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

TEST(ReplayDemo, EveryTruncationIsRejectedWithItsOffset) {
    const Recording r = record(40, 8);
    for (size_t n = 0; n < r.bytes.size(); ++n) {
        Demo demo;
        std::string error;
        EXPECT_FALSE(parseDemo(std::span(r.bytes).first(n), "t.demo", demo, error)) << n;
        EXPECT_EQ(error.rfind("t.demo: byte ", 0), 0u) << error;
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
    b[8] = 3;
    EXPECT_EQ(parse(b), "x.demo: byte 8: demo format version 3, this program reads versions 1 to 2");
    b = r.bytes;
    b[b.size() / 2] ^= 0x01;  // a flipped bit in the body: the file checksum notices
    EXPECT_NE(parse(b).find("x.demo: byte "), std::string::npos);
    b = r.bytes;
    b.push_back(0);
    EXPECT_EQ(parse(b), "x.demo: byte " + std::to_string(r.bytes.size()) + ": data after the end record");
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
