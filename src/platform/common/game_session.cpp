// One player's session on any shell: games started and restarted, pause, the quit prompt, messages,
// the frame-rate counter and demos. The shell feeds it input and shows the frames it makes.
#include "platform/common/game_session.h"

#include <cstdio>
#include <cstring>

#include "platform/common/text_overlay.h"
#include "replay/state_checksum.h"

namespace krello {

GameSession::GameSession(const ShellOptions& options, PacerClock& clock, ScreenshotSink& shots, FrameDrawer& drawer)
    : options_(options),
      clock_(clock),
      shots_(shots),
      drawer_(drawer),
      input_(options_.bindings),
      live_(*this),
      run_(std::make_unique<GameRun>(live_)),
      demo_(options_),
      pacer_(clock, options.demoMode, options.fps),
      automap_(options.automapTurns, options.fourByThree),
      showFps_(options.showFps) {
    if (options_.demoMode == DemoMode::Timedemo) options_.vsync = false;  // as fast as it can go
    else if (options_.sound) sound_ = std::make_unique<SessionSound>(options_.volume);
    makeHints();
}

void GameSession::makeHints() {
    const std::string pauseKey = firstKeyName(options_.bindings.keys[static_cast<size_t>(Action::Pause)]);
    const std::string restartKey = firstKeyName(options_.bindings.keys[static_cast<size_t>(Action::Restart)]);
    pausedHint_ = pauseKey.empty() ? "" : "Press " + pauseKey + " to resume";
    restartHint_ = restartKey.empty() || demo_.replaying() ? "" : "Press " + restartKey + " to play again";
}

void GameSession::applySettings(const Settings& settings) {
    options_.confirmQuit = settings.confirmQuit;
    options_.pauseOnFocusLoss = settings.pauseOnFocusLoss;
    options_.showFps = settings.showFps;
    showFps_ = settings.showFps;
    options_.bindings = settings.bindings;
    input_ = InputMapper(options_.bindings);
    makeHints();
}

GameSession::~GameSession() = default;

int GameSession::start() {
    std::vector<std::string> problems;
    if (!run_->loadLevel(options_.levelFile, problems)) {
        for (const std::string& p : problems) std::fprintf(stderr, "krello: %s\n", p.c_str());
        return 2;
    }
    if (std::string problem = demo_.open(*run_); !problem.empty()) {
        std::fprintf(stderr, "krello: %s\n", problem.c_str());
        return 2;
    }
    if (options_.demoMode == DemoMode::Timedemo) {
        timing_ = std::make_unique<TimedemoClock>(static_cast<size_t>(run_->inputLength()));
        run_->watch(*timing_);
    }
    if (sound_) run_->watch(*sound_);
    startGame();
    return 0;
}

// A game exactly as at launch: fresh tables from the level, the textures built again, the
// clock read, the palette untinted and the renderer's buffer cleared.
void GameSession::startGame() {
    palette_.tint(0);
    frame_.fill(0);
    automap_.forget();
    run_->start();
}

void GameSession::restart() {
    if (run_->recording()) {
        // A demo holds one game: it ends with the game it recorded.
        const std::string failed = finishDemo();
        if (!failed.empty()) exitStatus_ = 1;
    }
    startGame();
    state_ = State::Running;
    pacer_.resumed();
}

void GameSession::keyDown(KeyId key, uint8_t modifiers, bool repeat) {
    if (state_ == State::QuitPrompt && !repeat && (key == KeyId::Y || key == KeyId::N)) {
        answerPrompt(key == KeyId::Y);
        return;
    }
    act(input_.keyDown(key, modifiers, repeat));
}

void GameSession::keyUp(KeyId key) { input_.keyUp(key); }

void GameSession::padButtonDown(int pad, PadButton button) { act(input_.padButtonDown(pad, button)); }

void GameSession::padButtonUp(int pad, PadButton button) { input_.padButtonUp(pad, button); }

void GameSession::padAxis(int pad, PadAxis axis, int value) { act(input_.padAxis(pad, axis, value)); }

void GameSession::padAdded(const std::string& name) { post("Gamepad connected: " + name, false); }

void GameSession::padRemoved(int pad) {
    input_.padRemoved(pad);
    post("Gamepad disconnected", false);
}

void GameSession::focusLost() {
    input_.releaseAll();
    if (options_.pauseOnFocusLoss && state_ == State::Running && options_.demoMode != DemoMode::Timedemo) pause(true);
}

bool GameSession::takeFullscreenRequest() {
    const bool asked = fullscreenAsked_;
    fullscreenAsked_ = false;
    return asked;
}

// One key can be bound to several shell actions; what it does depends on the moment: after
// game over a key bound to both restart and pause (a gamepad's Start) restarts.
void GameSession::act(ActionSet actions) {
    if (actions == 0 || ended()) return;
    const auto has = [actions](Action a) { return (actions & actionBit(a)) != 0; };
    if (has(Action::Fullscreen)) fullscreenAsked_ = true;
    if (has(Action::Screenshot)) screenshot();
    if (has(Action::ShowFps)) showFps_ = !showFps_;
    if (has(Action::Mute)) mute();
    if (has(Action::Automap)) automap_.toggle();
    if (has(Action::ZoomIn) && automap_.shown()) automap_.zoomIn();
    if (has(Action::ZoomOut) && automap_.shown()) automap_.zoomOut();
    if (state_ == State::QuitPrompt) {
        if (has(Action::Quit)) answerPrompt(true);
        else if (has(Action::Pause)) answerPrompt(false);
        return;
    }
    if (has(Action::Restart) && game().gameOver != 0 && !demo_.replaying()) {
        restart();
        return;
    }
    if (has(Action::Quit)) {
        quitAsked();
        return;
    }
    if (has(Action::Pause) && options_.demoMode != DemoMode::Timedemo) pause(state_ == State::Running);
}

// The quit key ends the session at once; with confirm_quit a game under way asks first.
void GameSession::quitAsked() {
    if (options_.confirmQuit && game().gameOver == 0 && !demo_.replaying()) {
        beforePrompt_ = state_;
        state_ = State::QuitPrompt;
        heard(sound::EventKind::QuitPrompt);
        return;
    }
    end(0);
}

void GameSession::answerPrompt(bool quit) {
    if (quit) {
        end(0);
        return;
    }
    state_ = beforePrompt_;
    if (state_ == State::Running) {
        pacer_.resumed();
        heard(sound::EventKind::Unpause);
    }
}

void GameSession::pause(bool paused) {
    if (paused) {
        state_ = State::Paused;
        post("Paused", false);
        heard(sound::EventKind::Pause);
        return;
    }
    // The clock ran on meanwhile, as it does while the window is minimised: the first update
    // after the pause clamps its long step.
    state_ = State::Running;
    pacer_.resumed();
    heard(sound::EventKind::Unpause);
}

void GameSession::mute() {
    if (!sound_) {
        post("Sound is off for this session", false);
        return;
    }
    post(sound_->toggleMute() ? "Sound muted" : "Sound on", false);
}

void GameSession::heard(sound::EventKind kind) {
    if (sound_) sound_->session(kind);
}

void GameSession::screenshot() {
    const ScreenshotSink::Result r = shots_.take(shown_.data(), palette_.palette());
    if (r.ok) post("Screenshot saved: " + r.path, false);
    else post("Cannot write screenshot: " + r.reason, true);
}

// A recording whose disk filled is told at once; the game goes on, the file keeps what it holds.
void GameSession::tellDemoWriteProblem() {
    const std::string problem = run_->demoWriteProblem();
    if (problem.empty()) return;
    demoWriteTold_ = true;
    std::fprintf(stderr, "krello: %s\n", problem.c_str());
    messages_.post("Recording stopped: cannot write the demo", nowMillis());
}

void GameSession::post(const std::string& text, bool problem) {
    messages_.post(text, nowMillis());
    std::fprintf(problem ? stderr : stdout, "krello: %s\n", text.c_str());
    std::fflush(problem ? stderr : stdout);
}

void GameSession::end(int status) {
    if (ended()) return;
    state_ = State::Ended;
    if (exitStatus_ == 0) exitStatus_ = status;
}

void GameSession::waitBeforeFrame() { pacer_.waitBeforeFrame(run_->gameMillis(), state_ != State::Running); }

bool GameSession::frameDue() { return pacer_.frameDue(run_->gameMillis(), state_ != State::Running); }

void GameSession::produceFrame() {
    fps_.frameStarted(clock_.nowMicros());
    drawFrame();
    composeShown();
    fps_.frameEnded(clock_.nowMicros());
}

uint64_t GameSession::produceUnshownFrame(uint64_t startedMicros) {
    fps_.frameStarted(startedMicros);
    drawFrame();
    const uint64_t ended = clock_.nowMicros();
    fps_.frameEnded(ended);
    return ended;
}

void GameSession::drawFrame() {
    if (state_ == State::Running) {
        if (timing_ && run_->updates() == 0) timing_->begin();  // from the first frame, not start-up
        const FrameOutput output{&drawer_, frame_.data()};
        if (!run_->step(&output)) {  // a replay ran its last update or went out of step
            replayRanOut_ = demo_.replaying();
            end(0);
        }
        if (drawnBy_) automap_.noteDrawn(*drawnBy_, game());
        if (!demoWriteTold_) tellDemoWriteProblem();
    } else {
        run_->flushDemo();  // the game stands still: what it recorded goes to the file now
    }
}

void GameSession::composeShown() {
    std::memcpy(shown_.data(), frame_.data(), FRAME_BYTES);
    if (automap_.shown()) automap_.draw(shown_.data(), game());
    OverlayText text;
    text.score = game().score;
    text.gameOver = game().gameOver != 0;
    text.restartHint = restartHint_;
    if (state_ == State::Paused) {
        text.centre = "PAUSED";
        text.centreHint = pausedHint_;
    } else if (state_ == State::QuitPrompt) {
        text.centre = "Quit? Y/N";
    }
    text.message = messages_.current(nowMillis());
    if (showFps_) text.fps = fps_.text();
    annotateFrame(shown_.data(), palette_.palette(), text);
}

std::string GameSession::finishDemo() {
    const bool wasRecording = run_->recording();
    const std::string failed = demo_.finish(*run_);
    if (!failed.empty()) post(failed, true);
    else if (wasRecording) post("Demo recorded: " + options_.demoFile, false);
    return failed;
}

std::string GameSession::demoEndNote() const {
    if (demo_.cutShort().empty()) return {};
    Demo cut;
    cut.cutShort = demo_.cutShort();
    return demoEndLine(options_.demoFile, cut, run_->updates(), gameStateChecksum(game()));
}

int GameSession::finish() {
    if (!finishDemo().empty()) return demo_.replaying() ? 2 : 1;
    if (std::string early = demoEndNote(); !early.empty()) std::fprintf(stderr, "krello: %s\n", early.c_str());
    if (timing_) std::printf("%s\n%s\n", timing_->report().c_str(), timedemoStateLine(gameStateChecksum(game())).c_str());
    else if (replayRanOut_)
        std::printf("krello: %s\n", demoEndLine(options_.demoFile, Demo{}, run_->updates(), gameStateChecksum(game())).c_str());
    return exitStatus_;
}

}  // namespace krello
