// The game in a browser page: sessions, the page's events into them, frames on animation frames.
#include "platform/web/web_shell.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/common/display_layout.h"
#include "platform/common/palette_expand.h"
#include "platform/web/dom_keys.h"
#include "platform/web/web_audio.h"
#include "platform/web/web_page.h"
#include "replay/state_checksum.h"

namespace krello {
namespace {

// A slow display is owed a second frame now and then to keep the 70 fps cap; never more.
constexpr int MOST_FRAMES_PER_CALLBACK = 2;
// A timedemo runs frames back to back for this long (on the page's clock, in microseconds), then
// lets the page show the newest and breathe. Each turn's end costs time that is no frame's: the
// copy to the canvas, the hand-off to the next turn (the page's thread may sleep there, and a busy
// machine then gives its core away for a while) and a paint, whose work in the browser's other
// threads competes with the frames for the machine. Five pictures a second still show the tour
// moving and a key answered within a fifth of a second.
constexpr uint64_t TIMEDEMO_TURN_MICROS = 200000;
// The warm-up's turns are shorter: its gauge judges the browser's compiler turn by turn, and
// with turns of 33 ms it settles in four to six of them.
constexpr uint64_t WARM_UP_TURN_MICROS = 33000;

// The browser's canvas takes bytes R, G, B, A; the lookup gives 0xAARRGGBB words.
PixelLookup canvasLookup(const PixelLookup& argb) {
    PixelLookup rgba{};
    for (size_t i = 0; i < argb.size(); ++i) {
        const uint32_t c = argb[i];
        rgba[i] = (c & 0xFF00FF00u) | ((c >> 16) & 0xFFu) | ((c & 0xFFu) << 16);
    }
    return rgba;
}

bool boundTo(const Bindings& bindings, Action action, KeyId key) {
    const KeyList& keys = bindings.keys[static_cast<size_t>(action)];
    return std::any_of(keys.begin(), keys.end(), [key](const KeyBinding& k) { return k.key == key; });
}

}  // namespace

ShellOptions webShellOptions(const Settings& settings, DemoMode mode, const std::string& demoFile,
                             const std::string& levelFile) {
    ShellOptions options;
    static_cast<Settings&>(options) = settings;
    options.demoMode = mode;
    options.demoFile = demoFile;
    options.levelFile = levelFile;
    options.overwrite = true;  // the page's one recording file is replaced by the next
    auto& fullscreen = options.bindings.keys[static_cast<size_t>(Action::Fullscreen)];
    const bool hasF = std::any_of(fullscreen.begin(), fullscreen.end(), [](const KeyBinding& k) {
        return k.key == KeyId::F && k.modifiers == 0;
    });
    for (KeyBinding& slot : fullscreen) {
        if (!hasF && slot.key == KeyId::None) {
            slot = KeyBinding{KeyId::F, 0};
            break;
        }
    }
    return options;
}

uint64_t WebShell::PageClock::nowMicros() { return static_cast<uint64_t>(emscripten_get_now() * 1000.0); }

ScreenshotSink::Result WebShell::CanvasShots::take(const uint8_t*, const Palette&) {
    char name[32];
    std::snprintf(name, sizeof name, "krello-%04d.png", nextNumber_++);
    pageSaveCanvas(name);
    return Result{true, name, ""};
}

int WebShell::begin(const ShellOptions& options) {
    if (!finished_) endSession();
    options_ = options;
    demoOffered_ = false;
    session_ = std::make_unique<GameSession>(options_, clock_, shots_, drawer_);
    session_->mapWallsDrawnBy(threads_);
    if (const int status = session_->start(); status != 0) {
        session_->abandon();
        session_.reset();
        reportState();
        return status;
    }
    // The renderer readied outside the game's frames, as krello-tool's timedemo does: the first
    // frame is an ordinary one, not the one that turns every texture. A timedemo goes on warming
    // up, turn by turn, until the browser has optimised the renderer (page_warm_up.h).
    drawer_.warmUp(session_->game());
    warmUp_.reset();
    if (options_.demoMode == DemoMode::Timedemo) warmUp_ = std::make_unique<PageWarmUp>(session_->game());
    finished_ = false;
    session_->setMinimised(hidden_ || panel_);
    reportState();
    return 0;
}

void WebShell::endSession() {
    finished_ = true;
    lastShowFps_ = session_->showingFps();
    const int status = session_->finish();
    if (const std::string early = session_->demoEndNote(); !early.empty()) pageSay(early, false);
    if (options_.demoMode == DemoMode::Record && status == 0 && !demoOffered_) {
        demoOffered_ = true;
        pageDemoRecorded();
    }
    if (options_.demoMode == DemoMode::Play && status == 0)
        pageReplayEnded(gameStateChecksum(session_->game()));
    reportState();
}

PageState WebShell::pageState() const {
    if (panel_) return PageState::Panel;
    if (finished_) return PageState::Ended;
    switch (session_->state()) {
        case GameSession::State::Paused: return PageState::Paused;
        case GameSession::State::QuitPrompt: return PageState::QuitPrompt;
        case GameSession::State::Ended: return PageState::Ended;
        case GameSession::State::Running: break;
    }
    if (options_.demoMode == DemoMode::Play || options_.demoMode == DemoMode::Timedemo) return PageState::Replaying;
    return session_->recording() ? PageState::Recording : PageState::Playing;
}

// The status bar says what the game is doing now, with the keys the player has bound.
void WebShell::reportState() {
    const auto state = static_cast<int>(pageState());
    if (state == shownState_) return;
    shownState_ = state;
    const Bindings keys = session_ && !finished_ ? options_.bindings : webShellOptions(settings_, DemoMode::None, "").bindings;
    const auto first = [&keys](Action a) { return firstKeyName(keys.keys[static_cast<size_t>(a)]); };
    pageShowState(state, first(Action::Pause), first(Action::Restart), first(Action::Quit));
}

void WebShell::tick() {
    pagePollPads();
    if (!session_ || finished_) return;
    if (session_->ended()) {
        endSession();
        return;
    }
    // A restart after game over ends a recording: the demo is ready while the new game plays on.
    if (options_.demoMode == DemoMode::Record && !demoOffered_ && !session_->recording()) {
        demoOffered_ = true;
        pageDemoRecorded();
    }
    reportState();
    if (!session_->wantsFrame()) return;
    // A turn of the timedemo's warm-up is all the turn does: the demo's first frame starts a turn.
    if (warmUp_ && !warmUp_->done()) {
        warmUp_->turn(drawer_, clock_, WARM_UP_TURN_MICROS);
        return;
    }
    int produced = 0;
    if (options_.demoMode == DemoMode::Timedemo) {
        produced = runTimedemoTurn();
    } else {
        while (produced < MOST_FRAMES_PER_CALLBACK && !session_->ended() && session_->frameDue()) {
            session_->produceFrame();
            ++produced;
        }
    }
    if (produced > 0) present(produced);
}

int WebShell::runTimedemoTurn() {
    // One reading of the clock a frame (a call out to the page's performance.now()): each
    // frame's end is the next one's start and the turn's measure.
    uint64_t now = clock_.nowMicros();
    const uint64_t end = now + TIMEDEMO_TURN_MICROS;
    int produced = 0;
    do {
        now = session_->produceUnshownFrame(now);
        ++produced;
    } while (!session_->ended() && now < end);
    session_->composeShown();  // the turn shows its newest frame only
    return produced;
}

void WebShell::present(int produced) {
    expandFrame(session_->shownFrame(), canvasLookup(session_->pixelLookup()), rgba_.data(), SCREEN_WIDTH);
    const auto dropped = static_cast<double>(session_->droppedFrames());
    pagePresent(reinterpret_cast<const uint8_t*>(rgba_.data()), produced, dropped);
}

bool WebShell::keyDown(KeyId key, uint8_t modifiers, bool repeat) {
    if (key == KeyId::None || panel_) return false;
    if (finished_) {
        // The desktop's window would be gone; the page offers a new game on the restart keys.
        if (!repeat && boundTo(webShellOptions(settings_, DemoMode::None, "").bindings, Action::Restart, key))
            playAgain();
        return keyScrollsPage(key);
    }
    session_->keyDown(key, modifiers, repeat);
    // The browser grants full screen only while the key is being handled.
    if (session_->takeFullscreenRequest()) pageToggleFullscreen();
    reportState();
    return keyScrollsPage(key);
}

void WebShell::keyUp(KeyId key) {
    if (key != KeyId::None && !finished_) session_->keyUp(key);
}

void WebShell::padButton(int pad, PadButton button, bool down) {
    if (finished_ || panel_) {
        const PadList& restart = settings_.bindings.pad[static_cast<size_t>(Action::Restart)];
        if (down && !panel_ && std::find(restart.begin(), restart.end(), button) != restart.end()) playAgain();
        return;
    }
    if (down) session_->padButtonDown(pad, button);
    else session_->padButtonUp(pad, button);
    reportState();
}

void WebShell::padAxis(int pad, PadAxis axis, int value) {
    if (!finished_ && !panel_) session_->padAxis(pad, axis, value);
}

void WebShell::padAdded(int, const std::string& name) {
    if (!finished_) session_->padAdded(name);
}

void WebShell::padRemoved(int pad) {
    if (!finished_) session_->padRemoved(pad);
}

void WebShell::visibilityChanged(bool hidden) {
    hidden_ = hidden;
    if (!finished_) session_->setMinimised(hidden_ || panel_);
}

void WebShell::focusLost() {
    if (!finished_) session_->focusLost();
    reportState();
}

void WebShell::panelOpen(bool open) {
    panel_ = open;
    if (!finished_) {
        if (open) session_->focusLost();
        session_->setMinimised(hidden_ || panel_);
    }
    reportState();
}

void WebShell::layOut() {
    const LayoutChoice choice{settings_.fourByThree, settings_.integerScale};
    const int areaW = pageAreaWidth();
    const int areaH = pageAreaHeight();
    // No bigger than `scale` times the frame's shape, as a window of that scale would be.
    const int mostW = std::min(areaW, settings_.scale * SCREEN_WIDTH);
    const int mostH = std::min(areaH, settings_.scale * shownFrameHeight(choice));
    ScreenRect box = fitFrame(mostW, mostH, choice);
    box.x += (areaW - mostW) / 2;
    box.y += (areaH - mostH) / 2;
    pagePlaceCanvas(box);
}

void WebShell::applySettings(const Settings& settings) {
    settings_ = settings;
    lastShowFps_ = settings.showFps;
    hearSettings(settings.sound, settings.volume);
    if (!finished_) {
        const ShellOptions fresh = webShellOptions(settings_, options_.demoMode, options_.demoFile, levelFile_);
        session_->applySettings(fresh);
        options_.bindings = fresh.bindings;
    }
    shownState_ = -1;  // the hints name the keys bound now
    reportState();
    layOut();
}

int WebShell::startRecording() {
    // A new game, so the demo holds one whole game; the counter stays as the player had it.
    Settings kept = settings_;
    kept.showFps = showingFps();
    return begin(webShellOptions(kept, DemoMode::Record, DEMO_FILE, levelFile_));
}

bool WebShell::stopRecording() {
    if (finished_ || options_.demoMode != DemoMode::Record) return false;
    const bool wasRecording = session_->recording();
    endSession();
    return wasRecording;
}

int WebShell::playDemo(const std::string& file) {
    levelFile_.clear();
    return begin(webShellOptions(settings_, DemoMode::Play, file));
}

int WebShell::playLevel(const std::string& file) {
    const int status = begin(webShellOptions(settings_, DemoMode::None, "", file));
    if (status == 0) levelFile_ = file;
    return status;
}

int WebShell::playAgain() {
    Settings kept = settings_;
    kept.showFps = showingFps();
    return begin(webShellOptions(kept, DemoMode::None, "", levelFile_));
}

}  // namespace krello
