// Windows' virtual-key codes translated into the key names every shell shares.
#include "platform/win32/virtual_keys.h"

#include <iterator>

namespace krello {
namespace {

struct KeyPair {
    uint8_t virtualKey;
    KeyId key;
};

// Windows' virtual-key codes (winuser.h), by number. Letters and digits are their ASCII codes and
// follow the player's layout, as do the OEM punctuation keys (named here as on a US keyboard).
constexpr KeyPair NAMED_KEYS[] = {
    {0x08, KeyId::Backspace},      {0x09, KeyId::Tab},          {0x0D, KeyId::Enter},
    {0x13, KeyId::Pause},          {0x1B, KeyId::Escape},       {0x20, KeyId::Space},
    {0x21, KeyId::PageUp},         {0x22, KeyId::PageDown},     {0x23, KeyId::End},
    {0x24, KeyId::Home},           {0x25, KeyId::Left},         {0x26, KeyId::Up},
    {0x27, KeyId::Right},          {0x28, KeyId::Down},         {0x2D, KeyId::Insert},
    {0x2E, KeyId::Delete},         {0x6A, KeyId::KeypadMultiply}, {0x6B, KeyId::KeypadPlus},
    {0x6D, KeyId::KeypadMinus},    {0x6E, KeyId::KeypadPeriod}, {0x6F, KeyId::KeypadDivide},
    {0xA0, KeyId::LeftShift},      {0xA1, KeyId::RightShift},   {0xA2, KeyId::LeftCtrl},
    {0xA3, KeyId::RightCtrl},      {0xA4, KeyId::LeftAlt},      {0xA5, KeyId::RightAlt},
    {0xBA, KeyId::Semicolon},      {0xBB, KeyId::Equals},       {0xBC, KeyId::Comma},
    {0xBD, KeyId::Minus},          {0xBE, KeyId::Period},       {0xBF, KeyId::Slash},
    {0xC0, KeyId::Backquote},      {0xDB, KeyId::LeftBracket},  {0xDC, KeyId::Backslash},
    {0xDD, KeyId::RightBracket},   {0xDE, KeyId::Apostrophe},
};

// Messages name Shift, Ctrl and Alt without their side (VK_SHIFT, VK_CONTROL, VK_MENU).
constexpr unsigned VK_SHIFT = 0x10;
constexpr unsigned VK_CONTROL = 0x11;
constexpr unsigned VK_MENU = 0x12;
constexpr unsigned VK_RETURN = 0x0D;
constexpr unsigned RIGHT_SHIFT_SCAN_CODE = 0x36;

KeyId offset(KeyId first, unsigned by) { return static_cast<KeyId>(static_cast<unsigned>(first) + by); }

// The side-specific code of a sided key, else the code itself.
unsigned withSide(unsigned virtualKey, unsigned scanCode, bool extended) {
    if (virtualKey == VK_SHIFT) return scanCode == RIGHT_SHIFT_SCAN_CODE ? 0xA1 : 0xA0;
    if (virtualKey == VK_CONTROL) return extended ? 0xA3 : 0xA2;
    if (virtualKey == VK_MENU) return extended ? 0xA5 : 0xA4;
    return virtualKey;
}

}  // namespace

KeyId keyIdOfVirtualKey(unsigned virtualKey, unsigned scanCode, bool extended) {
    const unsigned vk = withSide(virtualKey, scanCode, extended);
    if (vk == VK_RETURN && extended) return KeyId::KeypadEnter;
    if (vk >= 'A' && vk <= 'Z') return offset(KeyId::A, vk - 'A');
    if (vk >= '0' && vk <= '9') return offset(KeyId::Num0, vk - '0');
    if (vk >= 0x60 && vk <= 0x69) return offset(KeyId::Keypad0, vk - 0x60);  // VK_NUMPAD0..9
    if (vk >= 0x70 && vk <= 0x7B) return offset(KeyId::F1, vk - 0x70);       // VK_F1..F12
    for (const KeyPair& p : NAMED_KEYS)
        if (p.virtualKey == vk) return p.key;
    return KeyId::None;
}

}  // namespace krello
