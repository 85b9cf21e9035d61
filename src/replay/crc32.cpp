// CRC-32 (zlib's, the common reflected 0xEDB88320 polynomial), for level, state and frame checksums.
#include "replay/crc32.h"

#if __has_include(<zlib.h>)
#include <zlib.h>
#define KRELLO_CRC32_FROM_ZLIB 1
#else
// The browser's build has no zlib; the table gives the same values (a test compares the two).
#include "replay/crc32_table.h"
#endif

#include <cstdio>
#include <limits>

namespace krello {

void Crc32::add(std::span<const uint8_t> bytes) {
#ifndef KRELLO_CRC32_FROM_ZLIB
    value_ = crc32Continue(value_, bytes);
#else
    // zlib takes lengths as uInt; a span longer than that goes in pieces.
    constexpr size_t MAX_PIECE = std::numeric_limits<uInt>::max();
    while (!bytes.empty()) {
        const size_t n = bytes.size() < MAX_PIECE ? bytes.size() : MAX_PIECE;
        value_ = static_cast<uint32_t>(::crc32(value_, bytes.data(), static_cast<uInt>(n)));
        bytes = bytes.subspan(n);
    }
#endif
}

void Crc32::addU16(uint16_t v) {
    const uint8_t b[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
    add(b);
}

void Crc32::addU32(uint32_t v) {
    const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                          static_cast<uint8_t>(v >> 24)};
    add(b);
}

uint32_t crc32(std::span<const uint8_t> bytes) {
    Crc32 c;
    c.add(bytes);
    return c.value();
}

std::string crc32Text(uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

}  // namespace krello
