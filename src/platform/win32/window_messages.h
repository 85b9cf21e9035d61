// The window procedure: the messages of the game's window, passed to the session.
#pragma once

#include "platform/win32/windows_api.h"

namespace krello {

class GameSession;
class GameWindow;

// What the window procedure works on; the window keeps a pointer to it as its user data.
struct WindowContext {
    GameSession* session = nullptr;  // the session the messages go to
    GameWindow* window = nullptr;    // for repainting
};

// Passes keys, focus, minimising and closing to the session. The window is never given a
// pointer; WM_DESTROY ends the message loop with PostQuitMessage(0).
LRESULT CALLBACK gameWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace krello
