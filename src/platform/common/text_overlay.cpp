// The text drawn over a finished frame: the score, "GAME OVER!", and what the shell has to say.
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

void drawCentredText(uint8_t* frame, int y, std::string_view text, const FontTable& font, TextColours colours) {
    const int width = static_cast<int>(text.size()) * GLYPH_WIDTH;
    drawText(frame, (SCREEN_WIDTH - width) / 2, y, text, font, colours);
}

namespace {

// Breaks a message into lines of at most MESSAGE_COLUMNS, at spaces where it can; the last
// MESSAGE_MAX_LINES lines are drawn on the bottom rows, so the end (the reason) stays visible.
void drawMessage(uint8_t* frame, std::string_view message, TextColours colours) {
    std::string_view lines[MESSAGE_MAX_LINES];
    int count = 0;
    while (!message.empty()) {
        std::string_view line = message.substr(0, MESSAGE_COLUMNS);
        if (message.size() > MESSAGE_COLUMNS) {
            const size_t space = line.rfind(' ');
            if (space != std::string_view::npos && space > 0) line = line.substr(0, space);
        }
        message.remove_prefix(line.size());
        while (!message.empty() && message.front() == ' ') message.remove_prefix(1);
        if (count == MESSAGE_MAX_LINES) {
            for (int i = 1; i < MESSAGE_MAX_LINES; ++i) lines[i - 1] = lines[i];
            count = MESSAGE_MAX_LINES - 1;
        }
        lines[count++] = line;
    }
    for (int i = 0; i < count; ++i)
        drawText(frame, 0, SCREEN_HEIGHT - (count - i) * GLYPH_HEIGHT, lines[i], builtinFont(), colours);
}

}  // namespace

void annotateFrame(uint8_t* frame, const Palette& palette, const OverlayText& t) {
    const TextColours colours = pickTextColours(palette);
    const FontTable& font = builtinFont();
    char score[32];  // "Score: -2147483648" is the longest it can be
    const int length = std::snprintf(score, sizeof score, "Score: %d", static_cast<int>(t.score));
    drawText(frame, SCORE_TEXT_X, SCORE_TEXT_Y, std::string_view(score, static_cast<size_t>(length)), font, colours);
    if (t.gameOver) {
        drawText(frame, GAME_OVER_TEXT_X, GAME_OVER_TEXT_Y, "GAME OVER!", font, colours);
        if (!t.restartHint.empty()) drawCentredText(frame, RESTART_HINT_Y, t.restartHint, font, colours);
    }
    if (!t.centre.empty()) drawCentredText(frame, CENTRE_TEXT_Y, t.centre, font, colours);
    if (!t.centreHint.empty()) drawCentredText(frame, CENTRE_HINT_Y, t.centreHint, font, colours);
    if (!t.fps.empty()) {
        const int x = SCREEN_WIDTH - static_cast<int>(t.fps.size()) * GLYPH_WIDTH;
        drawText(frame, x, 0, t.fps, font, colours);
    }
    if (!t.message.empty()) drawMessage(frame, t.message, colours);
}

void annotateFrame(uint8_t* frame, const Palette& palette, int32_t score, bool gameOver) {
    OverlayText text;
    text.score = score;
    text.gameOver = gameOver;
    annotateFrame(frame, palette, text);
}

}  // namespace krello
