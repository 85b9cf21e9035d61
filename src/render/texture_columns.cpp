// Texture slots column by column, kept by each column thread for wall rows drawn with vectors.
#include "render/texture_columns.h"

#include <cstring>

namespace krello {
namespace {

// Whether the copy still holds the bank's bytes, eight at a time with no early exit (a plain loop
// every compiler can widen; the browser's C library compares byte by byte).
bool sameBytes(const uint8_t* a, const uint8_t* b) {
    uint64_t differ = 0;
    for (size_t i = 0; i < static_cast<size_t>(TEXTURE_BYTES); i += sizeof differ) {
        uint64_t x, y;
        std::memcpy(&x, a + i, sizeof x);
        std::memcpy(&y, b + i, sizeof y);
        differ |= x ^ y;
    }
    return differ == 0;
}

}  // namespace

const uint8_t* TextureColumns::of(const uint8_t* texture, int slot) {
    Slot& s = slots_[static_cast<size_t>(slot & (SLOTS - 1))];
    const uint32_t bit = 1u << (slot & (SLOTS - 1));
    if (!(checked_ & bit)) {
        checked_ |= bit;
        if (!s.made || !sameBytes(s.bank.data(), texture)) {
            std::memcpy(s.bank.data(), texture, TEXTURE_BYTES);
            for (int r = 0; r < TEXTURE_SIDE; ++r)
                for (int c = 0; c < TEXTURE_SIDE; ++c) s.byColumn[c * TEXTURE_SIDE + r] = s.bank[r * TEXTURE_SIDE + c];
            s.made = true;
        }
    }
    return s.byColumn.data();
}

}  // namespace krello
