// CRC-32 (zlib's, the common reflected 0xEDB88320 polynomial), for level, state and frame checksums.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace krello {

// A running CRC-32: feed bytes in any number of pieces, read value() at any time.
class Crc32 {
public:
    void add(std::span<const uint8_t> bytes);
    void addByte(uint8_t b) { add({&b, 1}); }
    void addU16(uint16_t v);  // little-endian
    void addU32(uint32_t v);  // little-endian
    uint32_t value() const { return value_; }

private:
    uint32_t value_ = 0;  // the CRC of everything added so far (0 for nothing)
};

uint32_t crc32(std::span<const uint8_t> bytes);

// A checksum as the tools print and list it: eight lower-case hexadecimal digits.
std::string crc32Text(uint32_t value);

}  // namespace krello
