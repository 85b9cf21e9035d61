// Screenshots: a PNG of the frame in the palette in force, numbered without overwriting.
#include "platform/common/screenshot.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "png_reader.h"
#include "render/render_view.h"
#include "test_files.h"

namespace krello {
namespace {

namespace fs = std::filesystem;

class ScreenshotTest : public test::FolderTest {
protected:
    void SetUp() override {
        FolderTest::SetUp();
        for (int i = 0; i < FRAME_BYTES; ++i) frame[i] = static_cast<uint8_t>(i % 251);
    }
    std::vector<uint8_t> frame = std::vector<uint8_t>(FRAME_BYTES);
};

TEST_F(ScreenshotTest, PngShowsTheFrameInThePaletteInForce) {
    const Palette tinted = buildRamps(255);
    ScreenshotTaker shots(dir.string());
    const ScreenshotTaker::Result r = shots.take(frame.data(), tinted);
    ASSERT_TRUE(r.ok) << r.reason;
    EXPECT_EQ(fs::path(r.path).filename(), "krello-0001.png");
    testing::PngImage image;
    std::string reason;
    ASSERT_TRUE(testing::readPng(r.path, image, reason)) << reason;
    EXPECT_EQ(image.width, SCREEN_WIDTH);
    EXPECT_EQ(image.height, SCREEN_HEIGHT);
    ASSERT_EQ(image.rgb.size(), frame.size() * 3);
    for (size_t i = 0; i < frame.size(); ++i) {
        const PaletteEntry& shown = tinted[frame[i]];
        if (image.rgb[i * 3] != shown.red || image.rgb[i * 3 + 1] != shown.green || image.rgb[i * 3 + 2] != shown.blue) {
            ADD_FAILURE() << "pixel " << i << " is not colour " << int(frame[i]) << " of the tinted palette";
            break;
        }
    }
}

TEST_F(ScreenshotTest, NumbersRunOnAndSkipFilesAlreadyThere) {
    {
        std::FILE* f = std::fopen((dir / "krello-0002.png").c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fputs("keep me", f);
        std::fclose(f);
    }
    ScreenshotTaker shots(dir.string());
    const Palette palette = buildRamps(0);
    EXPECT_EQ(fs::path(shots.take(frame.data(), palette).path).filename(), "krello-0001.png");
    EXPECT_EQ(fs::path(shots.take(frame.data(), palette).path).filename(), "krello-0003.png");
    EXPECT_EQ(fs::file_size(dir / "krello-0002.png"), 7u);  // not overwritten
}

TEST_F(ScreenshotTest, AMissingFolderIsReportedNotCrashed) {
    ScreenshotTaker shots((dir / "gone").string());
    const ScreenshotTaker::Result r = shots.take(frame.data(), buildRamps(0));
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.reason.find("gone"), std::string::npos) << r.reason;
}

}  // namespace
}  // namespace krello
