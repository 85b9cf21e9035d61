// Keys and gamepads into game keys and shell actions: key lists, several sources per game key,
// modifiers, the stick's dead zone, triggers, unplugged pads and lost focus.
#include "platform/common/input_mapper.h"

#include <gtest/gtest.h>

namespace krello {
namespace {

TEST(Bindings, KeyListsParseOrSayWhatIsWrong) {
    const struct {
        const char* text;
        const char* error;      // empty: it parses
        const char* formatted;  // how it is written back
    } cases[] = {
        {"Left, Keypad4", "", "Left, Keypad4"},
        {"alt+enter", "", "Alt+Enter"},
        {"Ctrl + Shift + F", "", "Shift+Ctrl+F"},
        {"return", "", "Enter"},
        {"none", "", "none"},
        {"", "", "none"},
        {"Lfet", "unknown key 'Lfet'", ""},
        {"Hyper+A", "unknown modifier 'Hyper' (Shift, Ctrl or Alt)", ""},
        // A word from the file is echoed as every message echoes one: escaped, and cut at 80.
        {"Ente\x1B[2Jr", "unknown key 'Ente\\x1B[2Jr'", ""},
        {"Hyp\ter+A", "unknown modifier 'Hyp\\x09er' (Shift, Ctrl or Alt)", ""},
        {"KKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKK",
         "unknown key 'KKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKK\u2026'", ""},
        {"A,,B", "an empty name in the list", ""},
        {"A, B, C, D, E", "more than 4 in one list", ""},
    };
    for (const auto& c : cases) {
        KeyList keys{};
        EXPECT_EQ(parseKeyList(c.text, keys), c.error) << c.text;
        if (c.error[0] == '\0') {
            EXPECT_EQ(formatKeyList(keys), c.formatted) << c.text;
        }
    }
    PadList pad{};
    EXPECT_EQ(parsePadList("dpadup, Start", pad), "");
    EXPECT_EQ(formatPadList(pad), "DpadUp, Start");
    EXPECT_EQ(parsePadList("Turbo", pad), "unknown gamepad button 'Turbo'");
    EXPECT_EQ(parsePadList("Tur\nbo", pad), "unknown gamepad button 'Tur\\x0Abo'");
}

TEST(InputMapper, AGameKeyIsHeldWhileAnyOfItsSourcesIs) {
    Bindings b = defaultBindings();
    ASSERT_EQ(parseKeyList("Up, W", b.keys[static_cast<size_t>(Action::Forward)]), "");
    InputMapper in(b);
    in.keyDown(KeyId::Up, 0, false);
    in.keyDown(KeyId::W, MOD_SHIFT, false);  // game keys ignore modifiers
    in.padButtonDown(7, PadButton::DpadUp);
    in.keyUp(KeyId::Up);
    in.keyUp(KeyId::W);
    EXPECT_TRUE(in.query(GameKey::Up));  // the pad still holds it
    in.padButtonUp(7, PadButton::DpadUp);
    EXPECT_FALSE(in.query(GameKey::Up));
    EXPECT_FALSE(in.query(GameKey::Down));
}

TEST(InputMapper, ShellKeysActOnPressOnlyAndTheMostSpecificModifiersWin) {
    InputMapper in(defaultBindings());
    EXPECT_EQ(in.keyDown(KeyId::Enter, MOD_ALT, false), actionBit(Action::Fullscreen));
    in.keyUp(KeyId::Enter);
    EXPECT_EQ(in.keyDown(KeyId::Enter, 0, false), actionBit(Action::Restart));
    EXPECT_EQ(in.keyDown(KeyId::Enter, 0, true), 0);  // auto-repeat
    EXPECT_EQ(in.keyDown(KeyId::Escape, MOD_CTRL, false), actionBit(Action::Quit));
    EXPECT_EQ(in.keyDown(KeyId::Left, 0, false), 0);  // a game key asks the shell for nothing
    EXPECT_EQ(in.padButtonDown(1, PadButton::Start), actionBit(Action::Pause) | actionBit(Action::Restart));
}

TEST(InputMapper, TheStickMovesPastItsDeadZoneAndTriggersPressHalfWay) {
    InputMapper in(defaultBindings());
    const struct {
        PadAxis axis;
        int value;
        GameKey key;
        bool held;
    } steps[] = {
        {PadAxis::LeftX, -8000, GameKey::Left, false},  // inside the dead zone
        {PadAxis::LeftX, -8001, GameKey::Left, true},
        {PadAxis::LeftX, 20000, GameKey::Right, true},
        {PadAxis::LeftY, -20000, GameKey::Up, true},     // stick up walks forward
        {PadAxis::LeftY, 20000, GameKey::Down, true},
        {PadAxis::RightX, -30000, GameKey::Left, false}, // the right stick moves nothing
        {PadAxis::RightTrigger, 16383, GameKey::Space, false},
        {PadAxis::RightTrigger, 16384, GameKey::Space, true},
    };
    for (const auto& s : steps) {
        in.padAxis(3, PadAxis::LeftX, 0);
        in.padAxis(3, PadAxis::LeftY, 0);
        in.padAxis(3, PadAxis::RightTrigger, 0);
        in.query(s.key);  // clears taps of earlier steps
        in.padAxis(3, s.axis, s.value);
        in.query(s.key);
        EXPECT_EQ(in.query(s.key), s.held) << static_cast<int>(s.axis) << " " << s.value;
    }
}

TEST(InputMapper, AnUnpluggedPadAndALostFocusLetGoButKeepTaps) {
    InputMapper in(defaultBindings());
    in.padButtonDown(5, PadButton::A);
    in.padAxis(5, PadAxis::LeftX, -30000);
    in.padRemoved(5);
    EXPECT_TRUE(in.query(GameKey::A));  // pressed before the pad went: counts once
    EXPECT_FALSE(in.query(GameKey::A));
    in.query(GameKey::Left);
    EXPECT_FALSE(in.query(GameKey::Left));

    in.keyDown(KeyId::Space, 0, false);
    in.query(GameKey::Space);
    in.releaseAll();
    EXPECT_FALSE(in.query(GameKey::Space));
    in.keyDown(KeyId::Space, 0, false);  // down again after focus came back: no stuck state
    EXPECT_TRUE(in.query(GameKey::Space));
}

}  // namespace
}  // namespace krello
