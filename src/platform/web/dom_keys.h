// The browser's key names (KeyboardEvent.key and .code) as the keys every shell shares.
#pragma once

#include <string_view>

#include "platform/common/input_names.h"

namespace krello {

// `key` is what the key means in the player's layout ("a", "ArrowLeft", "!"), `code` the place
// on the keyboard ("KeyA", "ShiftRight", "Numpad4"). Left and right modifiers and the keypad go
// by place; everything else by meaning, and by place when the meaning has no name of ours (a
// shifted "!" is the 1 key, a Cyrillic letter the Latin key in its place). None when neither.
KeyId keyFromDom(std::string_view key, std::string_view code);

// Keys whose browser default would move the page or the focus (arrows, the keypad's too, Space,
// Page Up/Down, Home, End, Tab): the page keeps them for the game.
bool keyScrollsPage(KeyId key);

}  // namespace krello
