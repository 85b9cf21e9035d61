// CRC-32 from a table the compiler builds, for builds that have no zlib (the browser's).
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace krello {

// The reflected 0xEDB88320 polynomial's table, one entry per byte value.
constexpr std::array<uint32_t, 256> makeCrc32Table() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

inline constexpr std::array<uint32_t, 256> CRC32_TABLE = makeCrc32Table();

// Continues the CRC `crc` (0 for nothing yet) over `bytes`; the same value zlib's crc32 gives.
constexpr uint32_t crc32Continue(uint32_t crc, std::span<const uint8_t> bytes) {
    uint32_t c = ~crc;
    for (const uint8_t b : bytes) c = CRC32_TABLE[(c ^ b) & 0xFFu] ^ (c >> 8);
    return ~c;
}

}  // namespace krello
