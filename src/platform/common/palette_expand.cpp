// Turns a frame of palette indices into true-colour pixels through the palette in force.
#include "platform/common/palette_expand.h"

#include <cstddef>

#include "world/screen.h"

namespace krello {

PixelLookup makePixelLookup(const Palette& palette) {
    PixelLookup lookup{};
    for (size_t i = 0; i < palette.size(); ++i) {
        const PaletteEntry& e = palette[i];
        lookup[i] = 0xFF000000u | (uint32_t{e.red} << 16) | (uint32_t{e.green} << 8) | uint32_t{e.blue};
    }
    return lookup;
}

void expandFrame(const uint8_t* frame, const PixelLookup& lookup, uint32_t* out, int outPitch) {
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        const uint8_t* src = frame + y * SCREEN_WIDTH;
        uint32_t* dst = out + static_cast<ptrdiff_t>(y) * outPitch;
        for (int x = 0; x < SCREEN_WIDTH; ++x) dst[x] = lookup[src[x]];
    }
}

}  // namespace krello
