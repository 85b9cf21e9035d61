// Turns a frame of palette indices into true-colour pixels through the palette in force.
#pragma once

#include <array>
#include <cstdint>

#include "world/palette.h"

namespace krello {

// The palette as 0xAARRGGBB pixels (opaque), built once per palette change, not per frame.
using PixelLookup = std::array<uint32_t, 256>;

PixelLookup makePixelLookup(const Palette& palette);

// Writes the 320x200 frame into out, whose rows are outPitch pixels apart (a locked texture's
// rows may be padded, so the pitch is the destination's, never assumed).
void expandFrame(const uint8_t* frame, const PixelLookup& lookup, uint32_t* out, int outPitch);

}  // namespace krello
