// Gamepads on Windows: XInput's four pads polled once a frame, their changes handed to the session.
#pragma once

#include <array>

#include "platform/common/game_session.h"
#include "platform/win32/pad_changes.h"
#include "platform/win32/windows_api.h"

namespace krello {

// XInput is taken from the system's DLL when the program starts (xinput1_4.dll, else
// xinput9_1_0.dll), not linked: without it the game plays from the keyboard alone.
class XInputPads {
public:
    XInputPads();
    ~XInputPads();
    XInputPads(const XInputPads&) = delete;
    XInputPads& operator=(const XInputPads&) = delete;

    // Reads the pads and hands the session what changed since the last poll. Pad numbers are
    // XInput's slots, 0..3.
    void poll(GameSession& session);

private:
    using GetState = DWORD(WINAPI*)(DWORD, void*);

    HMODULE library_ = nullptr;
    GetState getState_ = nullptr;
    std::array<PadSnapshot, 4> last_{};  // each slot as the session last heard of it
    unsigned polls_ = 0;                 // polls so far, to space out the empty slots' reads
};

}  // namespace krello
