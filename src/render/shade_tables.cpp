// Shaded pixels by texel for a shade offset and ramp, made once and read by every wall row.
#include "render/shade_tables.h"

#include <algorithm>

namespace krello {

void ShadeTables::make(Slot& slot, int16_t shadeOffset, uint8_t ramp) {
    slot.key = static_cast<int32_t>(static_cast<uint16_t>(shadeOffset)) << 8 | ramp;
    // shadeTexel written without branches, so the compiler can make 16 entries a step.
    for (int t = 0; t < 256; ++t) {
        const int v = static_cast<int16_t>(static_cast<uint16_t>(t - shadeOffset));
        slot.pixel[t] = static_cast<uint8_t>(std::clamp(v, 0, 63) + ramp);
    }
}

}  // namespace krello
