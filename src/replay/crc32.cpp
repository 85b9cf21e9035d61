// CRC-32 (the common reflected 0xEDB88320 polynomial), for level and game-state checksums.
#include "replay/crc32.h"

#include <array>

namespace krello {

namespace {

constexpr std::array<uint32_t, 256> makeTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}

constexpr std::array<uint32_t, 256> TABLE = makeTable();

}  // namespace

void Crc32::addByte(uint8_t b) { state_ = TABLE[(state_ ^ b) & 0xFFu] ^ (state_ >> 8); }

void Crc32::add(std::span<const uint8_t> bytes) {
    for (uint8_t b : bytes) addByte(b);
}

void Crc32::addU16(uint16_t v) {
    addByte(static_cast<uint8_t>(v));
    addByte(static_cast<uint8_t>(v >> 8));
}

void Crc32::addU32(uint32_t v) {
    addU16(static_cast<uint16_t>(v));
    addU16(static_cast<uint16_t>(v >> 16));
}

uint32_t crc32(std::span<const uint8_t> bytes) {
    Crc32 c;
    c.add(bytes);
    return c.value();
}

}  // namespace krello
