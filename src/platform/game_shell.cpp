// The game on screen: start-up in order, the event loop, one frame per turn, and the exit status.
#include "platform/game_shell.h"

#include <SDL.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>

#include "game/start_level.h"
#include "game/update_game.h"
#include "platform/demo_session.h"
#include "platform/frame_pacer.h"
#include "platform/event_loop.h"
#include "platform/sdl_display.h"
#include "platform/sdl_seam.h"
#include "platform/text_overlay.h"
#include "render/render_threads.h"
#include "render/render_view.h"
#include "world/builtin_level.h"

namespace krello {
namespace {

constexpr const char* WINDOW_TITLE = "= KRELLO 32K =";
constexpr Uint32 MINIMISED_POLL_MS = 10;

// Everything a session keeps, made once at start-up.
struct Session {
    GameState game;
    std::array<uint8_t, FRAME_BYTES> frame{};  // the renderer's buffer, kept between frames
    std::array<uint8_t, FRAME_BYTES> shown{};  // the frame with the text over it
    std::unique_ptr<RenderThreads> threads;    // made once, drawing every frame's columns
};

void reportSetupFailure(const std::string& reason, SDL_Window* window) {
    std::fprintf(stderr, "krello: %s\n", reason.c_str());
    // Where no display can show it, the box fails too; stderr has the reason either way.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, WINDOW_TITLE, "ERROR!", window);
}

// One frame: the update and the view, then the text over a copy, then the screen.
void runFrame(Session& s, SdlSeam& seam, GameUpdate& update, SdlDisplay& display) {
    renderView(s.game, s.frame.data(), &update, s.threads.get());
    std::memcpy(s.shown.data(), s.frame.data(), FRAME_BYTES);
    annotateFrame(s.shown.data(), seam.palette(), s.game.score, s.game.gameOver != 0);
    display.present(s.shown.data(), seam.pixelLookup());
}

// Holds each frame back as the mode asks: to the frame-rate cap while playing, to the recorded
// game time while replaying, and not at all in a timedemo.
class FrameTiming {
public:
    explicit FrameTiming(const ShellOptions& options)
        : mode_(options.demoMode), cap_(clock_, options.fps), replay_(clock_) {}

    void waitBeforeFrame(const DemoSession& demo) {
        if (mode_ == DemoMode::Timedemo) return;
        if (mode_ == DemoMode::Play) {
            replay_.waitForGameTime(demo.replayedMillis());
        } else {
            cap_.waitForNextFrame();
        }
    }

private:
    DemoMode mode_;
    SteadyPacerClock clock_;
    FramePacer cap_;
    ReplayPacer replay_;
};

void reportTimedemo(long frames, uint64_t micros) {
    const double seconds = static_cast<double>(micros) / 1e6;
    const double fps = seconds > 0 ? static_cast<double>(frames) / seconds : 0.0;
    std::printf("timedemo: %ld frames in %.3f s: %.1f frames per second\n", frames, seconds, fps);
}

// The loop proper: events, then a frame whenever the window is not minimised.
long playSession(Session& s, SdlSeam& seam, DemoSession& demo, SdlDisplay& display, const ShellOptions& options) {
    GameUpdate update(demo.platform());
    FrameTiming timing(options);
    EventLoop loop(s.game, s.shown.data(), seam, display, options.shotDir);
    long frames = 0;
    while (loop.pollEvents()) {
        if (s.game.appActive == 0) {
            SDL_Delay(MINIMISED_POLL_MS);  // nothing to draw; the clock keeps running meanwhile
            continue;
        }
        timing.waitBeforeFrame(demo);
        runFrame(s, seam, update, display);
        ++frames;
        if (!demo.afterUpdate(s.game)) break;
    }
    return frames;
}

}  // namespace

int runGame(const ShellOptions& requested) {
    ShellOptions options = requested;
    if (options.demoMode == DemoMode::Timedemo) options.vsync = false;  // as fast as it can go

    auto session = std::make_unique<Session>();
    RenderPath path = RenderPath::Scalar;
    const std::string pathProblem = renderPathFromEnvironment(path);
    if (!pathProblem.empty()) {
        std::fprintf(stderr, "krello: %s\n", pathProblem.c_str());
        return 2;
    }
    session->threads = std::make_unique<RenderThreads>(options.threads, path);
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
    session->game.appActive = display.minimised() ? 0 : 1;

    SteadyPacerClock clock;
    const uint64_t start = clock.nowMicros();
    const long frames = playSession(*session, seam, demo, display, options);
    const uint64_t elapsed = clock.nowMicros() - start;

    const std::string demoFailure = demo.finish();
    if (!demoFailure.empty()) {
        std::fprintf(stderr, "krello: %s\n", demoFailure.c_str());
        return demo.replaying() ? 2 : 1;
    }
    if (options.demoMode == DemoMode::Timedemo) reportTimedemo(frames, elapsed);
    return 0;
}

}  // namespace krello
