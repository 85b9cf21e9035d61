// The game's own 8x8 text font, parsed from its text source when the program is compiled.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace krello {

constexpr int GLYPH_WIDTH = 8;
constexpr int GLYPH_HEIGHT = 8;
constexpr int FIRST_GLYPH = 0x20;  // space
constexpr int LAST_GLYPH = 0x7E;   // tilde
constexpr int GLYPH_COUNT = LAST_GLYPH - FIRST_GLYPH + 1;

// One glyph: a byte per row, top row first; bit 7 is the leftmost cell.
using Glyph = std::array<uint8_t, GLYPH_HEIGHT>;

struct FontTable {
    std::array<Glyph, GLYPH_COUNT> glyphs{};
};

// What parsing the font source gave: the table, or the line and reason it stopped at.
struct FontParse {
    FontTable font{};
    int errorLine = 0;           // 1-based; 0 when the source was sound
    const char* error = nullptr;  // why, when errorLine is set
};

// Reads the font source: blocks of a "glyph XX" line (hex code) and eight rows of eight
// '#'/'.' cells; ';' starts a comment line; blank lines are ignored. Every printable ASCII
// character must be given exactly once, so no text can fall back to a missing glyph.
FontParse parseFont(std::string_view source);

// The built-in font, checked while compiling: a broken font file fails the build.
const FontTable& builtinFont();

// The glyph drawn for a character; anything outside printable ASCII shows as '?'.
const Glyph& glyphFor(const FontTable& font, char c);

}  // namespace krello
