// The game on Windows: start-up in order, window messages into the session, one frame per idle turn.
#include "platform/win32/game_shell.h"

#include <mmsystem.h>

#include <cstdio>
#include <memory>

#include "platform/common/game_session.h"
#include "platform/common/shell_start.h"
#include "platform/common/window_title.h"
#include "platform/win32/game_window.h"
#include "platform/win32/stop_requests.h"
#include "platform/win32/wave_out.h"
#include "platform/win32/window_messages.h"
#include "platform/win32/xinput_pads.h"

namespace krello {
namespace {

constexpr DWORD MINIMISED_WAIT_MS = 10;

void reportSetupFailure(const std::string& reason, HWND window) {
    std::fprintf(stderr, "krello: %s\n", reason.c_str());
    std::fflush(stderr);
    MessageBoxA(window, "ERROR!", WINDOW_TITLE, MB_OK | MB_ICONERROR);
}

// Takes every waiting message without blocking. False once WM_QUIT has come.
bool pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) return false;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

// The loop: messages first, then one frame whenever none is waiting. When the session has
// ended (its quit key, the end of a replay) the window is closed, and the loop ends with the
// WM_QUIT that closing it brings.
void playSession(GameSession& session, GameWindow& window) {
    XInputPads pads;
    bool closing = false;
    while (pumpMessages()) {
        if (session.ended()) {
            if (!closing) PostMessageA(window.handle(), WM_CLOSE, 0, 0);
            closing = true;
            continue;
        }
        if (const int status = stopRequestStatus(); status != 0) {
            session.interrupt(status);
            continue;
        }
        if (session.takeFullscreenRequest()) window.toggleFullscreen();
        if (!session.wantsFrame()) {
            // Minimised: nothing to draw. Woken at once by a message, so restoring is not delayed.
            MsgWaitForMultipleObjects(0, nullptr, FALSE, MINIMISED_WAIT_MS, QS_ALLINPUT);
            continue;
        }
        session.waitBeforeFrame();
        pads.poll(session);
        session.produceFrame();  // renderFrame: the update, the drawing and the text, into a copy
        window.blitFrame(session.shownFrame(), session.pixelLookup());
        window.flipFrame();
    }
}

// Sleeps of a millisecond, so the frame-rate cap's waits end on time (the default tick is 15.6 ms).
class FineTimer {
public:
    FineTimer() : set_(timeBeginPeriod(1) == TIMERR_NOERROR) {}
    FineTimer(const FineTimer&) = delete;
    FineTimer& operator=(const FineTimer&) = delete;
    ~FineTimer() {
        if (set_) timeEndPeriod(1);
    }

private:
    bool set_;  // the period was granted and must be given back
};

// The game's window, its messages going to the session it was opened for.
class Win32Window final : public ShellWindow {
public:
    Win32Window(HINSTANCE instance, int showCommand) : instance_(instance), showCommand_(showCommand) {}
    std::string open(GameSession& session) override {
        context_ = WindowContext{&session, window_.get()};
        std::string failure =
            window_->initDisplay(instance_, session.options(), gameWindowProcedure, &context_, showCommand_);
        if (!failure.empty()) reportSetupFailure(failure, window_->handle());
        return failure;
    }
    void play(GameSession& session) override {
        // Heard while the session plays; closed before the session finishes and lets its mixer go.
        const WaveOutAudio audio(session.mixer());
        playSession(session, *window_);
    }

private:
    HINSTANCE instance_;
    int showCommand_;
    std::unique_ptr<GameWindow> window_ = std::make_unique<GameWindow>();  // a frame's worth of pixels
    WindowContext context_;  // what the window procedure works on
};

}  // namespace

int runGame(const ShellOptions& options, HINSTANCE instance, int showCommand) {
    const FineTimer timer;
    Win32Window window(instance, showCommand);
    return runShell(options, window);
}

}  // namespace krello
