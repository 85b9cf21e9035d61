// The game on screen: start-up in order, the event loop, one frame per turn, and the exit status.
#include "platform/sdl/game_shell.h"

#include <SDL.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>

#include "game/frame.h"
#include "game/start_level.h"
#include "level/builtin_level.h"
#include "platform/common/demo_session.h"
#include "platform/common/frame_pacer.h"
#include "platform/common/text_overlay.h"
#include "platform/common/window_title.h"
#include "platform/sdl/event_loop.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_seam.h"
#include "render/render_view.h"
#include "replay/timedemo.h"
#include "world/screen.h"

namespace krello {
namespace {

constexpr Uint32 MINIMISED_POLL_MS = 10;

// Everything a session keeps, made once at start-up.
struct Session {
    GameState game;
    std::array<uint8_t, FRAME_BYTES> frame{};  // the renderer's buffer, kept between frames
    std::array<uint8_t, FRAME_BYTES> shown{};  // the frame with the text over it
};

void reportSetupFailure(const std::string& reason, SDL_Window* window) {
    std::fprintf(stderr, "krello: %s\n", reason.c_str());
    // Where no display can show it, the box fails too; stderr has the reason either way.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, WINDOW_TITLE, "ERROR!", window);
}

// One frame: the update and the view, then the text over a copy, then the screen.
void showFrame(Session& s, SdlSeam& seam, PlatformSeam& platform, SdlDisplay& display) {
    const FrameOutput output{renderView, s.frame.data()};
    runFrame(s.game, platform, &output);
    std::memcpy(s.shown.data(), s.frame.data(), FRAME_BYTES);
    annotateFrame(s.shown.data(), seam.palette(), s.game.score, s.game.gameOver != 0);
    display.present(s.shown.data(), seam.pixelLookup());
}

// The loop proper: events, then a frame whenever the window is not minimised.
void playSession(Session& s, SdlSeam& seam, DemoSession& demo, SdlDisplay& display, const ShellOptions& options,
                 TimedemoClock& timing) {
    SessionPacer pacer(options.demoMode, options.fps);
    EventLoop loop(s.shown.data(), seam, display, options.shotDir);
    while (loop.pollEvents()) {
        if (!loop.active()) {
            SDL_Delay(MINIMISED_POLL_MS);  // nothing to draw; the clock keeps running meanwhile
            continue;
        }
        pacer.waitBeforeFrame(demo.replayedMillis());
        showFrame(s, seam, demo.platform(), display);
        timing.frameDone();
        if (!demo.afterUpdate(s.game)) break;
    }
}

}  // namespace

int runGame(const ShellOptions& requested) {
    ShellOptions options = requested;
    if (options.demoMode == DemoMode::Timedemo) options.vsync = false;  // as fast as it can go

    auto session = std::make_unique<Session>();
    SdlSeam seam;
    DemoSession demo(options, seam);
    const std::string demoProblem = demo.open();
    if (!demoProblem.empty()) {
        std::fprintf(stderr, "krello: %s\n", demoProblem.c_str());
        return 2;
    }
    loadBuiltinLevel(session->game);
    startLevel(session->game, demo.platform());

    SdlDisplay display;
    const std::string failure = display.open(options);
    if (!failure.empty()) {
        reportSetupFailure(failure, display.window());
        demo.abandon();
        return 1;
    }

    TimedemoClock timing;
    playSession(*session, seam, demo, display, options, timing);

    const std::string demoFailure = demo.finish();
    if (!demoFailure.empty()) {
        std::fprintf(stderr, "krello: %s\n", demoFailure.c_str());
        return demo.replaying() ? 2 : 1;
    }
    if (options.demoMode == DemoMode::Timedemo) std::printf("%s\n", timing.report().c_str());
    return 0;
}

}  // namespace krello
