// The browser shell's parts that need no browser: its key names and its script-running test hook.
#include <gtest/gtest.h>

#include <string>

#include "platform/web/dom_keys.h"
#include "platform/web/script_check.h"
#include "test_files.h"

namespace krello {
namespace {

TEST(WebKeys, DomNamesAreTheSharedKeys) {
    struct Case {
        const char* key;
        const char* code;
        KeyId expected;
    };
    const Case cases[] = {
        {"ArrowLeft", "ArrowLeft", KeyId::Left},   {" ", "Space", KeyId::Space},
        {"a", "KeyA", KeyId::A},                   {"A", "KeyA", KeyId::A},  // with Shift
        {"q", "KeyA", KeyId::Q},                   // AZERTY: the letter on the key, not its place
        {"\xd1\x84", "KeyA", KeyId::A},            // a Cyrillic letter: the Latin key in its place
        {"!", "Digit1", KeyId::Num1},              {"7", "Digit7", KeyId::Num7},
        {"7", "Numpad7", KeyId::Keypad7},          {"Enter", "NumpadEnter", KeyId::KeypadEnter},
        {"Enter", "Enter", KeyId::Enter},          {"Shift", "ShiftRight", KeyId::RightShift},
        {"Control", "ControlLeft", KeyId::LeftCtrl}, {"Alt", "AltRight", KeyId::RightAlt},
        {"F1", "F1", KeyId::F1},                   {"F12", "F12", KeyId::F12},
        {"F13", "F13", KeyId::None},               {"F0", "F0", KeyId::None},
        {"?", "Slash", KeyId::Slash},              {"`", "Backquote", KeyId::Backquote},
        {"Escape", "Escape", KeyId::Escape},       {"Pause", "Pause", KeyId::Pause},
        {"Dead", "BracketLeft", KeyId::LeftBracket}, {"Unidentified", "", KeyId::None},
        {"", "", KeyId::None},                     {"AudioVolumeUp", "AudioVolumeUp", KeyId::None},
    };
    for (const Case& c : cases) EXPECT_EQ(keyFromDom(c.key, c.code), c.expected) << c.key << " / " << c.code;
}

TEST(WebKeys, OnlyScrollingKeysAreKeptFromTheBrowser) {
    for (KeyId k : {KeyId::Left, KeyId::Up, KeyId::Space, KeyId::PageDown, KeyId::Home}) EXPECT_TRUE(keyScrollsPage(k));
    for (KeyId k : {KeyId::A, KeyId::F5, KeyId::F12, KeyId::Escape, KeyId::Enter}) EXPECT_FALSE(keyScrollsPage(k));
}

// The whole tour through the hook gives the states the tour test expects, in the same text.
TEST(WebScriptCheck, TheTourGivesTheExpectedStates) {
    ScriptCheck check;
    const std::string script = test::readText(KRELLO_SOURCE_DIR "/tests/data/tour.input");
    const std::string expected = test::readText(KRELLO_SOURCE_DIR "/tests/data/tour.expected");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(check.run(script, -1, 100), expected);
    const std::string lastFrame = check.frameCrc();
    EXPECT_EQ(lastFrame.size(), 8u);
    // A second run starts from scratch: the same states and the same last frame.
    EXPECT_EQ(check.run(script, -1, 100), expected);
    EXPECT_EQ(check.frameCrc(), lastFrame);
    // Fewer updates: the states so far, ending with the last one run.
    const std::string part = check.run(script, 150, 100);
    EXPECT_EQ(part.rfind("update 100\n", 0), 0u);
    EXPECT_NE(part.find("\nupdate 150\n"), std::string::npos);
    EXPECT_NE(check.frameCrc(), lastFrame);
}

TEST(WebScriptCheck, BadScriptsAreErrorsNotStates) {
    struct Case {
        const char* script;
        long frames;
        const char* error;
    };
    const Case cases[] = {
        {"12 LU\n13 X\n", -1, "error: script:2:"},
        {"12 LU\n", 2, "error: script: holds 1 updates, asked for 2"},
        {"70000 L\n", -1, "error: script:1:"},
    };
    ScriptCheck check;
    for (const Case& c : cases) {
        const std::string text = check.run(c.script, c.frames, 0);
        EXPECT_EQ(text.rfind(c.error, 0), 0u) << c.script << " gave " << text;
    }
    EXPECT_EQ(check.run("", 0, 0).rfind("update 0\n", 0), 0u) << "no updates: the state as started";
}

}  // namespace
}  // namespace krello
