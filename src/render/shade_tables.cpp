// Shaded pixels by texel for a shade offset and ramp, made once and read by every wall row.
#include "render/shade_tables.h"

#include <algorithm>

namespace krello {

const uint8_t* ShadeTables::table(int16_t shadeOffset, uint8_t ramp) {
    const int32_t key = static_cast<int32_t>(static_cast<uint16_t>(shadeOffset)) << 8 | ramp;
    Slot& slot = slots_[static_cast<uint32_t>(shadeOffset + (ramp >> 6)) % SLOTS];
    if (slot.key != key) {
        slot.key = key;
        // shadeTexel written without branches, so the compiler can make 16 entries a step.
        for (int t = 0; t < 256; ++t) {
            const int v = static_cast<int16_t>(static_cast<uint16_t>(t - shadeOffset));
            slot.pixel[t] = static_cast<uint8_t>(std::clamp(v, 0, 63) + ramp);
        }
    }
    return slot.pixel.data();
}

}  // namespace krello
