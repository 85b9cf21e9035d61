// The Win32 shell's window under wine: the show command, full screen topmost, no pointer, keys
// on to the default procedure, the keypad's arrows, and no update while minimised with the first
// step after a restore clamped to 200 ms. A plain program (no GoogleTest for mingw-w64), run by
// scripts/windows-check.sh; it prints a line per check and ends with status 1 at the first fault.
#include "platform/win32/windows_api.h"

#include <cstdio>
#include <cstdlib>

#include "platform/common/game_session.h"
#include "platform/win32/game_window.h"
#include "platform/win32/window_messages.h"
#include "render/render_view.h"

namespace krello {
namespace {

struct StepClock final : PacerClock {
    uint64_t now = 1000000;
    uint64_t nowMicros() override { return now; }
    void sleepMicros(uint64_t micros) override { now += micros; }
};

struct NoShots final : ScreenshotSink {
    Result take(const uint8_t*, const Palette&) override { return {}; }
};

void check(bool good, const char* what) {
    std::printf("window-check: %s: %s\n", good ? "ok" : "FAILED", what);
    std::fflush(stdout);
    if (!good) std::exit(1);
}

void pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// One turn of the shell's loop, `ms` after the last: messages, then a frame if one is wanted.
void turn(GameSession& session, StepClock& clock, uint64_t ms) {
    clock.now += ms * 1000;
    pump();
    if (session.wantsFrame()) session.produceFrame();
}

// A window of the game opened as the shell opens it, its messages going to `session`.
struct Opened {
    GameWindow window;
    WindowContext context;
    Opened(GameSession& session, bool fullscreen, int showCommand) {
        ShellOptions options = session.options();
        options.fullscreen = fullscreen;
        options.scale = 1;
        context = WindowContext{&session, &window};
        const std::string failure =
            window.initDisplay(GetModuleHandleA(nullptr), options, gameWindowProcedure, &context, showCommand);
        if (!failure.empty()) std::fprintf(stderr, "window-check: %s\n", failure.c_str());
        check(failure.empty(), "the window opens");
        pump();
    }
};

int run() {
    StepClock clock;
    NoShots shots;
    ViewDrawer drawer;
    GameSession session(ShellOptions{}, clock, shots, drawer);
    check(session.start() == 0, "the session starts");

    {
        Opened full(session, true, SW_SHOWNORMAL);
        check((GetWindowLongA(full.window.handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, "full screen is topmost");
    }
    {
        Opened minimised(session, false, SW_SHOWMINNOACTIVE);
        check(IsIconic(minimised.window.handle()) != 0, "the show command is honoured: it starts minimised");
        check(!session.wantsFrame(), "a window started minimised wants no frames");
        ShowWindow(minimised.window.handle(), SW_RESTORE);
        pump();
        check(session.wantsFrame(), "restored, it wants frames");
    }

    Opened shown(session, false, SW_SHOWNORMAL);
    const HWND window = shown.window.handle();
    for (int i = 0; i < 5; ++i) turn(session, clock, 14);
    check(session.game().frameDt == 14, "frames run while shown");

    // The window is minimised (WM_ACTIVATE's high word): no update however long it stays so.
    SendMessageA(window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0);
    const uint32_t before = session.game().lastTime;
    for (int i = 0; i < 10; ++i) turn(session, clock, 500);
    check(session.game().lastTime == before, "nothing updates while the window is minimised");
    SendMessageA(window, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0);
    turn(session, clock, 14);
    check(session.game().frameDt == 200, "the first step after a restore is clamped to 200 ms");

    // No pointer over the game.
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    const LRESULT set = SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    check(set == TRUE && GetCursor() == nullptr, "the pointer is hidden over the window");

    // The keypad's 4 (Num Lock on) turns as Left does.
    SendMessageA(window, WM_KEYDOWN, VK_NUMPAD4, 0x004B0001);
    check(session.livePlatform().keyHeld(GameKey::Left), "the keypad's 4 turns left");
    SendMessageA(window, WM_KEYUP, VK_NUMPAD4, static_cast<LPARAM>(0xC04B0001u));

    // Keys go on to the default window procedure after the session: Alt+F4 closes by its road.
    SendMessageA(window, WM_SYSKEYDOWN, VK_F4, 0x203E0001);
    pump();
    check(session.ended(), "Alt+F4 reaches the default window procedure, which closes the window");
    return 0;
}

}  // namespace
}  // namespace krello

int main() { return krello::run(); }
