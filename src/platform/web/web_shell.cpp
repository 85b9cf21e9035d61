// The game in a browser page: sessions, the page's events into them, frames on animation frames.
#include "platform/web/web_shell.h"

#include <emscripten.h>

#include <cstdio>
#include <string>

#include "platform/common/display_layout.h"
#include "platform/common/palette_expand.h"
#include "platform/web/dom_keys.h"
#include "platform/web/web_page.h"

namespace krello {
namespace {

// A slow display is owed a second frame now and then to keep the 70 fps cap; never more.
constexpr int MOST_FRAMES_PER_CALLBACK = 2;
// A timedemo runs frames back to back for this long, then lets the page draw and breathe.
constexpr double TIMEDEMO_SLICE_MS = 12.0;

// The browser's canvas takes bytes R, G, B, A; the lookup gives 0xAARRGGBB words.
PixelLookup canvasLookup(const PixelLookup& argb) {
    PixelLookup rgba{};
    for (size_t i = 0; i < argb.size(); ++i) {
        const uint32_t c = argb[i];
        rgba[i] = (c & 0xFF00FF00u) | ((c >> 16) & 0xFFu) | ((c & 0xFFu) << 16);
    }
    return rgba;
}

}  // namespace

ShellOptions webShellOptions(DemoMode mode, const std::string& demoFile) {
    ShellOptions options;
    options.demoMode = mode;
    options.demoFile = demoFile;
    options.overwrite = true;  // the page's one recording file is replaced by the next
    auto& fullscreen = options.bindings.keys[static_cast<size_t>(Action::Fullscreen)];
    for (KeyBinding& slot : fullscreen) {
        if (slot.key == KeyId::None) {
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
    session_ = std::make_unique<GameSession>(options_, clock_, shots_, drawer_);
    session_->mapWallsDrawnBy(threads_);
    if (const int status = session_->start(); status != 0) {
        session_->abandon();
        session_.reset();
        return status;
    }
    finished_ = false;
    session_->setMinimised(hidden_);
    return 0;
}

void WebShell::endSession() {
    finished_ = true;
    const bool recording = options_.demoMode == DemoMode::Record;
    const int status = session_->finish();
    pageSessionEnded(recording && status == 0);
}

void WebShell::tick() {
    if (!session_ || finished_) return;
    if (session_->ended()) {
        endSession();
        return;
    }
    if (!session_->wantsFrame()) return;
    int produced = 0;
    if (options_.demoMode == DemoMode::Timedemo) {
        produced = runTimedemoSlice();
    } else {
        while (produced < MOST_FRAMES_PER_CALLBACK && !session_->ended() && session_->frameDue()) {
            session_->produceFrame();
            ++produced;
        }
    }
    if (produced > 0) present(produced);
}

int WebShell::runTimedemoSlice() {
    const double start = emscripten_get_now();
    int produced = 0;
    do {
        session_->produceFrame();
        ++produced;
    } while (!session_->ended() && emscripten_get_now() - start < TIMEDEMO_SLICE_MS);
    return produced;
}

void WebShell::present(int produced) {
    expandFrame(session_->shownFrame(), canvasLookup(session_->pixelLookup()), rgba_.data(), SCREEN_WIDTH);
    pagePresent(reinterpret_cast<const uint8_t*>(rgba_.data()), produced);
}

bool WebShell::keyDown(KeyId key, uint8_t modifiers, bool repeat) {
    if (key == KeyId::None) return false;
    if (finished_) {
        // After the session ended, Enter starts a new game (unrecorded).
        if (key == KeyId::Enter && !repeat) begin(webShellOptions(DemoMode::None, ""));
        return keyScrollsPage(key);
    }
    session_->keyDown(key, modifiers, repeat);
    // The browser grants full screen only while the key is being handled.
    if (session_->takeFullscreenRequest()) pageToggleFullscreen();
    return keyScrollsPage(key);
}

void WebShell::keyUp(KeyId key) {
    if (key != KeyId::None && !finished_) session_->keyUp(key);
}

void WebShell::visibilityChanged(bool hidden) {
    hidden_ = hidden;
    if (!finished_) session_->setMinimised(hidden);
}

void WebShell::focusLost() {
    if (!finished_) session_->focusLost();
}

void WebShell::layOut() {
    const ScreenRect box = fitFrame(pageAreaWidth(), pageAreaHeight(), LayoutChoice{true, true});
    pagePlaceCanvas(box);
}

int WebShell::startRecording() { return begin(webShellOptions(DemoMode::Record, DEMO_FILE)); }

bool WebShell::stopRecording() {
    if (finished_ || options_.demoMode != DemoMode::Record) return false;
    endSession();
    std::FILE* demo = std::fopen(DEMO_FILE, "rb");
    if (demo) std::fclose(demo);
    begin(webShellOptions(DemoMode::None, ""));
    return demo != nullptr;
}

}  // namespace krello
