// The four colour ramps of the palette, each from (startRed, 0, 0) to its end colour.
#include "world/palette.h"

#include <algorithm>

namespace krello {
namespace {

struct RampEnd {
    int red;
    int green;
    int blue;
};

// Warm white, cool white, red and orange: walls, floors, enemy shots and player shots.
constexpr RampEnd RAMP_ENDS[4] = {{255, 228, 208}, {208, 228, 255}, {255, 0, 0}, {255, 172, 0}};

// Shade k of 64 between start and end; the product is shifted, so shade 63 stops short of end.
uint8_t rampComponent(int start, int end, int k) {
    return static_cast<uint8_t>((start * 64 + k * (end - start)) >> 6);
}

}  // namespace

Palette buildRamps(int startRed) {
    // Any other start would leave the byte range and wrap into unrelated colours.
    const int red = std::clamp(startRed, 0, 255);
    Palette palette{};
    for (int ramp = 0; ramp < 4; ++ramp) {
        const RampEnd& end = RAMP_ENDS[ramp];
        for (int k = 0; k < 64; ++k) {
            PaletteEntry& e = palette[static_cast<size_t>(ramp * 64 + k)];
            e.red = rampComponent(red, end.red, k);
            e.green = rampComponent(0, end.green, k);
            e.blue = rampComponent(0, end.blue, k);
            e.flags = 0;
        }
    }
    return palette;
}

std::array<uint8_t, 256 * 3> rgbColourMap(const Palette& palette) {
    std::array<uint8_t, 256 * 3> map{};
    for (size_t i = 0; i < palette.size(); ++i) {
        map[i * 3 + 0] = palette[i].red;
        map[i * 3 + 1] = palette[i].green;
        map[i * 3 + 2] = palette[i].blue;
    }
    return map;
}

}  // namespace krello
