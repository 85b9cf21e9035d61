// What each key and gamepad control does: the six game keys and the shell's own keys, several each.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "game/platform_seam.h"
#include "platform/common/input_names.h"
#include "platform/common/setting_table.h"

namespace krello {

// The first six are the game keys in GameKey's order; the rest the shell acts on itself.
enum class Action : uint8_t {
    TurnLeft, TurnRight, Forward, Back, Jump, Fire,
    Quit, Pause, Restart, Screenshot, ShowFps, Fullscreen, Mute, Automap, ZoomIn, ZoomOut,
    Count
};
constexpr int ACTION_COUNT = static_cast<int>(Action::Count);
constexpr int GAME_ACTION_COUNT = GAME_KEY_COUNT;

// A set of shell actions, a bit each (bit = the action's number).
using ActionSet = uint32_t;
static_assert(ACTION_COUNT <= 32, "an ActionSet has a bit per action");
constexpr ActionSet actionBit(Action a) { return static_cast<ActionSet>(1u << static_cast<int>(a)); }

// A key with the modifiers that must be held with it ("Alt+Enter"). Game keys ignore modifiers:
// a player may hold Shift while walking.
struct KeyBinding {
    KeyId key = KeyId::None;
    uint8_t modifiers = 0;
};

constexpr int MAX_BINDINGS = 4;  // per action, for keys and for gamepad controls alike
using KeyList = std::array<KeyBinding, MAX_BINDINGS>;
using PadList = std::array<PadButton, MAX_BINDINGS>;

struct Bindings {
    std::array<KeyList, ACTION_COUNT> keys{};  // unused places hold KeyId::None
    std::array<PadList, ACTION_COUNT> pad{};   // unused places hold PadButton::None
    int stickDeadZone = setting(SettingId::StickDeadZone).fallback;  // of 32767: stick travel that still counts as centred
};

// Arrows (and the keypad's, 4 6 8 2, whatever Num Lock says), A and Space for the game; Escape
// quits, P or Pause pauses, Enter restarts after game over, F12 saves a screenshot, F11 shows the
// frame rate, Alt+Enter toggles full screen, M mutes the sound, Tab shows the automap and + and -
// zoom it. On a gamepad the d-pad moves, A jumps, B, X or the right shoulder or trigger fire,
// Start pauses (and restarts after game over), Back quits, Y shows the automap. The left stick
// always moves as the d-pad does. No gamepad button mutes by default: none is free that a player
// would expect to.
Bindings defaultBindings();

// The action's name in the settings file: "turn_left", ..., "fullscreen", "automap", "zoom_in".
std::string_view actionName(Action action);

// "Left, Keypad4" or "Alt+Enter": up to MAX_BINDINGS keys separated by commas; "none" or an
// empty text binds nothing. Returns an empty string, or why the text is not a key list.
std::string parseKeyList(std::string_view text, KeyList& keys);
std::string parsePadList(std::string_view text, PadList& buttons);

// The lists as the settings file writes them, and the first key's name for on-screen hints.
std::string formatKeyList(const KeyList& keys);
std::string formatPadList(const PadList& buttons);
std::string firstKeyName(const KeyList& keys);

}  // namespace krello
