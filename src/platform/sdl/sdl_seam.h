// The game's host on SDL: the millisecond clock, the latched game keys and the palette in force.
#pragma once

#include <SDL.h>

#include "game/platform_seam.h"
#include "platform/common/key_latch.h"
#include "platform/common/shown_palette.h"

namespace krello {

class SdlSeam final : public PlatformSeam {
public:
    uint32_t readClock() override;
    bool keyHeld(GameKey key) override;
    void tintPalette(int startRed) override;

    // Feeds a key event to the latch; false when the key is not a game key.
    bool handleKey(const SDL_KeyboardEvent& key);
    // The window lost the keyboard: no key-up will come for keys held now.
    void releaseAllKeys() { keys_.releaseAll(); }

    const Palette& palette() const { return shown_.palette(); }
    const PixelLookup& pixelLookup() const { return shown_.pixelLookup(); }

private:
    KeyLatch keys_;       // the game keys, latched between the update's questions
    ShownPalette shown_;  // the palette in force on the screen
};

}  // namespace krello
