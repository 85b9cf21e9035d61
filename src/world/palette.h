// The 256-colour palette: four ramps of 64 shades from (startRed, 0, 0) to each ramp's end colour.
#pragma once

#include <array>
#include <cstdint>

namespace krello {

struct PaletteEntry {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    uint8_t flags;  // always 0
};
using Palette = std::array<PaletteEntry, 256>;

// startRed is 0 during play and 255 after game over (the red tint).
Palette buildRamps(int startRed);

// The palette as 256 red, green, blue byte triples, the colour map of an indexed picture.
std::array<uint8_t, 256 * 3> rgbColourMap(const Palette& palette);

}  // namespace krello
