// Fuzzes the demo reader and the replayer: any bytes are read or refused in one line, and a
// demo that reads is replayed on the built-in level until it ends or goes out of step. The
// fuzzer rarely guesses a file checksum, so each input is also tried with its end record's
// checksum made right, which lets mutations reach the replayer.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "replay/crc32.h"
#include "replay/demo.h"
#include "replay/game_run.h"

namespace {

using namespace krello;

// Updates replayed at most per input, to keep runs quick.
constexpr long MAX_REPLAYED = 1000;

void readAndReplay(const std::vector<uint8_t>& bytes) {
    Demo demo;
    std::string error;
    if (!parseDemo(bytes, "fuzz.demo", demo, error)) {
        fuzz::requireOneLine(error, "fuzz.demo: byte ");
        return;
    }
    fuzz::require(!demo.updates.empty(), "a demo that reads holds updates");
    // A recording cut short replays up to its last block and says so in one line.
    if (!demo.cutShort.empty())
        fuzz::requireOneLineEach({demoEndLine("fuzz.demo", demo, 1, 0)}, "fuzz.demo: demo ends early after ");
    const auto run = std::make_unique<GameRun>();
    std::vector<std::string> problems;
    fuzz::require(run->loadLevel("", problems), "the built-in level loads");
    // The refusal of another level's demo is one line; then the demo is replayed on the built-in
    // level whatever level it names, as the fuzzer rarely hits that level's checksum.
    fuzz::requireOneLineEach({demoLevelMismatch("fuzz.demo", demo, DemoLevel{~demo.levelChecksum, ""})}, "fuzz.demo: ");
    demo.levelChecksum = run->level().checksum;
    fuzz::require(run->replay(std::move(demo), "fuzz.demo").empty(), "the built-in level's demo is taken");
    run->start();
    while (run->updates() < MAX_REPLAYED && run->step()) {
    }
    const std::string verdict = run->finish();
    fuzz::require(verdict.find('\n') == std::string::npos, "a divergence is one line");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    readAndReplay(bytes);
    constexpr size_t END_RECORD = 9;
    if (size >= DEMO_HEADER_BYTES + END_RECORD && bytes[size - END_RECORD] == DEMO_END) {
        const uint32_t crc = crc32({bytes.data(), size - END_RECORD});
        for (size_t b = 0; b < 4; ++b) bytes[size - 4 + b] = static_cast<uint8_t>(crc >> (8 * b));
        readAndReplay(bytes);
    }
    return 0;
}
