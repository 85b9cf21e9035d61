// CRC-32 (the common reflected 0xEDB88320 polynomial), for level and game-state checksums.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace krello {

// A running CRC-32: feed bytes in any number of pieces, read value() at any time.
class Crc32 {
public:
    void add(std::span<const uint8_t> bytes);
    void addByte(uint8_t b);
    void addU16(uint16_t v);  // little-endian
    void addU32(uint32_t v);  // little-endian
    uint32_t value() const { return ~state_; }

private:
    uint32_t state_ = 0xFFFFFFFFu;
};

uint32_t crc32(std::span<const uint8_t> bytes);

}  // namespace krello
