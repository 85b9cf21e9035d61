// krello-tool and sound: the tour's mixed sound against its committed checksum, the same states
// and frames with and without it, the effects as files, and refused outputs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "program_run.h"
#include "replay/crc32.h"

namespace krello {
namespace {

using namespace krello::test;

const std::string DATA = std::string(KRELLO_SOURCE_DIR) + "/tests/data/";

std::string committedTourChecksum() {
    std::ifstream in(DATA + "sound.crc");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("tour.wav ", 0) == 0) return line.substr(9);
    return "missing";
}

uint32_t little(const std::string& bytes, size_t at, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(bytes[at + static_cast<size_t>(i)]);
    return v;
}

// Regenerate on purpose only: scripts/sound-checksums.sh (after listening to what changed).
TEST(SoundTool, TheToursSoundMatchesItsCommittedChecksum) {
    const std::string wav = tempPath("tour.wav");
    const ProgramRun r = runTool("run --input " + DATA + "tour.input --wav " + wav);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string bytes = readText(wav);
    ASSERT_GT(bytes.size(), 44u);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(little(bytes, 22, 2), 2u);      // stereo
    EXPECT_EQ(little(bytes, 24, 4), 22050u);  // samples a second
    EXPECT_EQ(little(bytes, 34, 2), 16u);     // bits a sample
    EXPECT_EQ(little(bytes, 40, 4), bytes.size() - 44);
    // Game time decides the length: the tour's frame times (52.7 s), then the last sounds' end.
    const double seconds = double(bytes.size() - 44) / (22050 * 4);
    EXPECT_GT(seconds, 52.6);
    EXPECT_LT(seconds, 55.0);
    const std::vector<uint8_t> raw(bytes.begin(), bytes.end());
    EXPECT_EQ(crc32Text(crc32(raw)), committedTourChecksum())
        << "the tour's sound changed; if on purpose, listen to it and run scripts/sound-checksums.sh";
    std::filesystem::remove(wav);
}

TEST(SoundTool, StatesAndFramesAreTheSameWithSoundAndWithout) {
    const std::string args = "run --input " + DATA + "tour.input --frames 800 --state-every 100 --frame-crc";
    const ProgramRun silent = runTool(args);
    const ProgramRun heard = runTool(args + " --wav " + tempPath("heard.wav"));
    ASSERT_EQ(silent.status, 0) << silent.err;
    ASSERT_EQ(heard.status, 0) << heard.err;
    EXPECT_EQ(silent.out, heard.out);
    EXPECT_NE(silent.out.find("frame crc32 "), std::string::npos);
    EXPECT_GT(std::filesystem::file_size(tempPath("heard.wav")), 44u);
}

TEST(SoundTool, WritesEveryEffectAndRefusesWhatItCannotWrite) {
    const std::filesystem::path dir = tempPath("effects");
    ASSERT_EQ(runTool("sounds wav " + dir.string()).status, 0);
    const ProgramRun list = runTool("sounds list");
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 16);
    for (const char* name : {"player-fire", "enemy-hit", "player-hit", "step-d", "quit-prompt"}) {
        EXPECT_GT(std::filesystem::file_size(dir / (std::string(name) + ".wav")), 1000u) << name;
        EXPECT_NE(list.out.find(name), std::string::npos) << name;
    }
    std::filesystem::remove_all(dir);

    // A WAV that cannot be written stops the run before it starts, and nothing else appears.
    const std::string dump = tempPath("states.txt");
    const ProgramRun bad = runTool("run --input " + DATA + "tour.input --frames 10 --dump-state " + dump +
                                   " --wav /nonexistent-dir/tour.wav");
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(std::count(bad.err.begin(), bad.err.end(), '\n'), 1) << bad.err;
    EXPECT_NE(bad.err.find("tour.wav"), std::string::npos) << bad.err;
    EXPECT_FALSE(std::filesystem::exists(dump));
}

}  // namespace
}  // namespace krello
