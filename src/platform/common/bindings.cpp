// What each key and gamepad control does: the six game keys and the shell's own keys, several each.
#include "platform/common/bindings.h"

#include <cctype>

#include "io/shown_text.h"

namespace krello {
namespace {

constexpr std::array<std::string_view, ACTION_COUNT> ACTION_NAMES = {
    "turn_left", "turn_right", "forward", "back", "jump", "fire",
    "quit", "pause", "restart", "screenshot", "show_fps", "fullscreen", "mute",
    "automap", "zoom_in", "zoom_out"};

constexpr struct {
    std::string_view name;
    uint8_t bit;
} MODIFIERS[] = {{"Shift", MOD_SHIFT}, {"Ctrl", MOD_CTRL}, {"Alt", MOD_ALT}};

std::string_view trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

bool isNone(std::string_view text) {
    text = trim(text);
    return text.empty() || text == "none" || text == "None";
}

// Calls item(word) for each comma-separated word; stops at the first error it returns.
template <typename Item>
std::string eachItem(std::string_view text, Item&& item) {
    if (isNone(text)) return {};
    int count = 0;
    while (true) {
        const size_t comma = text.find(',');
        const std::string_view word = trim(text.substr(0, comma));
        if (word.empty()) return "an empty name in the list";
        if (++count > MAX_BINDINGS) return "more than " + std::to_string(MAX_BINDINGS) + " in one list";
        if (std::string e = item(word, count - 1); !e.empty()) return e;
        if (comma == std::string_view::npos) return {};
        text.remove_prefix(comma + 1);
    }
}

bool sameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

// "Alt+Enter": modifiers, each followed by '+', then the key.
std::string parseKey(std::string_view word, KeyBinding& binding) {
    binding = KeyBinding{};
    for (size_t plus; (plus = word.find('+')) != std::string_view::npos;) {
        const std::string_view mod = trim(word.substr(0, plus));
        uint8_t bit = 0;
        for (const auto& m : MODIFIERS)
            if (sameWord(mod, m.name)) bit = m.bit;
        if (bit == 0) return "unknown modifier '" + io::shownText(mod) + "' (Shift, Ctrl or Alt)";
        binding.modifiers |= bit;
        word = trim(word.substr(plus + 1));
    }
    binding.key = keyFromName(word);
    if (binding.key == KeyId::None) return "unknown key '" + io::shownText(word) + "'";
    return {};
}

}  // namespace

std::string_view actionName(Action action) { return ACTION_NAMES[static_cast<size_t>(action)]; }

Bindings defaultBindings() {
    using K = KeyId;
    using P = PadButton;
    Bindings b;
    for (PadList& list : b.pad) list.fill(P::None);
    auto keys = [&](Action a, std::initializer_list<KeyBinding> list) {
        size_t i = 0;
        for (const KeyBinding& k : list) b.keys[static_cast<size_t>(a)][i++] = k;
    };
    auto pad = [&](Action a, std::initializer_list<PadButton> list) {
        size_t i = 0;
        for (PadButton p : list) b.pad[static_cast<size_t>(a)][i++] = p;
    };
    // The keypad's arrows with Num Lock on or off: shells name the keypad's keys by place.
    keys(Action::TurnLeft, {{K::Left}, {K::Keypad4}});
    keys(Action::TurnRight, {{K::Right}, {K::Keypad6}});
    keys(Action::Forward, {{K::Up}, {K::Keypad8}});
    keys(Action::Back, {{K::Down}, {K::Keypad2}});
    keys(Action::Jump, {{K::A}});
    keys(Action::Fire, {{K::Space}});
    keys(Action::Quit, {{K::Escape}});
    keys(Action::Pause, {{K::P}, {K::Pause}});
    keys(Action::Restart, {{K::Enter}, {K::KeypadEnter}});
    keys(Action::Screenshot, {{K::F12}});
    keys(Action::ShowFps, {{K::F11}});
    keys(Action::Fullscreen, {{K::Enter, MOD_ALT}, {K::KeypadEnter, MOD_ALT}});
    keys(Action::Mute, {{K::M}});
    keys(Action::Automap, {{K::Tab}});
    keys(Action::ZoomIn, {{K::Equals}, {K::KeypadPlus}});  // the + key, unshifted
    keys(Action::ZoomOut, {{K::Minus}, {K::KeypadMinus}});
    pad(Action::TurnLeft, {P::DpadLeft});
    pad(Action::TurnRight, {P::DpadRight});
    pad(Action::Forward, {P::DpadUp});
    pad(Action::Back, {P::DpadDown});
    pad(Action::Jump, {P::A});
    pad(Action::Fire, {P::B, P::X, P::RightShoulder, P::RightTrigger});
    pad(Action::Quit, {P::Back});
    pad(Action::Pause, {P::Start});
    pad(Action::Restart, {P::Start});
    pad(Action::Automap, {P::Y});
    return b;
}

std::string parseKeyList(std::string_view text, KeyList& keys) {
    KeyList parsed{};
    std::string error = eachItem(text, [&](std::string_view word, int i) {
        return parseKey(word, parsed[static_cast<size_t>(i)]);
    });
    if (error.empty()) keys = parsed;
    return error;
}

std::string parsePadList(std::string_view text, PadList& buttons) {
    PadList parsed;
    parsed.fill(PadButton::None);
    std::string error = eachItem(text, [&](std::string_view word, int i) -> std::string {
        parsed[static_cast<size_t>(i)] = padButtonFromName(word);
        if (parsed[static_cast<size_t>(i)] == PadButton::None) return "unknown gamepad button '" + io::shownText(word) + "'";
        return {};
    });
    if (error.empty()) buttons = parsed;
    return error;
}

std::string formatKeyList(const KeyList& keys) {
    std::string text;
    for (const KeyBinding& k : keys) {
        if (k.key == KeyId::None) continue;
        if (!text.empty()) text += ", ";
        for (const auto& m : MODIFIERS)
            if (k.modifiers & m.bit) text += std::string(m.name) + "+";
        text += keyName(k.key);
    }
    return text.empty() ? "none" : text;
}

std::string formatPadList(const PadList& buttons) {
    std::string text;
    for (PadButton b : buttons) {
        if (b == PadButton::None) continue;
        if (!text.empty()) text += ", ";
        text += padButtonName(b);
    }
    return text.empty() ? "none" : text;
}

std::string firstKeyName(const KeyList& keys) {
    for (const KeyBinding& k : keys)
        if (k.key != KeyId::None && k.modifiers == 0) return std::string(keyName(k.key));
    return {};
}

}  // namespace krello
