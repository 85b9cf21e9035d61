// What the shell asks of the page around it: the canvas, full screen, downloads and messages.
#include "platform/web/web_page.h"

#include <emscripten.h>

#include "world/screen.h"

namespace krello {
namespace {

// The page's own functions live in krello_page.html (window.krelloPage), so the text and the
// look of the page stay in one file.
EM_JS(void, jsPresent, (const uint8_t* rgba, int width, int height, int produced, double dropped), {
    window.krelloPage.present(HEAPU8.subarray(rgba, rgba + width * height * 4), width, height, produced, dropped);
});
EM_JS(void, jsPlaceCanvas, (int x, int y, int w, int h), { window.krelloPage.placeCanvas(x, y, w, h); });
EM_JS(int, jsAreaWidth, (), { return window.krelloPage.areaWidth() | 0; });
EM_JS(int, jsAreaHeight, (), { return window.krelloPage.areaHeight() | 0; });
EM_JS(void, jsToggleFullscreen, (), { window.krelloPage.toggleFullscreen(); });
EM_JS(void, jsSaveCanvas, (const char* name), { window.krelloPage.saveCanvas(UTF8ToString(name)); });
EM_JS(void, jsSay, (const char* text, int problem), { window.krelloPage.say(UTF8ToString(text), problem != 0); });
EM_JS(void, jsStartFailed, (), { window.krelloPage.startFailed(); });
EM_JS(void, jsShowState, (int state, const char* pause, const char* restart, const char* quit), {
    window.krelloPage.showState(state, UTF8ToString(pause), UTF8ToString(restart), UTF8ToString(quit));
});
EM_JS(void, jsDemoRecorded, (), { window.krelloPage.demoRecorded(); });
EM_JS(void, jsReplayEnded, (uint32_t checksum), { window.krelloPage.replayEnded(checksum >>> 0); });
EM_JS(void, jsPollPads, (), { window.krelloPage.pollPads(); });
EM_JS(void, jsRunTurns, (), { window.krelloPage.runTurns(); });

}  // namespace

void pagePresent(const uint8_t* rgba, int produced, double dropped) {
    jsPresent(rgba, SCREEN_WIDTH, SCREEN_HEIGHT, produced, dropped);
}
void pagePlaceCanvas(const ScreenRect& box) { jsPlaceCanvas(box.x, box.y, box.w, box.h); }
int pageAreaWidth() { return jsAreaWidth(); }
int pageAreaHeight() { return jsAreaHeight(); }
void pageToggleFullscreen() { jsToggleFullscreen(); }
void pageSaveCanvas(const std::string& name) { jsSaveCanvas(name.c_str()); }
void pageSay(const std::string& text, bool problem) { jsSay(text.c_str(), problem ? 1 : 0); }
void pageStartFailed() { jsStartFailed(); }
void pageShowState(int state, const std::string& pauseKey, const std::string& restartKey, const std::string& quitKey) {
    jsShowState(state, pauseKey.c_str(), restartKey.c_str(), quitKey.c_str());
}
void pageDemoRecorded() { jsDemoRecorded(); }
void pageReplayEnded(uint32_t stateChecksum) { jsReplayEnded(stateChecksum); }
void pagePollPads() { jsPollPads(); }
void pageRunTurns() { jsRunTurns(); }

}  // namespace krello
