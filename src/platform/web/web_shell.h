// The game in a browser page: sessions, the page's events into them, frames on animation frames.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "platform/common/game_session.h"
#include "platform/common/shell_options.h"
#include "render/render_threads.h"
#include "render/render_view.h"
#include "world/screen.h"

namespace krello {

// The page's options: the desktop's defaults and bindings, with F for full screen as well.
ShellOptions webShellOptions(DemoMode mode, const std::string& demoFile);

class WebShell {
public:
    // Where the page's recordings are kept (the browser's in-memory files) until downloaded.
    static constexpr const char* DEMO_FILE = "/krello.demo";

    WebShell() = default;
    WebShell(const WebShell&) = delete;
    WebShell& operator=(const WebShell&) = delete;

    // Starts a session with these options (ending one under way). Returns 0, or the session's
    // status when it cannot start (it has said why on stderr, which the page shows).
    int begin(const ShellOptions& options);

    // One animation frame: the frames the pacing allows, the last one shown.
    void tick();

    // The page's events. keyDown returns whether the browser's own action for the key is to be
    // kept from it (scrolling on arrows and Space).
    bool keyDown(KeyId key, uint8_t modifiers, bool repeat);
    void keyUp(KeyId key);
    void visibilityChanged(bool hidden);
    void focusLost();
    // Fits the canvas to the page's game area: 4:3, whole multiples where one fits.
    void layOut();

    // The page's demo buttons: a new game recorded into DEMO_FILE; the recording finished (the
    // session ends and a new unrecorded one starts). stopRecording returns whether a demo was kept.
    int startRecording();
    bool stopRecording();

private:
    // The page's clock; a browser never blocks, so the sleep is never asked for.
    class PageClock final : public PacerClock {
    public:
        uint64_t nowMicros() override;
        void sleepMicros(uint64_t) override {}
    };
    // Screenshots are the canvas, downloaded as numbered PNGs.
    class CanvasShots final : public ScreenshotSink {
    public:
        Result take(const uint8_t* frame, const Palette& palette) override;

    private:
        int nextNumber_ = 1;  // a browser numbers repeated downloads itself; ours count the session's
    };

    void endSession();
    void present(int produced);
    int runTimedemoSlice();

    ShellOptions options_;                     // the session's, kept for a new game after it ends
    PageClock clock_;
    CanvasShots shots_;
    RenderThreads threads_{1, bestRenderPath()};  // the page's one thread, whose walls the map reads
    ViewDrawer drawer_{&threads_};             // the renderer, on that thread
    std::unique_ptr<GameSession> session_;     // the session under way, or ended and finished
    bool finished_ = true;                     // the session under way has been finished
    bool hidden_ = false;                      // the tab is hidden: no frames, as when minimised
    std::array<uint32_t, FRAME_BYTES> rgba_{};  // the shown frame as the canvas's RGBA bytes
};

}  // namespace krello
