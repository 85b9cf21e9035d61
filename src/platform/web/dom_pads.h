// The browser's gamepads (the Gamepad API's standard layout) as the controls every shell shares.
#pragma once

#include "platform/common/input_names.h"

namespace krello {

// A button of the standard layout: a button of ours, or a trigger, which is an axis of ours as
// it is on the desktop's pads (the browser gives its travel as the button's value, 0 to 1).
struct DomPadControl {
    PadButton button = PadButton::None;  // None for a trigger or a button we do not name
    bool trigger = false;
    PadAxis axis = PadAxis::Count;       // the trigger's axis
};

// Buttons 0..16 of the standard layout: A B X Y, the shoulders, the triggers, Back and Start,
// the stick presses, the d-pad (up, down, left, right) and Guide.
DomPadControl padControlOfButton(int index);
// Axes 0..3 of the standard layout: the left stick's x and y, the right stick's; Count for others.
PadAxis padAxisOfAxis(int index);
// A travel of -1..1 (a stick) or 0..1 (a trigger) as the shells' -32768..32767.
int padAxisValue(double travel);

}  // namespace krello
