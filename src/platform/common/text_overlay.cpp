// The text drawn over a finished frame: the score, and "GAME OVER!" once the game is over.
#include "platform/common/text_overlay.h"

#include <cstdio>

#include "world/screen.h"

namespace krello {
namespace {

int distance2(const PaletteEntry& e, int red, int green, int blue) {
    const int dr = e.red - red;
    const int dg = e.green - green;
    const int db = e.blue - blue;
    return dr * dr + dg * dg + db * db;
}

// The lowest index among the entries nearest to the colour, so ties are stable.
uint8_t nearestEntry(const Palette& palette, int red, int green, int blue) {
    int best = 0;
    for (int i = 1; i < static_cast<int>(palette.size()); ++i) {
        if (distance2(palette[i], red, green, blue) < distance2(palette[best], red, green, blue)) best = i;
    }
    return static_cast<uint8_t>(best);
}

void drawGlyph(uint8_t* frame, int x, int y, const Glyph& glyph, TextColours colours) {
    for (int row = 0; row < GLYPH_HEIGHT; ++row) {
        const int py = y + row;
        if (py < 0 || py >= SCREEN_HEIGHT) continue;
        for (int col = 0; col < GLYPH_WIDTH; ++col) {
            const int px = x + col;
            if (px < 0 || px >= SCREEN_WIDTH) continue;
            const bool ink = (glyph[row] >> (GLYPH_WIDTH - 1 - col)) & 1;
            frame[py * SCREEN_WIDTH + px] = ink ? colours.ink : colours.paper;
        }
    }
}

}  // namespace

TextColours pickTextColours(const Palette& palette) {
    return TextColours{nearestEntry(palette, 255, 255, 255), nearestEntry(palette, 0, 0, 0)};
}

void drawText(uint8_t* frame, int x, int y, std::string_view text, const FontTable& font,
              TextColours colours) {
    for (char c : text) {
        if (c == '\n') break;
        if (x >= SCREEN_WIDTH) break;
        drawGlyph(frame, x, y, glyphFor(font, c), colours);
        x += GLYPH_WIDTH;
    }
}

void annotateFrame(uint8_t* frame, const Palette& palette, int32_t score, bool gameOver) {
    const TextColours colours = pickTextColours(palette);
    char text[32];  // "Score: -2147483648" is the longest it can be
    const int length = std::snprintf(text, sizeof text, "Score: %d", static_cast<int>(score));
    drawText(frame, SCORE_TEXT_X, SCORE_TEXT_Y, std::string_view(text, static_cast<size_t>(length)),
             builtinFont(), colours);
    if (gameOver) drawText(frame, GAME_OVER_TEXT_X, GAME_OVER_TEXT_Y, "GAME OVER!", builtinFont(), colours);
}

}  // namespace krello
