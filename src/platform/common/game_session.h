// One player's session on any shell: games started and restarted, pause, the quit prompt, messages,
// the frame-rate counter and demos. The shell feeds it input and shows the frames it makes.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "game/frame.h"
#include "platform/common/automap.h"
#include "platform/common/demo_session.h"
#include "platform/common/fps_counter.h"
#include "platform/common/frame_pacer.h"
#include "platform/common/input_mapper.h"
#include "platform/common/message_board.h"
#include "platform/common/screenshot.h"
#include "platform/common/session_sound.h"
#include "platform/common/shell_options.h"
#include "platform/common/shown_palette.h"
#include "replay/game_run.h"
#include "replay/timedemo.h"
#include "world/screen.h"

namespace krello {

// The order of a shell's work (see docs/shell.md; runShell in shell_start.h does the desktop
// shells' part of it):
//
//   RenderThreads threads(options.threads, path);  ViewDrawer drawer(&threads);
//   GameSession session(options, clock, shots, drawer);
//   if (int status = session.start(); status != 0) return status;   // before any window
//   open the window for session.options();  (failure: session.abandon(), status 1)
//   while (!session.ended()) {
//       translate every waiting event into keyDown/keyUp/pad.../focusLost/setMinimised/
//           closeRequested; take session.takeFullscreenRequest()
//       if (!session.wantsFrame()) { sleep a little; continue; }
//       session.waitBeforeFrame();          // blocking shells; a browser's frame callback skips it
//       session.produceFrame();
//       show session.shownFrame() through session.pixelLookup()
//   }
//   return session.finish();
class GameSession {
public:
    enum class State {
        Running,     // the game updates every frame (also after game over: the world goes on)
        Paused,      // no update; the frame stands with "PAUSED" over it
        QuitPrompt,  // no update; "Quit? Y/N"
        Ended,       // the loop should stop and call finish()
    };

    GameSession(const ShellOptions& options, PacerClock& clock, ScreenshotSink& shots, FrameDrawer& drawer);
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;
    ~GameSession();

    // The automap learns what the player has seen from the renderer's record of the walls it
    // found in each frame: the threads the drawer draws on. Without them the map stays empty.
    void mapWallsDrawnBy(const RenderThreads& threads) { drawnBy_ = &threads; }

    // Loads the level, opens the demo and starts the first game (start-up reads the clock).
    // Returns 0, or the exit status after printing why the session cannot start (2).
    int start();

    // The options the session runs with, for the shell's window: those it was given, except that
    // a timedemo never waits for the display's refresh.
    const ShellOptions& options() const { return options_; }

    // Input, in the names every shell shares. Game keys reach the game through the tap latch;
    // shell keys act at once.
    void keyDown(KeyId key, uint8_t modifiers, bool repeat);
    void keyUp(KeyId key);
    void padButtonDown(int pad, PadButton button);
    void padButtonUp(int pad, PadButton button);
    void padAxis(int pad, PadAxis axis, int value);
    void padAdded(const std::string& name);
    void padRemoved(int pad);
    void focusLost();
    void setMinimised(bool minimised) {
        minimised_ = minimised;
        if (minimised) run_->flushDemo();  // no frames come while minimised: the recording is made safe now
    }
    void closeRequested() { end(0); }
    // A signal (SIGINT, SIGTERM): the session ends with this status, a recording is kept.
    void interrupt(int status) { end(status); }
    // New settings while the session runs (a page's settings panel): the play settings and the
    // bindings from now on (the frame cap and the display's settings wait for the next session). Keys held are let go; the game itself is untouched.
    void applySettings(const Settings& settings);

    // Asked once per turn: Alt+Enter was pressed since the last time.
    bool takeFullscreenRequest();

    State state() const { return state_; }
    // The frame-rate counter is shown (the setting, toggled since by its key).
    bool showingFps() const { return showFps_; }
    // The game under way is being recorded (a restart ends the recording).
    bool recording() const { return run_->recording(); }
    bool ended() const { return state_ == State::Ended; }
    // Frames stop while the window is minimised (the clock goes on; the update clamps the step).
    bool wantsFrame() const { return !ended() && !minimised_; }

    // Holds the frame back: the fps cap, a replay's pace, or none for a timedemo.
    void waitBeforeFrame();
    // The same decision for a shell its display calls back (a browser): true when a frame may be
    // produced now. Call again after producing one: a slow display may be owed a second.
    bool frameDue();
    // Frames the fps cap's clock owed that a slow display left no room for (FramePacer::dropped).
    uint64_t droppedFrames() const { return pacer_.droppedFrames(); }
    // One frame: the update (while running) and the drawing, then the text over a copy.
    void produceFrame();
    // The same without the copy and the text, for a frame nobody will see (the page's timedemo
    // shows only the newest frame of each turn); composeShown() then makes shownFrame() of the
    // newest. Frames back to back need one clock reading each: the frame starts at
    // `startedMicros` (the clock as the previous one ended) and returns the clock at its end.
    uint64_t produceUnshownFrame(uint64_t startedMicros);
    void composeShown();
    const uint8_t* shownFrame() const { return shown_.data(); }
    // The renderer's own frame, before the map and the text: the same whether the map is shown.
    const uint8_t* renderedFrame() const { return frame_.data(); }
    const Automap& automap() const { return automap_; }
    const PixelLookup& pixelLookup() const { return palette_.pixelLookup(); }

    // Empty, or for a replayed demo whose recording was cut off the line that says how far it
    // got: "FILE: demo ends early after N updates: ..." (finish() prints it; the page shows it).
    std::string demoEndNote() const;
    // The process is ending under the session (the display went away): the recording's block
    // under way goes to the file, which then holds every update played.
    void keepDemo() { run_->flushDemo(); }
    // Ends the session: a recording is finished and kept, a timedemo prints its line. Returns
    // the process's exit status.
    int finish();
    // The window never opened: a recording begun is removed.
    void abandon() { demo_.abandon(*run_); }

    // The game's host as the session answers it: what the update would be told now. For tests
    // of a shell's input translation.
    PlatformSeam& livePlatform() { return live_; }

    // The mixer the shell's audio back end pulls on its own thread, or null when the session
    // has no sound (sound = off, --no-sound, or a timedemo, which runs faster than it could be
    // heard). Valid until the session is destroyed: close the device before that.
    sound::Mixer* mixer() { return sound_ ? &sound_->mixer() : nullptr; }

    // For tests and the frame's text: the game as it stands.
    const GameState& game() const { return run_->game(); }
    const std::string& message() const { return messages_.current(nowMillis()); }

private:
    // The game's host: the session's clock, the mapped keys, the palette on screen.
    class LiveSeam final : public PlatformSeam {
    public:
        explicit LiveSeam(GameSession& s) : s_(s) {}
        uint32_t readClock() override { return static_cast<uint32_t>(s_.nowMillis()); }
        bool keyHeld(GameKey key) override { return s_.input_.query(key); }
        void tintPalette(int startRed) override { s_.palette_.tint(startRed); }

    private:
        GameSession& s_;
    };

    uint64_t nowMillis() const { return clock_.nowMicros() / 1000; }
    void startGame();
    void restart();
    void act(ActionSet actions);
    void quitAsked();
    void answerPrompt(bool quit);
    void pause(bool paused);
    void mute();
    void heard(sound::EventKind kind);
    void screenshot();
    void post(const std::string& text, bool problem);
    void drawFrame();  // the update (while running) and the drawing into frame_
    void tellDemoWriteProblem();
    void end(int status);
    void makeHints();
    std::string finishDemo();

    ShellOptions options_;
    PacerClock& clock_;
    ScreenshotSink& shots_;
    FrameDrawer& drawer_;                 // the renderer, on the shell's threads
    InputMapper input_;                   // keys and gamepads into game keys and shell actions
    ShownPalette palette_;                // the palette in force
    LiveSeam live_;                       // the platform every game of the session runs on
    std::unique_ptr<GameRun> run_;        // the level and the game under way
    DemoSession demo_;                    // the first game's demo file, if any
    SessionPacer pacer_;
    MessageBoard messages_;
    FpsCounter fps_;
    Automap automap_;                     // what the player has seen, shown over the frame on Tab
    const RenderThreads* drawnBy_ = nullptr;  // whose record of drawn walls the map reads
    std::unique_ptr<TimedemoClock> timing_;
    std::unique_ptr<SessionSound> sound_;  // the games heard, unless the session is silent
    std::array<uint8_t, FRAME_BYTES> frame_{};  // the renderer's buffer, kept between frames
    std::array<uint8_t, FRAME_BYTES> shown_{};  // the frame with the text over it
    State state_ = State::Running;
    State beforePrompt_ = State::Running;  // where "N" returns to
    bool minimised_ = false;
    bool showFps_ = false;
    bool fullscreenAsked_ = false;
    bool demoWriteTold_ = false;  // the recording's write failure has been shown
    bool replayRanOut_ = false;  // a replay ran its last update (rather than being quit)
    int exitStatus_ = 0;
    std::string pausedHint_;   // "Press P to resume"
    std::string restartHint_;  // "Press Enter to play again"
};

}  // namespace krello
