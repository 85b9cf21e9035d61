// The window procedure: the messages of the game's window, passed to the session.
#include "platform/win32/window_messages.h"

#include "platform/common/game_session.h"
#include "platform/win32/game_window.h"
#include "platform/win32/virtual_keys.h"

namespace krello {
namespace {

bool held(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }

uint8_t heldModifiers() {
    uint8_t m = 0;
    if (held(VK_SHIFT)) m |= MOD_SHIFT;
    if (held(VK_CONTROL)) m |= MOD_CTRL;
    if (held(VK_MENU)) m |= MOD_ALT;
    return m;
}

KeyId keyOf(WPARAM wParam, LPARAM lParam) {
    const unsigned scanCode = static_cast<unsigned>((lParam >> 16) & 0xFF);
    const bool extended = ((lParam >> 24) & 1) != 0;
    return keyIdOfVirtualKey(static_cast<unsigned>(wParam), scanCode, extended);
}

WindowContext* contextOf(HWND window) {
    return reinterpret_cast<WindowContext*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// Every key goes to the session first, then to the default window procedure, as any window's
// keys do. Keys with Alt held arrive as system keys: they are the game's too (Alt+Enter), and
// Alt+F4 closes the window by the default road; the window menu the defaults would open for Alt,
// F10 or Alt+Space is refused at WM_SYSCOMMAND, since it would hold the loop still.
LRESULT keyMessage(GameSession& session, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const KeyId key = keyOf(wParam, lParam);
    if (message == WM_KEYUP || message == WM_SYSKEYUP) {
        session.keyUp(key);
    } else {
        const bool repeat = ((lParam >> 30) & 1) != 0;  // the key was already down
        session.keyDown(key, heldModifiers(), repeat);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT sessionMessage(WindowContext& c, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    GameSession& session = *c.session;
    switch (message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP: return keyMessage(session, window, message, wParam, lParam);
        case WM_SYSCHAR: return 0;  // no beep for Alt+Enter
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;  // no window menu from the keyboard
            break;
        // Frames stop while minimised and start again on restore; the clock runs on meanwhile.
        // Active or not, the window counts as active whenever it is not minimised.
        case WM_ACTIVATE: {
            const bool appActive = HIWORD(wParam) == 0;
            session.setMinimised(!appActive);
            return 0;
        }
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED) session.setMinimised(true);
            else if (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) session.setMinimised(false);
            return 0;
        // The key-up of a key held while the keyboard goes elsewhere never comes.
        case WM_KILLFOCUS: session.focusLost(); return 0;
        // Closed by the title bar, Alt+F4, or the session itself after its quit key.
        case WM_CLOSE: session.closeRequested(); break;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            EndPaint(window, &paint);
            c.window->restoreSurfaces();
            return 0;
        }
        default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK gameWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    // No pointer over the game; the frame's edges keep theirs for moving and resizing a window.
    if (message == WM_SETCURSOR && LOWORD(lParam) == HTCLIENT) {
        SetCursor(nullptr);
        return TRUE;
    }
    if (message == WM_ERASEBKGND) return 1;  // the bars are painted with the frame
    if (message == WM_DESTROY) {
        if (WindowContext* c = contextOf(window); c != nullptr) c->window->forget();
        PostQuitMessage(0);
        return 0;
    }
    WindowContext* c = contextOf(window);
    if (c == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    return sessionMessage(*c, window, message, wParam, lParam);
}

}  // namespace krello
