// An XInput pad's state, read twice, as the pad events every shell shares. Plain numbers, no
// windows.h, so the mapping is tested on every platform.
#pragma once

#include <array>
#include <cstdint>

#include "platform/common/input_names.h"

namespace krello {

// What XInputGetState reports of one pad (XINPUT_GAMEPAD), and whether it answered at all.
struct PadSnapshot {
    bool connected = false;
    uint16_t buttons = 0;        // XINPUT_GAMEPAD_* bits
    uint8_t leftTrigger = 0;     // 0..255
    uint8_t rightTrigger = 0;
    int16_t thumbLX = 0;         // -32768..32767, up and right positive
    int16_t thumbLY = 0;
    int16_t thumbRX = 0;
    int16_t thumbRY = 0;
};

struct PadEvent {
    enum class Kind : uint8_t { Added, Removed, ButtonDown, ButtonUp, Axis };
    Kind kind;
    PadButton button = PadButton::None;  // ButtonDown, ButtonUp
    PadAxis axis = PadAxis::LeftX;       // Axis
    int value = 0;                       // Axis: in the common range (sticks -32768..32767, down and
                                         // right positive; triggers 0..32767)
};

// At most: a connection change, every button, every axis.
constexpr int MAX_PAD_EVENTS = 2 + PAD_BUTTON_COUNT + static_cast<int>(PadAxis::Count);

// The events that take a pad from `before` to `now`, in a fixed array so a frame allocates
// nothing. A pad that goes away first lets go of what it held, so no key stays down.
struct PadChanges {
    std::array<PadEvent, MAX_PAD_EVENTS> events;
    int count = 0;
};
PadChanges padChanges(const PadSnapshot& before, const PadSnapshot& now);

}  // namespace krello
