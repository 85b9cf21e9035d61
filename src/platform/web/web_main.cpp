// krello in a browser page: the page's events to the shell, the shell's turn on every
// animation frame, and the functions the page's buttons and tests call.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "platform/common/input_mapper.h"
#include "platform/common/setting_table.h"
#include "platform/common/settings.h"
#include "platform/web/dom_keys.h"
#include "platform/web/dom_pads.h"
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

// The shell's turns on the browser's animation frames: 0 fps, so the session's pacing decides
// which ones draw.
void runOnDisplayFrames() { emscripten_set_main_loop_arg(onAnimationFrame, pageShell, 0, EM_FALSE); }

// The settings in the settings file's words (the page keeps them in local storage) over the
// defaults; bad lines are warned about, the default kept.
krello::Settings readPageSettings(const char* text, std::string& warnings) {
    krello::Settings settings;
    for (const std::string& w : krello::applySettingsText("krello.ini", text ? text : "", settings))
        warnings += w + "\n";
    return settings;
}

// The file the page writes its stored settings to before the game starts.
std::string pageSettingsText() {
    std::ifstream in("/krello.ini", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

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
EMSCRIPTEN_KEEPALIVE int krello_play_demo(const char* file) { return pageShell ? pageShell->playDemo(file) : 1; }
EMSCRIPTEN_KEEPALIVE int krello_play_level(const char* file) { return pageShell ? pageShell->playLevel(file) : 1; }
EMSCRIPTEN_KEEPALIVE int krello_play_again() { return pageShell ? pageShell->playAgain() : 1; }
EMSCRIPTEN_KEEPALIVE void krello_panel(int open) {
    if (pageShell) pageShell->panelOpen(open != 0);
}
// The page's settings, in the settings file's words: applied at once. Returns the warnings, a line each.
EMSCRIPTEN_KEEPALIVE const char* krello_apply_settings(const char* text) {
    static std::string warnings;
    warnings.clear();
    const krello::Settings settings = readPageSettings(text, warnings);
    if (pageShell) pageShell->applySettings(settings);
    return warnings.c_str();
}
// A key as the settings file names it ("Alt+Enter", "Keypad4"); empty for a key we do not name.
EMSCRIPTEN_KEEPALIVE const char* krello_key_name(const char* key, const char* code, int modifiers) {
    static std::string name;
    krello::KeyList keys{};
    keys[0] = krello::KeyBinding{krello::keyFromDom(key, code), static_cast<uint8_t>(modifiers)};
    name = keys[0].key == krello::KeyId::None ? "" : krello::formatKeyList(keys);
    return name.c_str();
}
// A button of the standard layout by the settings file's name ("DpadUp"); empty for one we do not name.
EMSCRIPTEN_KEEPALIVE const char* krello_pad_button_name(int index) {
    const krello::DomPadControl c = krello::padControlOfButton(index);
    if (c.trigger) return c.axis == krello::PadAxis::LeftTrigger ? "LeftTrigger" : "RightTrigger";
    return c.button == krello::PadButton::None ? "" : krello::padButtonName(c.button).data();
}
EMSCRIPTEN_KEEPALIVE void krello_pad_button(int pad, int index, int pressed, double value) {
    if (!pageShell) return;
    const krello::DomPadControl c = krello::padControlOfButton(index);
    if (c.trigger) pageShell->padAxis(pad, c.axis, krello::padAxisValue(value));
    else if (c.button != krello::PadButton::None) pageShell->padButton(pad, c.button, pressed != 0);
}
EMSCRIPTEN_KEEPALIVE void krello_pad_axis(int pad, int index, double value) {
    const krello::PadAxis axis = krello::padAxisOfAxis(index);
    if (pageShell && axis != krello::PadAxis::Count) pageShell->padAxis(pad, axis, krello::padAxisValue(value));
}
EMSCRIPTEN_KEEPALIVE void krello_pad_added(int pad, const char* name) {
    if (pageShell) pageShell->padAdded(pad, name);
}
EMSCRIPTEN_KEEPALIVE void krello_pad_removed(int pad) {
    if (pageShell) pageShell->padRemoved(pad);
}
// For tests, as headless browsers have no pads: one control of the standard layout (a button's
// index, or an axis's when `axis` is set) at `value` through the page's mapping and the bindings
// of `settingsText`. Returns the game keys held and the actions asked for, by their names.
EMSCRIPTEN_KEEPALIVE const char* krello_test_pad(const char* settingsText, int index, int axis, double value) {
    static std::string held;
    std::string warnings;
    const krello::ShellOptions options =
        krello::webShellOptions(readPageSettings(settingsText, warnings), krello::DemoMode::None, "");
    krello::InputMapper mapper(options.bindings);
    krello::ActionSet actions = 0;
    if (axis != 0) {
        const krello::PadAxis a = krello::padAxisOfAxis(index);
        if (a != krello::PadAxis::Count) actions = mapper.padAxis(0, a, krello::padAxisValue(value));
    } else if (const krello::DomPadControl c = krello::padControlOfButton(index); c.trigger) {
        actions = mapper.padAxis(0, c.axis, krello::padAxisValue(value));
    } else if (c.button != krello::PadButton::None && value >= 0.5) {
        actions = mapper.padButtonDown(0, c.button);
    }
    held.clear();
    for (int a = 0; a < krello::ACTION_COUNT; ++a) {
        const auto action = static_cast<krello::Action>(a);
        const bool on = a < krello::GAME_ACTION_COUNT ? mapper.query(static_cast<krello::GameKey>(a))
                                                      : (actions & krello::actionBit(action)) != 0;
        if (on) held += (held.empty() ? "" : " ") + std::string(krello::actionName(action));
    }
    return held.c_str();
}
// A timedemo's turn: the page calls it again and again (krelloPage.runTurns), letting the browser
// handle events and paint between two. Returns 0 once the timedemo has ended (or a dropped file
// put another session in its place): from then on the display's frames drive the page. Returns 2
// after the warm-up's last turn (the timed frames begin with the next), 1 otherwise.
EMSCRIPTEN_KEEPALIVE int krello_timedemo_turn() {
    const bool warming = pageShell->warmingUp();
    pageShell->tick();
    if (pageShell->runningTimedemo()) return warming && !pageShell->warmingUp() ? 2 : 1;
    runOnDisplayFrames();
    return 0;
}
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
    pageShell = &shell;
    krello::hearPage(shell);
    // The page's settings, put in the page's files from local storage before the game started.
    std::string warnings;
    const krello::Settings settings = readPageSettings(pageSettingsText().c_str(), warnings);
    if (!warnings.empty()) krello::pageSay(warnings.substr(0, warnings.find('\n')), true);
    shell.applySettings(settings);
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, &shell, EM_FALSE, onKeyDown);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, &shell, EM_FALSE, onKeyUp);
    emscripten_set_visibilitychange_callback(&shell, EM_FALSE, onVisibility);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, &shell, EM_FALSE, onBlur);
    // A game that cannot start (a bad demo in a link) leaves the page to say why; the restart
    // keys, a dropped file or a reload start another.
    const int status = shell.begin(krello::webShellOptions(settings, mode, demoFile));
    if (status != 0) krello::pageStartFailed();
    // A timedemo is not held to the display: its turns follow one another as soon as the page
    // has handled its events (and painted, when a paint is due).
    if (status == 0 && mode == krello::DemoMode::Timedemo) krello::pageRunTurns();
    else runOnDisplayFrames();
    return 0;
}
