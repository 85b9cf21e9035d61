// Text from a user or a file as a one-line message echoes it: bounded, and unable to steer a terminal.
#include "io/shown_text.h"

#include <cstdint>
#include <cstdio>

namespace krello::io {

namespace {

std::string escaped(std::string_view text, size_t most) {
    std::string out;
    size_t count = 0;
    int continuing = 0;  // continuation bytes the last character's first byte still announces
    for (const char byte : text) {
        const auto c = static_cast<unsigned char>(byte);
        // Characters are counted by their first byte; the bytes that continue one go with it, but
        // no more than its first byte announces, so a run of stray continuation bytes counts byte
        // by byte and the echo stays bounded in bytes too.
        const bool continues = (c & 0xC0) == 0x80 && continuing > 0;
        if (continues) {
            --continuing;
        } else {
            continuing = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        }
        if (!continues && count++ == most) {
            out += "\xE2\x80\xA6";  // …
            break;
        }
        if (c < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        } else {
            out += byte;
        }
    }
    return out;
}

}  // namespace

std::string shownText(std::string_view text) { return escaped(text, MAX_SHOWN_CHARACTERS); }

std::string escapedText(std::string_view text) { return escaped(text, SIZE_MAX); }

std::string shownText(std::string_view text, size_t most) { return escaped(text, most); }

}  // namespace krello::io
