// The game's own 8x8 text font, parsed from its text source when the program is compiled.
#include "platform/common/bitmap_font.h"

namespace krello {
namespace {

constexpr std::string_view BUILTIN_FONT_SOURCE =
#include "font_8x8_source.inc"
    ;

constexpr bool isBlank(std::string_view line) {
    for (char c : line) {
        if (c != ' ' && c != '\t' && c != '\r') return false;
    }
    return true;
}

constexpr int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

constexpr std::string_view trimEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    return line;
}

// The code of a "glyph XX" header, or -1 when the line is not a valid header.
constexpr int glyphHeaderCode(std::string_view line) {
    constexpr std::string_view prefix = "glyph ";
    line = trimEnd(line);
    if (line.size() != prefix.size() + 2 || line.substr(0, prefix.size()) != prefix) return -1;
    const int high = hexDigit(line[prefix.size()]);
    const int low = hexDigit(line[prefix.size() + 1]);
    if (high < 0 || low < 0) return -1;
    return high * 16 + low;
}

// The row's bits, or -1 when the line is not eight '#'/'.' cells.
constexpr int glyphRowBits(std::string_view line) {
    line = trimEnd(line);
    if (line.size() != GLYPH_WIDTH) return -1;
    int bits = 0;
    for (char c : line) {
        if (c != '#' && c != '.') return -1;
        bits = (bits << 1) | (c == '#' ? 1 : 0);
    }
    return bits;
}

constexpr FontParse failAt(FontParse parse, int line, const char* why) {
    parse.errorLine = line;
    parse.error = why;
    return parse;
}

constexpr FontParse parseFontSource(std::string_view source) {
    FontParse parse{};
    std::array<bool, GLYPH_COUNT> seen{};
    int current = -1;  // index of the glyph whose rows are being read
    int rowsRead = 0;
    int lineNumber = 0;
    while (!source.empty()) {
        const size_t end = source.find('\n');
        const std::string_view line = source.substr(0, end);
        source.remove_prefix(end == std::string_view::npos ? source.size() : end + 1);
        ++lineNumber;
        if (current >= 0 && rowsRead < GLYPH_HEIGHT) {
            const int bits = glyphRowBits(line);
            if (bits < 0) return failAt(parse, lineNumber, "expected a row of eight '#' or '.' cells");
            parse.font.glyphs[current][rowsRead++] = static_cast<uint8_t>(bits);
            continue;
        }
        if (isBlank(line) || line.front() == ';') continue;
        const int code = glyphHeaderCode(line);
        if (code < 0) return failAt(parse, lineNumber, "expected 'glyph XX' with a hex character code");
        if (code < FIRST_GLYPH || code > LAST_GLYPH) {
            return failAt(parse, lineNumber, "character code outside printable ASCII");
        }
        current = code - FIRST_GLYPH;
        if (seen[current]) return failAt(parse, lineNumber, "character given twice");
        seen[current] = true;
        rowsRead = 0;
    }
    if (current >= 0 && rowsRead < GLYPH_HEIGHT) {
        return failAt(parse, lineNumber, "the last glyph has fewer than eight rows");
    }
    for (bool s : seen) {
        if (!s) return failAt(parse, lineNumber, "a printable ASCII character has no glyph");
    }
    return parse;
}

constexpr FontParse BUILTIN_PARSE = parseFontSource(BUILTIN_FONT_SOURCE);
static_assert(BUILTIN_PARSE.errorLine == 0, "src/platform/common/font_8x8.txt is malformed");
constexpr FontTable BUILTIN_FONT = BUILTIN_PARSE.font;

}  // namespace

FontParse parseFont(std::string_view source) { return parseFontSource(source); }

const FontTable& builtinFont() { return BUILTIN_FONT; }

const Glyph& glyphFor(const FontTable& font, char c) {
    const int code = static_cast<unsigned char>(c);
    if (code < FIRST_GLYPH || code > LAST_GLYPH) return font.glyphs['?' - FIRST_GLYPH];
    return font.glyphs[code - FIRST_GLYPH];
}

}  // namespace krello
