// The overlay: glyph pixels where they belong, opaque boxes, clipping, and readable colours.
#include "platform/common/text_overlay.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "render/render_view.h"
#include "test_files.h"

namespace krello {
namespace {

constexpr uint8_t BACKGROUND = 77;  // an index neither text colour uses

std::vector<uint8_t> blankFrame() { return std::vector<uint8_t>(FRAME_BYTES, BACKGROUND); }

double channel(int c) {
    const double v = c / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double luminance(const PaletteEntry& e) {
    return 0.2126 * channel(e.red) + 0.7152 * channel(e.green) + 0.0722 * channel(e.blue);
}

double contrast(const Palette& palette, TextColours colours) {
    const double ink = luminance(palette[colours.ink]);
    const double paper = luminance(palette[colours.paper]);
    return (std::max(ink, paper) + 0.05) / (std::min(ink, paper) + 0.05);
}

TEST(TextOverlay, TheScoreStartsWithAnSAtTheTopLeft) {
    const Palette palette = buildRamps(0);
    const TextColours colours = pickTextColours(palette);
    std::vector<uint8_t> frame = blankFrame();
    annotateFrame(frame.data(), palette, 0, false);
    // The S of our font, cell by cell.
    const char* const s[GLYPH_HEIGHT] = {"..####..", ".#......", ".#......", "..###...",
                                         ".....#..", ".....#..", ".####...", "........"};
    for (int y = 0; y < GLYPH_HEIGHT; ++y) {
        for (int x = 0; x < GLYPH_WIDTH; ++x) {
            const uint8_t want = s[y][x] == '#' ? colours.ink : colours.paper;
            EXPECT_EQ(frame[y * SCREEN_WIDTH + x], want) << "cell " << x << "," << y;
        }
    }
}

TEST(TextOverlay, ScoreBoxCoversItsCharactersAndNothingElse) {
    const Palette palette = buildRamps(0);
    std::vector<uint8_t> frame = blankFrame();
    annotateFrame(frame.data(), palette, 1230, false);  // "Score: 1230": 11 cells
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            const bool inBox = x < 11 * GLYPH_WIDTH && y < GLYPH_HEIGHT;
            ASSERT_EQ(frame[y * SCREEN_WIDTH + x] != BACKGROUND, inBox) << "at " << x << "," << y;
        }
    }
}

TEST(TextOverlay, GameOverAppearsOnlyAfterTheGameEnds) {
    const Palette palette = buildRamps(255);
    std::vector<uint8_t> playing = blankFrame();
    annotateFrame(playing.data(), palette, 10, false);
    EXPECT_EQ(playing[GAME_OVER_TEXT_Y * SCREEN_WIDTH + GAME_OVER_TEXT_X], BACKGROUND);
    std::vector<uint8_t> over = blankFrame();
    annotateFrame(over.data(), palette, 10, true);
    const int boxEnd = GAME_OVER_TEXT_X + 10 * GLYPH_WIDTH;  // "GAME OVER!"
    for (int x = GAME_OVER_TEXT_X - 1; x <= boxEnd; ++x) {
        const bool inBox = x >= GAME_OVER_TEXT_X && x < boxEnd;
        EXPECT_EQ(over[(GAME_OVER_TEXT_Y + 3) * SCREEN_WIDTH + x] != BACKGROUND, inBox) << "x " << x;
    }
    EXPECT_EQ(over[(GAME_OVER_TEXT_Y + GLYPH_HEIGHT) * SCREEN_WIDTH + GAME_OVER_TEXT_X], BACKGROUND);
}

TEST(TextOverlay, NewlineEndsTheTextAndEdgesClip) {
    const TextColours colours{1, 2};
    std::vector<uint8_t> frame(FRAME_BYTES + SCREEN_WIDTH, BACKGROUND);  // one guard row below
    drawText(frame.data(), 0, 0, "AB\nCD", builtinFont(), colours);
    EXPECT_NE(frame[15], BACKGROUND);
    EXPECT_EQ(frame[16], BACKGROUND);                 // nothing after the newline
    EXPECT_EQ(frame[8 * SCREEN_WIDTH], BACKGROUND);  // nor on a next line
    drawText(frame.data(), 316, 196, "WW", builtinFont(), colours);
    EXPECT_NE(frame[199 * SCREEN_WIDTH + 319], BACKGROUND);
    for (int x = 0; x < 8; ++x) EXPECT_EQ(frame[197 * SCREEN_WIDTH + x], BACKGROUND) << "wrapped into the next row";
    for (int x = 0; x < SCREEN_WIDTH; ++x) ASSERT_EQ(frame[FRAME_BYTES + x], BACKGROUND) << "past the frame";
    drawText(frame.data(), -4, -4, "M", builtinFont(), colours);  // partly above and left: no crash, clipped
    EXPECT_NE(frame[0], BACKGROUND);
}

TEST(TextOverlay, TextStaysReadableBeforeAndAfterTheRedTint) {
    const Palette play = buildRamps(0);
    const TextColours playColours = pickTextColours(play);
    EXPECT_EQ(play[playColours.paper].red + play[playColours.paper].green + play[playColours.paper].blue, 0);
    EXPECT_GE(contrast(play, playColours), 7.0);

    const Palette tinted = buildRamps(255);
    const TextColours tintColours = pickTextColours(tinted);
    EXPECT_NE(tintColours.ink, tintColours.paper);
    EXPECT_GT(tinted[tintColours.paper].red, 200);  // no dark entry is left: the boxes are red
    EXPECT_GE(contrast(tinted, tintColours), 3.0);  // still legible at this size
}

TEST(BitmapFont, TheFontFileParsesAndMatchesTheBuiltInTable) {
    const FontParse parsed = parseFont(test::readText(KRELLO_FONT_FILE));
    ASSERT_EQ(parsed.errorLine, 0) << parsed.error;
    EXPECT_EQ(parsed.font.glyphs, builtinFont().glyphs);
    for (int c = FIRST_GLYPH + 1; c <= LAST_GLYPH; ++c) {
        const Glyph& g = glyphFor(builtinFont(), static_cast<char>(c));
        int ink = 0;
        for (uint8_t row : g) ink += row != 0;
        EXPECT_GT(ink, 0) << "glyph " << c << " is empty";
    }
    EXPECT_EQ(glyphFor(builtinFont(), '\x01'), glyphFor(builtinFont(), '?'));
    EXPECT_EQ(glyphFor(builtinFont(), '\xE9'), glyphFor(builtinFont(), '?'));
}

TEST(BitmapFont, MalformedSourcesNameTheLine) {
    EXPECT_EQ(parseFont("glyph 41\n########\n").errorLine, 2);  // too few rows at the end
    EXPECT_EQ(parseFont("; c\nglyph 4G\n").errorLine, 2);
    EXPECT_EQ(parseFont("glyph 41\n#######\n").errorLine, 2);   // seven cells
    EXPECT_EQ(parseFont("glyph 41\n####x###\n").errorLine, 2);
    EXPECT_EQ(parseFont("glyph 7F\n").errorLine, 1);            // not printable
    std::string twice = "glyph 41\n";
    for (int i = 0; i < 8; ++i) twice += "........\n";
    EXPECT_EQ(parseFont(twice + twice).errorLine, 10);
    const FontParse missing = parseFont(twice);
    EXPECT_NE(missing.errorLine, 0);
    EXPECT_STREQ(missing.error, "a printable ASCII character has no glyph");
}

}  // namespace
}  // namespace krello
