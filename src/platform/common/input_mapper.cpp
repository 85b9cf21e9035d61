// Keys and gamepad controls into the game keys the update asks for (through the tap latch) and the
// shell actions a press asks for.
#include "platform/common/input_mapper.h"

#include <bit>

namespace krello {
namespace {

constexpr int TRIGGER_PRESSED = 16384;  // half way

int8_t stickDirection(int value, int deadZone) {
    if (value < -deadZone) return -1;
    if (value > deadZone) return 1;
    return 0;
}

}  // namespace

ActionSet InputMapper::keyDown(KeyId key, uint8_t modifiers, bool repeat) {
    const int k = static_cast<int>(key);
    if (key == KeyId::None || k >= KEY_ID_COUNT) return 0;
    if (repeat || keysDown_[static_cast<size_t>(k)]) return 0;
    keysDown_[static_cast<size_t>(k)] = true;
    update();
    return shellActionsOfKey(key, modifiers);
}

void InputMapper::keyUp(KeyId key) {
    const int k = static_cast<int>(key);
    if (key == KeyId::None || k >= KEY_ID_COUNT) return;
    keysDown_[static_cast<size_t>(k)] = false;
    update();
}

ActionSet InputMapper::shellActionsOfKey(KeyId key, uint8_t modifiers) const {
    ActionSet actions = 0;
    int best = -1;
    for (int a = GAME_ACTION_COUNT; a < ACTION_COUNT; ++a) {
        for (const KeyBinding& b : bindings_.keys[static_cast<size_t>(a)]) {
            if (b.key != key || (b.modifiers & ~modifiers) != 0) continue;
            const int count = std::popcount(b.modifiers);
            if (count > best) actions = 0, best = count;
            if (count == best) actions |= actionBit(static_cast<Action>(a));
        }
    }
    return actions;
}

ActionSet InputMapper::shellActionsOfButton(PadButton button) const {
    ActionSet actions = 0;
    for (int a = GAME_ACTION_COUNT; a < ACTION_COUNT; ++a)
        for (PadButton b : bindings_.pad[static_cast<size_t>(a)])
            if (b == button) actions |= actionBit(static_cast<Action>(a));
    return actions;
}

InputMapper::Pad* InputMapper::findPad(int id, bool claim) {
    for (Pad& p : pads_)
        if (p.id == id) return &p;
    if (!claim) return nullptr;
    for (Pad& p : pads_) {
        if (p.id == -1) {
            p = Pad{};
            p.id = id;
            return &p;
        }
    }
    return nullptr;
}

ActionSet InputMapper::setButton(int pad, PadButton button, bool down) {
    Pad* p = findPad(pad, down);
    const int b = static_cast<int>(button);
    if (p == nullptr || b >= PAD_BUTTON_COUNT || p->buttons[static_cast<size_t>(b)] == down) return 0;
    p->buttons[static_cast<size_t>(b)] = down;
    update();
    return down ? shellActionsOfButton(button) : 0;
}

ActionSet InputMapper::padButtonDown(int pad, PadButton button) { return setButton(pad, button, true); }

void InputMapper::padButtonUp(int pad, PadButton button) { setButton(pad, button, false); }

ActionSet InputMapper::padAxis(int pad, PadAxis axis, int value) {
    if (axis == PadAxis::LeftTrigger) return setButton(pad, PadButton::LeftTrigger, value >= TRIGGER_PRESSED);
    if (axis == PadAxis::RightTrigger) return setButton(pad, PadButton::RightTrigger, value >= TRIGGER_PRESSED);
    if (axis != PadAxis::LeftX && axis != PadAxis::LeftY) return 0;
    const int8_t direction = stickDirection(value, bindings_.stickDeadZone);
    Pad* p = findPad(pad, direction != 0);
    if (p == nullptr) return 0;
    (axis == PadAxis::LeftX ? p->stickX : p->stickY) = direction;
    update();
    return 0;
}

void InputMapper::padRemoved(int pad) {
    if (Pad* p = findPad(pad, false)) {
        *p = Pad{};
        update();
    }
}

void InputMapper::releaseAll() {
    keysDown_.reset();
    for (Pad& p : pads_) {
        const int id = p.id;
        p = Pad{};
        p.id = id;
    }
    update();
}

bool InputMapper::gameKeyHeld(Action action) const {
    const size_t a = static_cast<size_t>(action);
    for (const KeyBinding& k : bindings_.keys[a])
        if (k.key != KeyId::None && keysDown_[static_cast<size_t>(k.key)]) return true;
    for (const Pad& p : pads_) {
        if (p.id == -1) continue;
        for (PadButton b : bindings_.pad[a])
            if (b != PadButton::None && p.buttons[static_cast<size_t>(b)]) return true;
        // The left stick is the d-pad: left and right turn, up (negative) walks forward.
        if ((action == Action::TurnLeft && p.stickX < 0) || (action == Action::TurnRight && p.stickX > 0) ||
            (action == Action::Forward && p.stickY < 0) || (action == Action::Back && p.stickY > 0))
            return true;
    }
    return false;
}

void InputMapper::update() {
    for (int a = 0; a < GAME_ACTION_COUNT; ++a) {
        const bool held = gameKeyHeld(static_cast<Action>(a));
        if (held == held_[static_cast<size_t>(a)]) continue;
        held_[static_cast<size_t>(a)] = held;
        if (held) latch_.press(static_cast<GameKey>(a));
        else latch_.release(static_cast<GameKey>(a));
    }
}

}  // namespace krello
