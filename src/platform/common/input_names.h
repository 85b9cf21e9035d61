// The names of keyboard keys and gamepad controls, the same in every shell and in the settings file.
#pragma once

#include <cstdint>
#include <string_view>

namespace krello {

// A key by what it means, not by any windowing system's code: each shell translates its own key
// codes into these (letters by the symbol on the key, so A is the A of the player's layout).
enum class KeyId : uint8_t {
    None = 0,
    Left,
    Right,
    Up,
    Down,
    Space,
    Enter,
    Escape,
    Tab,
    Backspace,
    Insert,
    Delete,
    Home,
    End,
    PageUp,
    PageDown,
    Pause,
    LeftShift,
    RightShift,
    LeftCtrl,
    RightCtrl,
    LeftAlt,
    RightAlt,
    A,
    B,
    C,
    D,
    E,
    F,
    G,
    H,
    I,
    J,
    K,
    L,
    M,
    N,
    O,
    P,
    Q,
    R,
    S,
    T,
    U,
    V,
    W,
    X,
    Y,
    Z,
    Num0,
    Num1,
    Num2,
    Num3,
    Num4,
    Num5,
    Num6,
    Num7,
    Num8,
    Num9,
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    F8,
    F9,
    F10,
    F11,
    F12,
    Keypad0,
    Keypad1,
    Keypad2,
    Keypad3,
    Keypad4,
    Keypad5,
    Keypad6,
    Keypad7,
    Keypad8,
    Keypad9,
    KeypadEnter,
    KeypadPlus,
    KeypadMinus,
    KeypadMultiply,
    KeypadDivide,
    KeypadPeriod,
    Minus,
    Equals,
    Comma,
    Period,
    Slash,
    Semicolon,
    Apostrophe,
    LeftBracket,
    RightBracket,
    Backslash,
    Backquote,
    Count
};
constexpr int KEY_ID_COUNT = static_cast<int>(KeyId::Count);

// Modifier keys held with a key, as a set of bits.
constexpr uint8_t MOD_SHIFT = 1;
constexpr uint8_t MOD_CTRL = 2;
constexpr uint8_t MOD_ALT = 4;

// The controls of a gamepad in the common layout (four face buttons, two shoulders, two
// triggers, a d-pad, two sticks). Triggers count as buttons once pressed half way.
enum class PadButton : uint8_t {
    A, B, X, Y, Back, Guide, Start, LeftStick, RightStick, LeftShoulder, RightShoulder,
    DpadUp, DpadDown, DpadLeft, DpadRight, LeftTrigger, RightTrigger, Count, None = Count
};
constexpr int PAD_BUTTON_COUNT = static_cast<int>(PadButton::Count);

enum class PadAxis : uint8_t { LeftX, LeftY, RightX, RightY, LeftTrigger, RightTrigger, Count };

// "Left", "A", "0", "F12", "KeypadEnter", "Comma" ... (punctuation by word, since "," and ";"
// mean something in the settings file); "" for KeyId::None.
std::string_view keyName(KeyId key);
// The key of a name, ignoring case; KeyId::None when there is no such key.
KeyId keyFromName(std::string_view name);

std::string_view padButtonName(PadButton button);
PadButton padButtonFromName(std::string_view name);  // PadButton::None when unknown

}  // namespace krello
