// Windows' virtual keys as the shared key names: the sided keys, the keypad's Enter, and no name
// left without a key.
#include <gtest/gtest.h>

#include <set>

#include "platform/win32/virtual_keys.h"

namespace {

using krello::KeyId;
using krello::keyIdOfVirtualKey;

TEST(VirtualKeys, MessagesBecomeTheKeysOnTheKeyboard) {
    struct Case {
        unsigned virtualKey, scanCode;
        bool extended;
        KeyId key;
    };
    const Case cases[] = {
        {'A', 0x1E, false, KeyId::A},          {'Z', 0x2C, false, KeyId::Z},
        {'0', 0x0B, false, KeyId::Num0},       {'9', 0x0A, false, KeyId::Num9},
        {0x60, 0x52, false, KeyId::Keypad0},   {0x69, 0x49, false, KeyId::Keypad9},
        {0x70, 0x3B, false, KeyId::F1},        {0x7B, 0x58, false, KeyId::F12},
        {0x0D, 0x1C, false, KeyId::Enter},     {0x0D, 0x1C, true, KeyId::KeypadEnter},
        {0x10, 0x2A, false, KeyId::LeftShift}, {0x10, 0x36, false, KeyId::RightShift},
        {0x11, 0x1D, false, KeyId::LeftCtrl},  {0x11, 0x1D, true, KeyId::RightCtrl},
        {0x12, 0x38, false, KeyId::LeftAlt},   {0x12, 0x38, true, KeyId::RightAlt},
        {0x1B, 0x01, false, KeyId::Escape},    {0x20, 0x39, false, KeyId::Space},
        {0x25, 0x4B, true, KeyId::Left},       {0x27, 0x4D, true, KeyId::Right},
        {0x26, 0x48, false, KeyId::Up},        {0x28, 0x50, true, KeyId::Down},
        {0xBA, 0x27, false, KeyId::Semicolon}, {0xDE, 0x28, false, KeyId::Apostrophe},
        {0xC0, 0x29, false, KeyId::Backquote}, {0x6D, 0x4A, false, KeyId::KeypadMinus},
        {0x7C, 0x64, false, KeyId::None},      {0x5B, 0x5B, true, KeyId::None},  // F13, the Windows key
        {0x07, 0x00, false, KeyId::None},      {0xFF, 0x00, false, KeyId::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(keyIdOfVirtualKey(c.virtualKey, c.scanCode, c.extended), c.key)
            << "virtual key 0x" << std::hex << c.virtualKey << (c.extended ? " (extended)" : "");
}

// A key the settings can name but no Windows key produces could never be bound on Windows.
TEST(VirtualKeys, EveryKeyNameHasAKey) {
    std::set<KeyId> reached;
    for (unsigned vk = 0; vk < 256; ++vk)
        for (unsigned scan : {0x2Au, 0x36u})
            for (bool extended : {false, true}) reached.insert(keyIdOfVirtualKey(vk, scan, extended));
    for (int k = 1; k < krello::KEY_ID_COUNT; ++k)
        EXPECT_TRUE(reached.count(static_cast<KeyId>(k))) << krello::keyName(static_cast<KeyId>(k));
}

}  // namespace
