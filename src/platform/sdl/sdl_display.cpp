// The window, the renderer and the streaming texture that show the frame.
#include "platform/sdl/sdl_display.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/common/window_title.h"
#include "world/screen.h"

namespace krello {
namespace {

std::string sdlReason(const char* what) { return std::string(what) + ": " + SDL_GetError(); }

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

}  // namespace

// A driver SDL_VIDEODRIVER asks for is always taken at its word (the tests use the offscreen one).
std::string SdlDisplay::missingDisplay() {
    if (isSet("SDL_VIDEODRIVER")) return {};
    if (!isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY"))
        return "no display to show the game on: neither DISPLAY nor WAYLAND_DISPLAY is set";
    return {};
}

namespace {

std::string fellBack() {
    if (isSet("SDL_VIDEODRIVER")) return {};
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0)) return {};
    const char* display = std::getenv("DISPLAY");
    return std::string("no display to show the game on: SDL found none and fell back to its ") + driver +
           " driver" + (display != nullptr ? std::string(" (is an X server running at DISPLAY=") + display + "?)" : "");
}

}  // namespace

SdlDisplay::~SdlDisplay() {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

// A window of the scale asked for, made smaller when it would not fit the desktop; full screen
// at the desktop's size. Returns a note when the scale was reduced.
std::string SdlDisplay::windowSize(const ShellOptions& options, int& width, int& height) {
    SDL_Rect usable{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) usable = SDL_Rect{0, 0, 0, 0};
    const int scale = fitWindowScale(options.scale, layout_, usable.w, usable.h);
    windowedWidth_ = SCREEN_WIDTH * scale;
    windowedHeight_ = shownFrameHeight(layout_) * scale;
    width = windowedWidth_;
    height = windowedHeight_;
    SDL_DisplayMode desktop;
    if (options.fullscreen && SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
        width = desktop.w;
        height = desktop.h;
    }
    if (scale == options.scale) return {};
    char note[160];
    std::snprintf(note, sizeof note, "a window of scale %d (%dx%d) does not fit the %dx%d desktop; using scale %d (%dx%d)",
                  options.scale, SCREEN_WIDTH * options.scale, shownFrameHeight(layout_) * options.scale, usable.w,
                  usable.h, scale, windowedWidth_, windowedHeight_);
    return note;
}

SdlDisplay::Failure SdlDisplay::open(const ShellOptions& options) {
    if (std::string none = missingDisplay(); !none.empty()) return {none, true};
    layout_ = LayoutChoice{options.fourByThree, options.integerScale};
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    // With only DISPLAY set, X it is: trying Wayland too would let its library print a stray
    // "XDG_RUNTIME_DIR not set" before our own message when no X server answers.
    const bool onlyX = !isSet("SDL_VIDEODRIVER") && !isSet("WAYLAND_DISPLAY");
    if (onlyX) SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (onlyX) return {"no display to show the game on: no X server answers at DISPLAY=" + std::string(std::getenv("DISPLAY")), true};
        return {sdlReason("cannot start the video"), false};
    }
    videoStarted_ = true;
    if (std::string none = fellBack(); !none.empty()) return {none, true};
    Uint32 flags = SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE;
    if (options.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    int width = 0;
    int height = 0;
    if (std::string note = windowSize(options, width, height); !note.empty() && !options.fullscreen) {
        std::printf("krello: %s\n", note.c_str());
        std::fflush(stdout);
    }
    window_ = SDL_CreateWindow(WINDOW_TITLE, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
    if (window_ == nullptr) return {sdlReason("cannot create the window"), false};
    renderer_ = SDL_CreateRenderer(window_, -1, options.vsync ? SDL_RENDERER_PRESENTVSYNC : 0);
    if (renderer_ == nullptr) return {sdlReason("cannot create a renderer"), false};
    recreateTexture();
    if (texture_ == nullptr) return {sdlReason("cannot create the frame texture"), false};
    SDL_ShowCursor(SDL_DISABLE);
    SDL_RaiseWindow(window_);
    return {};
}

void SdlDisplay::recreateTexture() {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                 SCREEN_WIDTH, SCREEN_HEIGHT);
}

void SdlDisplay::present(const uint8_t* frame, const PixelLookup& lookup) {
    if (texture_ == nullptr) return;
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_, nullptr, &pixels, &pitch) != 0) return;  // shown again next turn
    expandFrame(frame, lookup, static_cast<uint32_t*>(pixels), pitch / static_cast<int>(sizeof(uint32_t)));
    SDL_UnlockTexture(texture_);
    int outW = 0;
    int outH = 0;
    SDL_GetRendererOutputSize(renderer_, &outW, &outH);
    const ScreenRect r = fitFrame(outW, outH, layout_);
    const SDL_Rect dest{r.x, r.y, r.w, r.h};
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, &dest);
    SDL_RenderPresent(renderer_);
}

void SdlDisplay::toggleFullscreen() {
    const bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
    if (full) {
        SDL_SetWindowFullscreen(window_, 0);
        // A window that started full screen was made at the desktop's size; leave it at the
        // size asked for instead.
        SDL_SetWindowSize(window_, windowedWidth_, windowedHeight_);
        SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        return;
    }
    // Where no window manager carries out the switch, the window would keep its size while the
    // renderer draws for the whole desktop, cropping the picture: cover the desktop first.
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(SDL_GetWindowDisplayIndex(window_), &desktop) == 0) {
        SDL_SetWindowPosition(window_, 0, 0);
        SDL_SetWindowSize(window_, desktop.w, desktop.h);
    }
    SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
}

bool SdlDisplay::minimised() const {
    return window_ != nullptr && (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) != 0;
}

}  // namespace krello
