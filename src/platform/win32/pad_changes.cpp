// An XInput pad's state, read twice, as the pad events every shell shares.
#include "platform/win32/pad_changes.h"

namespace krello {
namespace {

// XINPUT_GAMEPAD_* bits and the common button each one is. XInput has no Guide button.
struct ButtonBit {
    uint16_t bit;
    PadButton button;
};
constexpr ButtonBit BUTTON_BITS[] = {
    {0x0001, PadButton::DpadUp},       {0x0002, PadButton::DpadDown},      {0x0004, PadButton::DpadLeft},
    {0x0008, PadButton::DpadRight},    {0x0010, PadButton::Start},         {0x0020, PadButton::Back},
    {0x0040, PadButton::LeftStick},    {0x0080, PadButton::RightStick},    {0x0100, PadButton::LeftShoulder},
    {0x0200, PadButton::RightShoulder}, {0x1000, PadButton::A},            {0x2000, PadButton::B},
    {0x4000, PadButton::X},            {0x8000, PadButton::Y},
};

// XInput's sticks count up as positive; the common layout (SDL's) counts down as positive.
int downward(int16_t up) { return up == -32768 ? 32767 : -up; }
int triggerValue(uint8_t t) { return t * 32767 / 255; }

// Each axis of a snapshot in the common range.
std::array<int, static_cast<size_t>(PadAxis::Count)> axesOf(const PadSnapshot& s) {
    return {s.thumbLX, downward(s.thumbLY), s.thumbRX, downward(s.thumbRY), triggerValue(s.leftTrigger),
            triggerValue(s.rightTrigger)};
}

void add(PadChanges& c, PadEvent e) { c.events[static_cast<size_t>(c.count++)] = e; }

}  // namespace

PadChanges padChanges(const PadSnapshot& before, const PadSnapshot& now) {
    PadChanges c;
    // A pad gone is seen as one with nothing pressed, then removed; a new one starts from rest.
    const PadSnapshot rest;
    const PadSnapshot& from = before.connected ? before : rest;
    const PadSnapshot& to = now.connected ? now : rest;
    if (!before.connected && now.connected) add(c, {PadEvent::Kind::Added});
    for (const ButtonBit& b : BUTTON_BITS) {
        const bool was = (from.buttons & b.bit) != 0;
        const bool is = (to.buttons & b.bit) != 0;
        if (was != is) add(c, {is ? PadEvent::Kind::ButtonDown : PadEvent::Kind::ButtonUp, b.button});
    }
    const auto a = axesOf(from);
    const auto z = axesOf(to);
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != z[i]) add(c, {PadEvent::Kind::Axis, PadButton::None, static_cast<PadAxis>(i), z[i]});
    if (before.connected && !now.connected) add(c, {PadEvent::Kind::Removed});
    return c;
}

}  // namespace krello
