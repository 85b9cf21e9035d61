// The text drawn over a finished frame: the score, "GAME OVER!", and what the shell has to say.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/common/bitmap_font.h"
#include "world/palette.h"

namespace krello {

// The palette entries the text uses: ink nearest to white, paper nearest to black.
struct TextColours {
    uint8_t ink = 0;
    uint8_t paper = 0;
};

// Chosen from the palette in force, so the text follows the red tint: after it no dark entry
// is left and the boxes turn red, while the ink stays the palest entry there is.
TextColours pickTextColours(const Palette& palette);

constexpr int SCORE_TEXT_X = 0;
constexpr int SCORE_TEXT_Y = 0;
constexpr int GAME_OVER_TEXT_X = 110;
constexpr int GAME_OVER_TEXT_Y = 95;

// Draws text with its top-left at (x, y) into a 320x200 frame of palette indices: each
// character is an 8x8 cell of ink on an opaque paper box. A newline ends the text (it is not
// drawn); cells partly off the frame are clipped.
void drawText(uint8_t* frame, int x, int y, std::string_view text, const FontTable& font,
              TextColours colours);

// Where the shell's own texts stand: a centred block above "GAME OVER!" (pause, the quit
// prompt), the hint under it, messages on the bottom rows, the frame rate at the top right.
constexpr int CENTRE_TEXT_Y = 64;
constexpr int CENTRE_HINT_Y = 76;
constexpr int RESTART_HINT_Y = GAME_OVER_TEXT_Y + 12;
constexpr int MESSAGE_COLUMNS = 40;  // 320 / 8: a longer message is wrapped
constexpr int MESSAGE_MAX_LINES = 3;

// Everything drawn over one frame; empty texts are left out.
struct OverlayText {
    int32_t score = 0;
    bool gameOver = false;
    std::string_view restartHint;  // under "GAME OVER!": "Press Enter to play again"
    std::string_view centre;       // "PAUSED", "Quit? Y/N"
    std::string_view centreHint;   // "P: resume"
    std::string_view message;      // shown for a moment at the bottom, wrapped to 40 columns
    std::string_view fps;          // "70 fps 2.1 ms" at the top right
};

// Draws `text` centred on the row at y.
void drawCentredText(uint8_t* frame, int y, std::string_view text, const FontTable& font, TextColours colours);

// The overlay of every frame: "Score: N" at the top left, "GAME OVER!" after game over, and the
// shell's texts, all in the colours picked from the palette in force.
void annotateFrame(uint8_t* frame, const Palette& palette, const OverlayText& text);
void annotateFrame(uint8_t* frame, const Palette& palette, int32_t score, bool gameOver);

}  // namespace krello
