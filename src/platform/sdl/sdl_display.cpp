// The window, the renderer and the streaming texture that show the frame.
#include "platform/sdl/sdl_display.h"

#include "platform/common/window_title.h"
#include "world/screen.h"

namespace krello {
namespace {

std::string sdlReason(const char* what) { return std::string(what) + ": " + SDL_GetError(); }

}  // namespace

SdlDisplay::~SdlDisplay() {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

std::string SdlDisplay::open(const ShellOptions& options) {
    layout_ = LayoutChoice{options.fourByThree, options.integerScale};
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return sdlReason("cannot start the video");
    videoStarted_ = true;
    Uint32 flags = SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE;
    if (!options.windowed) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    windowedWidth_ = SCREEN_WIDTH * options.scale;
    windowedHeight_ = shownFrameHeight(layout_) * options.scale;
    int width = windowedWidth_;
    int height = windowedHeight_;
    SDL_DisplayMode desktop;
    if (!options.windowed && SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
        // Made at the desktop's size, the window covers the screen even where no window
        // manager carries out the switch to full screen.
        width = desktop.w;
        height = desktop.h;
    }
    window_ = SDL_CreateWindow(WINDOW_TITLE, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
    if (window_ == nullptr) return sdlReason("cannot create the window");
    renderer_ = SDL_CreateRenderer(window_, -1, options.vsync ? SDL_RENDERER_PRESENTVSYNC : 0);
    if (renderer_ == nullptr) return sdlReason("cannot create a renderer");
    recreateTexture();
    if (texture_ == nullptr) return sdlReason("cannot create the frame texture");
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
    SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    if (full) {
        // A window that started full screen was made at the desktop's size; leave it at the
        // size asked for instead.
        SDL_SetWindowSize(window_, windowedWidth_, windowedHeight_);
        SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
}

bool SdlDisplay::minimised() const {
    return window_ != nullptr && (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) != 0;
}

}  // namespace krello
