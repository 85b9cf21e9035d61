// The game in a browser page: sessions, the page's events into them, frames on animation frames.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/common/game_session.h"
#include "platform/common/shell_options.h"
#include "platform/web/page_warm_up.h"
#include "render/render_threads.h"
#include "render/render_view.h"
#include "world/screen.h"

namespace krello {

// The page's options: these settings, with F for full screen as well, and what the session is
// for (a demo to record or replay, a level file or the built-in level).
ShellOptions webShellOptions(const Settings& settings, DemoMode mode, const std::string& demoFile,
                             const std::string& levelFile = "");

// What the page's status bar follows: the session's state as the player sees it.
enum class PageState : int { Playing, Paused, QuitPrompt, Replaying, Recording, Ended, Panel };

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

    // One animation frame: the frames the pacing allows, the last one shown. A timedemo's
    // turn instead: its frames for a slice of time, back to back, the last one shown.
    void tick();
    // A timedemo is under way (not yet finished).
    bool runningTimedemo() const { return session_ && !finished_ && options_.demoMode == DemoMode::Timedemo; }
    // A timedemo is warming up: its timed frames have not begun.
    bool warmingUp() const { return runningTimedemo() && warmUp_ && !warmUp_->done(); }

    // The page's events. keyDown returns whether the browser's own action for the key is to be
    // kept from it (scrolling on arrows and Space).
    bool keyDown(KeyId key, uint8_t modifiers, bool repeat);
    void keyUp(KeyId key);
    void padButton(int pad, PadButton button, bool down);
    void padAxis(int pad, PadAxis axis, int value);
    void padAdded(int pad, const std::string& name);
    void padRemoved(int pad);
    void visibilityChanged(bool hidden);
    void focusLost();
    // Fits the canvas to the page's game area with the display settings: the frame's shape
    // (4:3 or square pixels), whole multiples when asked, and never beyond `scale` times it.
    void layOut();

    // The settings panel is open: the game stands still, as in a minimised window.
    void panelOpen(bool open);
    // New settings: kept for every session from now on, the play settings and bindings at once.
    void applySettings(const Settings& settings);
    const Settings& settings() const { return settings_; }

    // The page's demo buttons: a new game recorded into DEMO_FILE (the frame-rate counter as it
    // was); the recording finished, which ends the game. stopRecording returns whether a demo was kept.
    int startRecording();
    bool stopRecording();
    // A demo or a level file in the page's files (a dropped file, a link): played at once.
    int playDemo(const std::string& file);
    int playLevel(const std::string& file);
    // After the session ended: the restart keys start a new game on the same level.
    int playAgain();
    // The mixer of the session under way (null without one): what the page's audio pulls.
    sound::Mixer* mixer() { return session_ ? session_->mixer() : nullptr; }

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
    int runTimedemoTurn();
    PageState pageState() const;
    void reportState();
    bool showingFps() const { return session_ && !finished_ ? session_->showingFps() : lastShowFps_; }

    Settings settings_;                        // the page's settings (local storage), for every session
    ShellOptions options_;                     // the session's
    std::string levelFile_;                    // the level being played: a dropped file, or "" built in
    PageClock clock_;
    CanvasShots shots_;
    RenderThreads threads_{1, bestRenderPath()};  // the page's one thread, whose walls the map reads
    ViewDrawer drawer_{&threads_};             // the renderer, on that thread
    std::unique_ptr<GameSession> session_;     // the session under way, or ended and finished
    std::unique_ptr<PageWarmUp> warmUp_;       // a timedemo's warm-up, before its first frame
    bool finished_ = true;                     // the session under way has been finished
    bool hidden_ = false;                      // the tab is hidden: no frames, as when minimised
    bool panel_ = false;                       // the settings panel is open: no frames either
    bool lastShowFps_ = settings_.showFps;     // the counter as the last session left it
    bool demoOffered_ = false;                 // this session's recording was handed to the page
    int shownState_ = -1;                      // the PageState the page was last told of
    std::array<uint32_t, FRAME_BYTES> rgba_{};  // the shown frame as the canvas's RGBA bytes
};

}  // namespace krello
