// The game's host on SDL: the millisecond clock, the latched game keys and the palette in force.
#pragma once

#include <SDL.h>

#include "game/platform_seam.h"
#include "platform/common/key_latch.h"
#include "platform/common/palette_expand.h"
#include "world/palette.h"

namespace krello {

class SdlSeam final : public PlatformSeam {
public:
    SdlSeam();

    uint32_t readClock() override;
    bool keyHeld(GameKey key) override;
    void tintPalette(int startRed) override;

    // Feeds a key event to the latch; false when the key is not a game key.
    bool handleKey(const SDL_KeyboardEvent& key);
    // The window lost the keyboard: no key-up will come for keys held now.
    void releaseAllKeys() { keys_.releaseAll(); }

    const Palette& palette() const { return palette_; }
    const PixelLookup& pixelLookup() const { return lookup_; }

private:
    KeyLatch keys_;
    Palette palette_;
    PixelLookup lookup_;
    int startRed_ = 0;
};

}  // namespace krello
