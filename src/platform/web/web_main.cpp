// krello in a browser page: the page's events to the shell, the shell's turn on every
// animation frame, and the functions the page's buttons and tests call.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "platform/common/setting_table.h"
#include "platform/web/dom_keys.h"
#include "platform/web/script_check.h"
#include "platform/web/web_audio.h"
#include "platform/web/web_page.h"
#include "platform/web/web_shell.h"

namespace {

using krello::WebShell;

// The page holds one game. The functions the page calls by name reach it here.
WebShell* pageShell = nullptr;
krello::ScriptCheck* pageCheck = nullptr;

uint8_t modifiersOf(const EmscriptenKeyboardEvent& e) {
    return static_cast<uint8_t>((e.shiftKey ? krello::MOD_SHIFT : 0) | (e.ctrlKey ? krello::MOD_CTRL : 0) |
                                (e.altKey ? krello::MOD_ALT : 0));
}

EM_BOOL onKeyDown(int, const EmscriptenKeyboardEvent* e, void* shell) {
    const krello::KeyId key = krello::keyFromDom(e->key, e->code);
    return static_cast<WebShell*>(shell)->keyDown(key, modifiersOf(*e), e->repeat != 0) ? EM_TRUE : EM_FALSE;
}

EM_BOOL onKeyUp(int, const EmscriptenKeyboardEvent* e, void* shell) {
    const krello::KeyId key = krello::keyFromDom(e->key, e->code);
    static_cast<WebShell*>(shell)->keyUp(key);
    return krello::keyScrollsPage(key) ? EM_TRUE : EM_FALSE;
}

EM_BOOL onVisibility(int, const EmscriptenVisibilityChangeEvent* e, void* shell) {
    static_cast<WebShell*>(shell)->visibilityChanged(e->hidden != 0);
    return EM_FALSE;
}

EM_BOOL onBlur(int, const EmscriptenFocusEvent*, void* shell) {
    static_cast<WebShell*>(shell)->focusLost();
    return EM_FALSE;
}

void onAnimationFrame(void* shell) { static_cast<WebShell*>(shell)->tick(); }

// The page's arguments: none to play, "--play FILE" or "--timedemo FILE" for a demo in the
// page's files.
bool demoArguments(int argc, char** argv, krello::DemoMode& mode, std::string& file) {
    if (argc == 1) return true;
    if (argc != 3) return false;
    const std::string_view what = argv[1];
    if (what == "--play") mode = krello::DemoMode::Play;
    else if (what == "--timedemo") mode = krello::DemoMode::Timedemo;
    else return false;
    file = argv[2];
    return true;
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void krello_lay_out() {
    if (pageShell) pageShell->layOut();
}
EMSCRIPTEN_KEEPALIVE int krello_record_start() { return pageShell ? pageShell->startRecording() : 1; }
EMSCRIPTEN_KEEPALIVE int krello_record_stop() { return pageShell && pageShell->stopRecording() ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE const char* krello_test_run(const char* script, int frames, int stateEvery) {
    return pageCheck->run(script, frames, stateEvery).c_str();
}
EMSCRIPTEN_KEEPALIVE const char* krello_test_frame_crc() { return pageCheck->frameCrc().c_str(); }
// Every setting with its range, default and help, as JSON (setting_table.h), for the page's panel.
EMSCRIPTEN_KEEPALIVE const char* krello_settings() {
    static const std::string json = krello::settingsJson();
    return json.c_str();
}

}  // extern "C"

int main(int argc, char** argv) {
    static krello::ScriptCheck check;
    pageCheck = &check;
    krello::DemoMode mode = krello::DemoMode::None;
    std::string demoFile;
    if (!demoArguments(argc, argv, mode, demoFile)) {
        krello::pageSay("The page asked for an unknown mode.", true);
        return 2;
    }
    static WebShell shell;
    if (shell.begin(krello::webShellOptions(mode, demoFile)) != 0) {
        krello::pageStartFailed();
        return 1;
    }
    pageShell = &shell;
    krello::hearPage(shell);
    shell.layOut();
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, &shell, EM_FALSE, onKeyDown);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, &shell, EM_FALSE, onKeyUp);
    emscripten_set_visibilitychange_callback(&shell, EM_FALSE, onVisibility);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, &shell, EM_FALSE, onBlur);
    // 0 fps: the browser's animation frames; the session's pacing decides which ones draw.
    emscripten_set_main_loop_arg(onAnimationFrame, &shell, 0, EM_FALSE);
    // A timedemo is not held to the display: its turns follow one another as soon as the page
    // has handled its events (and painted, when a paint is due).
    if (mode == krello::DemoMode::Timedemo) emscripten_set_main_loop_timing(EM_TIMING_SETIMMEDIATE, 0);
    return 0;
}
