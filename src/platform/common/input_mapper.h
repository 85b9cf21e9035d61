// Keys and gamepad controls into the game keys the update asks for (through the tap latch) and the
// shell actions a press asks for.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>

#include "platform/common/bindings.h"
#include "platform/common/key_latch.h"

namespace krello {

// Every source that can hold a game key is tracked on its own (each key, each gamepad's buttons
// and stick), and a game key is down while any of its sources is, so letting go of one of two
// keys bound to the same game key does not let go of the game key.
class InputMapper {
public:
    static constexpr int MAX_PADS = 4;  // gamepads played with at once

    explicit InputMapper(const Bindings& bindings) : bindings_(bindings) {}

    // A key went down (repeat: the system's auto-repeat) with these modifiers held. Returns the
    // shell actions it asks for: those bound to the key whose modifiers are all held, and of
    // those only the ones with the most modifiers, so Alt+Enter is not also a plain Enter.
    // Repeats and keys held already ask for none.
    ActionSet keyDown(KeyId key, uint8_t modifiers, bool repeat);
    void keyUp(KeyId key);

    // Gamepads by the shell's own number for the device; a new number takes a free place (none
    // beyond MAX_PADS: those pads are ignored).
    ActionSet padButtonDown(int pad, PadButton button);
    void padButtonUp(int pad, PadButton button);
    // Axis values -32768..32767; the left stick moves like the d-pad past the dead zone, a
    // trigger counts as a button from half way.
    ActionSet padAxis(int pad, PadAxis axis, int value);
    // Everything the pad held is let go.
    void padRemoved(int pad);

    // The window lost the keyboard: no key-up will come for the keys held now. Taps not yet
    // asked for still count.
    void releaseAll();

    // What the update asks: through the latch, so a tap shorter than a frame counts once.
    bool query(GameKey key) { return latch_.query(key); }

private:
    struct Pad {
        int id = -1;                               // the shell's number for it; -1: a free place
        std::bitset<PAD_BUTTON_COUNT> buttons;     // held now (triggers included)
        int8_t stickX = 0;                         // -1, 0 or 1: the left stick past the dead zone
        int8_t stickY = 0;
    };

    Pad* findPad(int id, bool claim);
    ActionSet shellActionsOfKey(KeyId key, uint8_t modifiers) const;
    ActionSet shellActionsOfButton(PadButton button) const;
    ActionSet setButton(int pad, PadButton button, bool down);
    bool gameKeyHeld(Action action) const;
    void update();

    Bindings bindings_;  // a copy: the mapper may outlive the settings it was made from
    std::bitset<KEY_ID_COUNT> keysDown_;
    std::array<Pad, MAX_PADS> pads_{};
    std::bitset<GAME_KEY_COUNT> held_;  // what the latch was last told
    KeyLatch latch_;
};

}  // namespace krello
