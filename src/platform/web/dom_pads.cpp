// The browser's gamepads (the Gamepad API's standard layout) as the controls every shell shares.
#include "platform/web/dom_pads.h"

#include <array>
#include <cmath>

namespace krello {
namespace {

// The standard layout's buttons in its order; the triggers (6 and 7) are axes.
constexpr std::array<PadButton, 17> STANDARD_BUTTONS = {
    PadButton::A,         PadButton::B,          PadButton::X,          PadButton::Y,
    PadButton::LeftShoulder, PadButton::RightShoulder, PadButton::None,  PadButton::None,
    PadButton::Back,      PadButton::Start,      PadButton::LeftStick,  PadButton::RightStick,
    PadButton::DpadUp,    PadButton::DpadDown,   PadButton::DpadLeft,   PadButton::DpadRight,
    PadButton::Guide,
};

}  // namespace

DomPadControl padControlOfButton(int index) {
    if (index == 6) return {PadButton::None, true, PadAxis::LeftTrigger};
    if (index == 7) return {PadButton::None, true, PadAxis::RightTrigger};
    if (index < 0 || index >= static_cast<int>(STANDARD_BUTTONS.size())) return {};
    return {STANDARD_BUTTONS[static_cast<size_t>(index)], false, PadAxis::Count};
}

PadAxis padAxisOfAxis(int index) {
    constexpr std::array<PadAxis, 4> AXES = {PadAxis::LeftX, PadAxis::LeftY, PadAxis::RightX, PadAxis::RightY};
    return index >= 0 && index < 4 ? AXES[static_cast<size_t>(index)] : PadAxis::Count;
}

int padAxisValue(double travel) {
    if (std::isnan(travel)) return 0;  // a pad that reports nothing leans nowhere
    travel = std::fmax(-1.0, std::fmin(1.0, travel));
    return travel < 0 ? static_cast<int>(travel * 32768.0) : static_cast<int>(travel * 32767.0);
}

}  // namespace krello
