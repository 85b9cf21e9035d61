// Palette expansion: indices become the colours of the palette in force, at the texture's pitch.
#include "platform/common/palette_expand.h"

#include <gtest/gtest.h>

#include <vector>

#include "render/render_view.h"

namespace krello {
namespace {

TEST(PaletteExpand, LookupFollowsThePlayAndTintedPalettes) {
    const PixelLookup play = makePixelLookup(buildRamps(0));
    EXPECT_EQ(play[0], 0xFF000000u);
    EXPECT_EQ(play[63], 0xFFFBE0CCu);  // (251, 224, 204), just short of warm white
    EXPECT_EQ(play[64], 0xFF000000u);
    const PixelLookup tinted = makePixelLookup(buildRamps(255));
    EXPECT_EQ(tinted[64], 0xFFFF0000u);
    EXPECT_EQ(tinted[128], 0xFFFF0000u);
    EXPECT_EQ(tinted[191], 0xFFFF0000u);
}

TEST(PaletteExpand, EveryPixelLandsAtItsRowAndColumnAndPaddingIsLeftAlone) {
    std::vector<uint8_t> frame(FRAME_BYTES);
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        for (int x = 0; x < SCREEN_WIDTH; ++x) frame[y * SCREEN_WIDTH + x] = static_cast<uint8_t>(x + 3 * y);
    }
    PixelLookup lookup{};
    for (int i = 0; i < 256; ++i) lookup[i] = 0xFF000000u | static_cast<uint32_t>(i * 0x010101);
    constexpr int pitch = SCREEN_WIDTH + 16;  // a padded texture row
    constexpr uint32_t untouched = 0x12345678u;
    std::vector<uint32_t> out(static_cast<size_t>(pitch) * SCREEN_HEIGHT, untouched);
    expandFrame(frame.data(), lookup, out.data(), pitch);
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        for (int x = 0; x < pitch; ++x) {
            const uint32_t got = out[static_cast<size_t>(y) * pitch + x];
            if (x < SCREEN_WIDTH) {
                ASSERT_EQ(got, lookup[static_cast<uint8_t>(x + 3 * y)]) << "at " << x << "," << y;
            } else {
                ASSERT_EQ(got, untouched) << "padding at " << x << "," << y;
            }
        }
    }
}

}  // namespace
}  // namespace krello
