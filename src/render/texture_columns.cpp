// Texture slots column by column, kept by each column thread for wall rows drawn with vectors.
#include "render/texture_columns.h"

#include <cstring>

namespace krello {

const uint8_t* TextureColumns::of(const uint8_t* texture, int slot) {
    Slot& s = slots_[static_cast<size_t>(slot & (SLOTS - 1))];
    const uint32_t bit = 1u << (slot & (SLOTS - 1));
    if (!(checked_ & bit)) {
        checked_ |= bit;
        if (!s.made || std::memcmp(s.bank.data(), texture, TEXTURE_BYTES) != 0) {
            std::memcpy(s.bank.data(), texture, TEXTURE_BYTES);
            for (int r = 0; r < TEXTURE_SIDE; ++r)
                for (int c = 0; c < TEXTURE_SIDE; ++c) s.byColumn[c * TEXTURE_SIDE + r] = s.bank[r * TEXTURE_SIDE + c];
            s.made = true;
        }
    }
    return s.byColumn.data();
}

}  // namespace krello
