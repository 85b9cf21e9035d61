// The names of keyboard keys and gamepad controls, the same in every shell and in the settings file.
#include "platform/common/input_names.h"

#include <array>
#include <cctype>

namespace krello {
namespace {

constexpr std::array<std::string_view, KEY_ID_COUNT> KEY_NAMES = {
    "",
    "Left",
    "Right",
    "Up",
    "Down",
    "Space",
    "Enter",
    "Escape",
    "Tab",
    "Backspace",
    "Insert",
    "Delete",
    "Home",
    "End",
    "PageUp",
    "PageDown",
    "Pause",
    "LeftShift",
    "RightShift",
    "LeftCtrl",
    "RightCtrl",
    "LeftAlt",
    "RightAlt",
    "A",
    "B",
    "C",
    "D",
    "E",
    "F",
    "G",
    "H",
    "I",
    "J",
    "K",
    "L",
    "M",
    "N",
    "O",
    "P",
    "Q",
    "R",
    "S",
    "T",
    "U",
    "V",
    "W",
    "X",
    "Y",
    "Z",
    "0",
    "1",
    "2",
    "3",
    "4",
    "5",
    "6",
    "7",
    "8",
    "9",
    "F1",
    "F2",
    "F3",
    "F4",
    "F5",
    "F6",
    "F7",
    "F8",
    "F9",
    "F10",
    "F11",
    "F12",
    "Keypad0",
    "Keypad1",
    "Keypad2",
    "Keypad3",
    "Keypad4",
    "Keypad5",
    "Keypad6",
    "Keypad7",
    "Keypad8",
    "Keypad9",
    "KeypadEnter",
    "KeypadPlus",
    "KeypadMinus",
    "KeypadMultiply",
    "KeypadDivide",
    "KeypadPeriod",
    "Minus",
    "Equals",
    "Comma",
    "Period",
    "Slash",
    "Semicolon",
    "Apostrophe",
    "LeftBracket",
    "RightBracket",
    "Backslash",
    "Backquote"};

constexpr std::array<std::string_view, PAD_BUTTON_COUNT> PAD_BUTTON_NAMES = {"A", "B", "X", "Y", "Back", "Guide", "Start", "LeftStick", "RightStick", "LeftShoulder", "RightShoulder", "DpadUp", "DpadDown", "DpadLeft", "DpadRight", "LeftTrigger", "RightTrigger"};

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    }
    return true;
}

}  // namespace

std::string_view keyName(KeyId key) {
    const int k = static_cast<int>(key);
    return k >= 0 && k < KEY_ID_COUNT ? KEY_NAMES[static_cast<size_t>(k)] : std::string_view();
}

KeyId keyFromName(std::string_view name) {
    if (name.empty()) return KeyId::None;
    for (int k = 1; k < KEY_ID_COUNT; ++k) {
        if (sameName(KEY_NAMES[static_cast<size_t>(k)], name)) return static_cast<KeyId>(k);
    }
    if (sameName(name, "Return")) return KeyId::Enter;  // what some layouts and programs call it
    return KeyId::None;
}

std::string_view padButtonName(PadButton button) {
    const int b = static_cast<int>(button);
    return b >= 0 && b < PAD_BUTTON_COUNT ? PAD_BUTTON_NAMES[static_cast<size_t>(b)] : std::string_view();
}

PadButton padButtonFromName(std::string_view name) {
    for (int b = 0; b < PAD_BUTTON_COUNT; ++b) {
        if (sameName(PAD_BUTTON_NAMES[static_cast<size_t>(b)], name)) return static_cast<PadButton>(b);
    }
    return PadButton::None;
}

}  // namespace krello
