// The palette in force on the screen, and its pixels, rebuilt only when the tint changes.
#pragma once

#include "platform/common/palette_expand.h"
#include "world/palette.h"

namespace krello {

// What a shell shows frames through. The update asks for the same tint on every frame an
// enemy shot is within reach, so the palette is rebuilt only when the tint asked for changes.
class ShownPalette {
public:
    ShownPalette();

    // The game's tintPalette: every colour ramp starting at (startRed, 0, 0).
    void tint(int startRed);

    const Palette& palette() const { return palette_; }
    const PixelLookup& pixelLookup() const { return lookup_; }

private:
    Palette palette_;     // the colours in force
    PixelLookup lookup_;  // the same colours as screen pixels
    int startRed_ = 0;    // the tint they were built with
};

}  // namespace krello
