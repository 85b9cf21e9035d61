// The palette in force on the screen, and its pixels, rebuilt only when the tint changes.
#include "platform/common/shown_palette.h"

namespace krello {

ShownPalette::ShownPalette() : palette_(buildRamps(0)), lookup_(makePixelLookup(palette_)) {}

void ShownPalette::tint(int startRed) {
    if (startRed == startRed_) return;
    startRed_ = startRed;
    palette_ = buildRamps(startRed);
    lookup_ = makePixelLookup(palette_);
}

}  // namespace krello
