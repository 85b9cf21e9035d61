// The PNG encoder: what it writes decodes (by libpng) to the pixels given; bad pictures are refused.
#include "io/png_encode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "io/file_bytes.h"
#include "png_reader.h"
#include "program_run.h"

namespace krello {
namespace {

testing::PngImage decoded(const io::PngBytes& png) {
    testing::PngImage image;
    EXPECT_EQ(png.error, "");
    const std::string path = test::tempPath("picture.png");
    EXPECT_EQ(io::writeFile(path, png.bytes), "");
    std::string reason;
    EXPECT_TRUE(testing::readPng(path, image, reason)) << reason;
    std::remove(path.c_str());
    return image;
}

// An odd size, so rows are not a multiple of any word; every map entry is used.
TEST(PngEncode, PicturesDecodeToTheirPixels) {
    constexpr int W = 7, H = 3;
    const std::vector<uint8_t> map = {0, 0, 0, 255, 255, 255, 10, 200, 30, 251, 224, 204};
    std::vector<uint8_t> indices(W * H), rgb;
    for (int i = 0; i < W * H; ++i) {
        indices[i] = static_cast<uint8_t>((i * 5 + i / W) % 4);
        rgb.insert(rgb.end(), map.begin() + indices[i] * 3, map.begin() + indices[i] * 3 + 3);
    }
    const testing::PngImage fromIndices = decoded(io::encodeIndexedPng(W, H, indices.data(), map));
    EXPECT_EQ(fromIndices.width, W);
    EXPECT_EQ(fromIndices.height, H);
    EXPECT_EQ(fromIndices.rgb, rgb);
    const testing::PngImage fromRgb = decoded(io::encodeRgbPng(W, H, rgb.data()));
    EXPECT_EQ(fromRgb.width, W);
    EXPECT_EQ(fromRgb.rgb, rgb);
}

TEST(PngEncode, BadPicturesGiveAReasonAndNoBytes) {
    const std::vector<uint8_t> pixels(48, 1), map(8, 0);  // two and two thirds colours
    struct Case {
        const char* what;
        io::PngBytes png;
        const char* reason;
    };
    const Case cases[] = {
        {"no width", io::encodeIndexedPng(0, 4, pixels.data(), map), "empty picture"},
        {"no pixels", io::encodeRgbPng(4, 4, nullptr), "empty picture"},
        {"too large", io::encodeRgbPng(1 << 16, 1 << 14, pixels.data()), "picture too large"},
        {"no colour map", io::encodeIndexedPng(4, 4, pixels.data(), {}), "a colour map needs 1 to 256 RGB entries"},
        {"part of a colour", io::encodeIndexedPng(4, 4, pixels.data(), map), "a colour map needs 1 to 256 RGB entries"},
        {"index past the map", io::encodeIndexedPng(4, 4, pixels.data(), std::span(map).first(3)),
         "pixel 0 uses colour 1 of a colour map of 1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.png.error, c.reason) << c.what;
        EXPECT_TRUE(c.png.bytes.empty()) << c.what;
    }
}

}  // namespace
}  // namespace krello
