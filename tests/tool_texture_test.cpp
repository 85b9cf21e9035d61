// krello-tool's texture and palette commands, run as a program: files written, failures reported.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "level/builtin_level.h"
#include "png_reader.h"
#include "program_run.h"
#include "world/textures.h"

namespace krello {
namespace {

using namespace krello::test;

std::vector<uint8_t> readFile(const std::string& path) {
    const std::string text = readText(path);
    return {text.begin(), text.end()};
}

int lineCount(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

// A PNG's width and height from its header chunk, or {0, 0} when the signature is wrong.
std::pair<uint32_t, uint32_t> pngSize(const std::vector<uint8_t>& png) {
    const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (png.size() < 24 || !std::equal(signature, signature + 8, png.begin())) return {0, 0};
    auto be32 = [&](size_t at) {
        return uint32_t(png[at]) << 24 | uint32_t(png[at + 1]) << 16 | uint32_t(png[at + 2]) << 8 | png[at + 3];
    };
    return {be32(16), be32(20)};
}

// The colour of the swatch of palette entry i in a palette picture (16 x 16 swatches of 16 pixels).
std::vector<int> swatchColour(const std::string& path, int i) {
    testing::PngImage image;
    std::string reason;
    if (!testing::readPng(path, image, reason) || image.width != 256 || image.height != 256) {
        ADD_FAILURE() << path << ": " << reason;
        return {};
    }
    const size_t at = (static_cast<size_t>(i / 16 * 16 + 8) * 256 + static_cast<size_t>(i % 16 * 16 + 8)) * 3;
    return {image.rgb[at], image.rgb[at + 1], image.rgb[at + 2]};
}

TEST(ToolTextures, DumpWritesTheBankANewGameBuilds) {
    const std::string path = tempPath("bank.bin");
    std::remove(path.c_str());
    ASSERT_EQ(runTool("textures dump " + path).status, 0);
    const std::vector<uint8_t> bytes = readFile(path);
    ASSERT_EQ(bytes.size(), 229376u);

    auto g = std::make_unique<GameState>();
    loadBuiltinLevel(*g);
    buildTextures(*g);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), g->textures.begin()));
}

TEST(ToolTextures, SheetAndPaletteArePngPictures) {
    const std::string sheet = tempPath("sheet.png");
    ASSERT_EQ(runTool("textures sheet " + sheet).status, 0);
    const auto [w, h] = pngSize(readFile(sheet));
    EXPECT_GE(w, 7u * 256u);  // seven tiles side by side at twice their size
    EXPECT_GE(h, 2u * 256u);

    const std::string plain = tempPath("palette.png");
    const std::string tinted = tempPath("palette_tinted.png");
    ASSERT_EQ(runTool("palette " + plain).status, 0);
    ASSERT_EQ(runTool("palette --tinted " + tinted).status, 0);
    EXPECT_EQ(swatchColour(plain, 63), (std::vector<int>{251, 224, 204}));
    EXPECT_EQ(swatchColour(plain, 64), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(swatchColour(tinted, 64), (std::vector<int>{255, 0, 0}));
}

TEST(ToolTextures, BadUseFailsWithOneLineAndStatus2) {
    const char* cases[] = {"", "textures", "textures dump", "textures frobnicate x", "palette",
                           "palette a.png --no-such-flag", "textures dump a b"};
    for (const char* args : cases) {
        const ProgramRun run = runTool(args);
        EXPECT_EQ(run.status, 2) << "'" << args << "'";
        EXPECT_EQ(lineCount(run.err), 1) << "'" << args << "': " << run.err;
    }
}

TEST(ToolTextures, AMisspeltCommandIsNamed) {
    const ProgramRun top = runTool("textrues dump x");
    EXPECT_EQ(top.status, 2);
    EXPECT_NE(top.err.find("unknown command 'textrues' for 'krello-tool'"), std::string::npos)
        << top.err;
    const ProgramRun nested = runTool("textures frobnicate x");
    EXPECT_NE(nested.err.find("unknown command 'frobnicate' for 'krello-tool textures'"),
              std::string::npos)
        << nested.err;
}

TEST(ToolTextures, UnwritableOutputNamesTheFile) {
    const std::string dir = "/nonexistent-krello-dir/";
    for (const std::string& args : {"textures dump " + dir + "bank.bin", "textures sheet " + dir + "s.png",
                                    "palette " + dir + "p.png"}) {
        const ProgramRun run = runTool(args);
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_EQ(lineCount(run.err), 1) << args;
        EXPECT_NE(run.err.find(dir), std::string::npos) << run.err;
    }
}

TEST(ToolTextures, HelpSucceeds) {
    for (const char* args : {"--help", "textures --help", "textures dump --help", "palette --help"})
        EXPECT_EQ(runTool(args).status, 0) << args;
}

}  // namespace
}  // namespace krello
