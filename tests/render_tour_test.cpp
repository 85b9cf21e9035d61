// The tool's render command: committed frame checksums of the tour, outputs, and its refusals.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "program_run.h"

namespace {

namespace fs = std::filesystem;

int runTool(const std::string& args) { return krello::test::runTool(args).status; }

fs::path scratchDir(const std::string& name) {
    const fs::path dir = fs::temp_directory_path() / ("krello_render_" + name + "_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

const std::string kChecksums = std::string(KRELLO_SOURCE_DIR) + "/tests/data/tour_frames.crc";

// Regenerate on purpose only: krello-tool render --tour DIR --write-checksums tests/data/tour_frames.crc
TEST(RenderTour, FramesMatchTheCommittedChecksums) {
    const fs::path dir = scratchDir("tour");
    EXPECT_EQ(runTool("render --tour " + dir.string() + " --check-checksums " + kChecksums), 0);
    EXPECT_TRUE(fs::exists(dir / "start.png"));
    fs::remove_all(dir);
}

TEST(RenderTour, AChangedChecksumIsCaught) {
    const fs::path dir = scratchDir("tamper");
    std::ifstream in(kChecksums);
    std::stringstream text;
    text << in.rdbuf();
    std::string sums = text.str();
    const auto start = sums.find("\nstart ");
    ASSERT_NE(start, std::string::npos);
    char& digit = sums[start + 7];
    digit = digit == '0' ? '1' : '0';
    const fs::path tampered = dir / "tampered.crc";
    std::ofstream(tampered) << sums;
    EXPECT_EQ(runTool("render --tour " + dir.string() + " --check-checksums " + tampered.string()), 2);
    std::ofstream(tampered) << "start 1234\n";
    EXPECT_EQ(runTool("render --tour " + dir.string() + " --check-checksums " + tampered.string()), 2);
    fs::remove_all(dir);
}

TEST(RenderTool, WritesTheFrameAndRefusesBadArguments) {
    const fs::path dir = scratchDir("one");
    const fs::path raw = dir / "frame.raw";
    EXPECT_EQ(runTool("render --view 7542 38995 -461632 323 151 --raw " + raw.string() + " --png " +
                      (dir / "frame.png").string()),
              0);
    EXPECT_EQ(fs::file_size(raw), 64000u);
    EXPECT_TRUE(fs::exists(dir / "frame.png"));
    EXPECT_EQ(runTool("render --view 1 2 3 4 191"), 2);    // no such sector
    EXPECT_EQ(runTool("render --view 1 2 3 4 -1"), 2);
    EXPECT_EQ(runTool("render --view 1 2 3x 4 5"), 2);     // not a number
    EXPECT_EQ(runTool("render --view 1 2 3 2048 5"), 2);   // not an angle
    EXPECT_EQ(runTool("render --view 1 2 3 4"), 2);        // too few
    EXPECT_EQ(runTool("render --raw /nonexistent-dir/x.raw"), 2);
    EXPECT_EQ(runTool("render --tour " + raw.string() + "/below-a-file"), 2);  // no such folder
    EXPECT_EQ(runTool("render --tour " + dir.string() + " --view 1 2 3 4 5"), 2);
    fs::remove_all(dir);
}

}  // namespace
