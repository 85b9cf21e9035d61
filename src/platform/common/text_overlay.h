// The text drawn over a finished frame: the score, and "GAME OVER!" once the game is over.
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

// The overlay of every frame: "Score: N" at the top left and, after game over, "GAME OVER!".
void annotateFrame(uint8_t* frame, const Palette& palette, int32_t score, bool gameOver);

}  // namespace krello
