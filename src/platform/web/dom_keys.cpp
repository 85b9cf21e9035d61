// The browser's key names (KeyboardEvent.key and .code) as the keys every shell shares.
#include "platform/web/dom_keys.h"

namespace krello {
namespace {

struct NamedKey {
    std::string_view name;
    KeyId id;
};

// Keys that differ only by their place: told apart by KeyboardEvent.code.
constexpr NamedKey BY_PLACE[] = {
    {"ShiftLeft", KeyId::LeftShift},     {"ShiftRight", KeyId::RightShift},   {"ControlLeft", KeyId::LeftCtrl},
    {"ControlRight", KeyId::RightCtrl},  {"AltLeft", KeyId::LeftAlt},         {"AltRight", KeyId::RightAlt},
    {"NumpadEnter", KeyId::KeypadEnter}, {"NumpadAdd", KeyId::KeypadPlus},    {"NumpadSubtract", KeyId::KeypadMinus},
    {"NumpadMultiply", KeyId::KeypadMultiply}, {"NumpadDivide", KeyId::KeypadDivide},
    {"NumpadDecimal", KeyId::KeypadPeriod},
};

// Keys by what they mean: KeyboardEvent.key.
constexpr NamedKey BY_MEANING[] = {
    {"ArrowLeft", KeyId::Left},   {"ArrowRight", KeyId::Right},     {"ArrowUp", KeyId::Up},
    {"ArrowDown", KeyId::Down},   {" ", KeyId::Space},              {"Enter", KeyId::Enter},
    {"Escape", KeyId::Escape},    {"Tab", KeyId::Tab},              {"Backspace", KeyId::Backspace},
    {"Insert", KeyId::Insert},    {"Delete", KeyId::Delete},        {"Home", KeyId::Home},
    {"End", KeyId::End},          {"PageUp", KeyId::PageUp},        {"PageDown", KeyId::PageDown},
    {"Pause", KeyId::Pause},      {"-", KeyId::Minus},              {"=", KeyId::Equals},
    {",", KeyId::Comma},          {".", KeyId::Period},             {"/", KeyId::Slash},
    {";", KeyId::Semicolon},      {"'", KeyId::Apostrophe},         {"[", KeyId::LeftBracket},
    {"]", KeyId::RightBracket},   {"\\", KeyId::Backslash},         {"`", KeyId::Backquote},
};

// The same keys by their place, for a layout whose key has no meaning we name.
constexpr NamedKey SYMBOLS_BY_PLACE[] = {
    {"Space", KeyId::Space},        {"Minus", KeyId::Minus},           {"Equal", KeyId::Equals},
    {"Comma", KeyId::Comma},        {"Period", KeyId::Period},         {"Slash", KeyId::Slash},
    {"Semicolon", KeyId::Semicolon}, {"Quote", KeyId::Apostrophe},     {"BracketLeft", KeyId::LeftBracket},
    {"BracketRight", KeyId::RightBracket}, {"Backslash", KeyId::Backslash}, {"Backquote", KeyId::Backquote},
};

KeyId offset(KeyId first, int by) { return static_cast<KeyId>(static_cast<int>(first) + by); }

KeyId find(std::string_view name, const auto& table) {
    for (const NamedKey& k : table) {
        if (k.name == name) return k.id;
    }
    return KeyId::None;
}

// "F1".."F12".
KeyId functionKey(std::string_view key) {
    if (key.size() < 2 || key.size() > 3 || key[0] != 'F') return KeyId::None;
    int n = 0;
    for (char c : key.substr(1)) {
        if (c < '0' || c > '9') return KeyId::None;
        n = n * 10 + (c - '0');
    }
    return n >= 1 && n <= 12 ? offset(KeyId::F1, n - 1) : KeyId::None;
}

KeyId byMeaning(std::string_view key) {
    if (key.size() == 1) {
        const char c = key[0];
        if (c >= 'a' && c <= 'z') return offset(KeyId::A, c - 'a');
        if (c >= 'A' && c <= 'Z') return offset(KeyId::A, c - 'A');
        if (c >= '0' && c <= '9') return offset(KeyId::Num0, c - '0');
    }
    if (KeyId f = functionKey(key); f != KeyId::None) return f;
    return find(key, BY_MEANING);
}

// "KeyA", "Digit1", "Numpad7" and the symbols, by place.
KeyId byPlace(std::string_view code) {
    auto suffixDigit = [&](std::string_view prefix) {
        return code.size() == prefix.size() + 1 && code.starts_with(prefix) ? code.back() : '\0';
    };
    if (const char c = suffixDigit("Key"); c >= 'A' && c <= 'Z') return offset(KeyId::A, c - 'A');
    if (const char c = suffixDigit("Digit"); c >= '0' && c <= '9') return offset(KeyId::Num0, c - '0');
    return find(code, SYMBOLS_BY_PLACE);
}

}  // namespace

KeyId keyFromDom(std::string_view key, std::string_view code) {
    if (KeyId k = find(code, BY_PLACE); k != KeyId::None) return k;
    if (code.size() == 7 && code.starts_with("Numpad") && code[6] >= '0' && code[6] <= '9')
        return offset(KeyId::Keypad0, code[6] - '0');
    if (KeyId k = byMeaning(key); k != KeyId::None) return k;
    return byPlace(code);
}

bool keyScrollsPage(KeyId key) {
    switch (key) {
        case KeyId::Left:
        case KeyId::Right:
        case KeyId::Up:
        case KeyId::Down:
        case KeyId::Space:
        case KeyId::PageUp:
        case KeyId::PageDown:
        case KeyId::Home:
        case KeyId::End:
        case KeyId::Keypad2:  // the keypad's arrows with Num Lock off
        case KeyId::Keypad4:
        case KeyId::Keypad6:
        case KeyId::Keypad8:
        case KeyId::Tab:  // the automap; the browser would move the focus off the game
            return true;
        default:
            return false;
    }
}

}  // namespace krello
