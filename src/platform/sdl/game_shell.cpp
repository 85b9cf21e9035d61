// The game on screen through SDL: start-up in order, events into the session, one frame per turn.
#include "platform/sdl/game_shell.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/common/game_session.h"
#include "platform/common/shell_start.h"
#include "platform/common/window_title.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/stop_signals.h"

namespace krello {
namespace {

constexpr Uint32 MINIMISED_POLL_MS = 10;
constexpr int SIGNAL_STATUS_BASE = 128;  // the shell's convention: 130 after SIGINT, 143 after SIGTERM

void reportSetupFailure(const SdlDisplay::Failure& failure, SDL_Window* window) {
    std::fprintf(stderr, "krello: %s\n", failure.reason.c_str());
    // Where no display can show it, the box fails too; stderr has the reason either way.
    if (!failure.noDisplay) SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, WINDOW_TITLE, "ERROR!", window);
}

// The window's own events: closing, focus, minimising, a lost render device.
void windowEvent(const SDL_Event& event, GameSession& session, SdlDisplay& display) {
    if (event.type == SDL_QUIT) session.closeRequested();
    if (event.type == SDL_RENDER_DEVICE_RESET) display.recreateTexture();
    if (event.type != SDL_WINDOWEVENT) return;
    // The key-up of a key held while the keyboard goes elsewhere never comes.
    if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) session.focusLost();
    // Frames and updates stop while minimised and resume on restore.
    session.setMinimised(display.minimised());
}

void pollEvents(GameSession& session, SdlInput& input, SdlDisplay& display) {
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        if (!input.handle(event, session)) windowEvent(event, session, display);
    }
    if (session.takeFullscreenRequest()) display.toggleFullscreen();
    if (const int signal = stopSignal(); signal != 0) session.interrupt(SIGNAL_STATUS_BASE + signal);
}

// When the display goes away, Xlib ends the process from inside an SDL call, with exit(): the
// one way left to keep the recording is a handler that runs then. It hands the block under way
// to the file, so the demo keeps every update played.
GameSession* sessionAtExit = nullptr;  // the session playing, for that handler only

extern "C" void keepDemoAtExit() {
    if (sessionAtExit != nullptr) sessionAtExit->keepDemo();
}

void playSession(GameSession& session, SdlDisplay& display) {
    sessionAtExit = &session;
    static const bool registered = std::atexit(keepDemoAtExit) == 0;
    (void)registered;
    SdlInput input;
    while (true) {
        pollEvents(session, input, display);
        if (session.ended()) {
            sessionAtExit = nullptr;
            return;
        }
        if (!session.wantsFrame()) {
            SDL_Delay(MINIMISED_POLL_MS);  // nothing to draw; the clock keeps running meanwhile
            continue;
        }
        session.waitBeforeFrame();
        session.produceFrame();
        display.present(session.shownFrame(), session.pixelLookup());
    }
}

// The SDL window, and gamepads once it is open.
class SdlWindow final : public ShellWindow {
public:
    std::string open(GameSession& session) override {
        const SdlDisplay::Failure failure = display_.open(session.options());
        if (!failure.reason.empty()) {
            reportSetupFailure(failure, display_.window());
            return failure.reason;
        }
        // Without gamepad support the game still plays from the keyboard.
        if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
            std::fprintf(stderr, "krello: no gamepads: %s\n", SDL_GetError());
        return {};
    }
    void play(GameSession& session) override {
        // Heard while the session plays; closed before the session finishes and lets its mixer go.
        const SdlAudio audio(session.mixer());
        playSession(session, display_);
    }

private:
    SdlDisplay display_;
};

}  // namespace

int runGame(const ShellOptions& options) {
    if (std::string none = SdlDisplay::missingDisplay(); !none.empty()) {
        std::fprintf(stderr, "krello: %s\n", none.c_str());
        return 1;
    }
    SdlWindow window;
    return runShell(options, window);
}

}  // namespace krello
