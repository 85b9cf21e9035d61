// The window, the renderer and the streaming texture that show the frame.
#pragma once

#include <SDL.h>

#include <string>

#include "platform/common/display_layout.h"
#include "platform/common/palette_expand.h"
#include "platform/common/shell_options.h"

namespace krello {

// Owns the SDL video subsystem for its lifetime; everything is released in reverse order of
// creation, whether set-up finished or failed half-way.
class SdlDisplay {
public:
    SdlDisplay() = default;
    SdlDisplay(const SdlDisplay&) = delete;
    SdlDisplay& operator=(const SdlDisplay&) = delete;
    ~SdlDisplay();

    // Starts the video, creates the window and the renderer. Returns an empty string on
    // success, else the reason, in one line.
    std::string open(const ShellOptions& options);

    // Shows a 320x200 frame of palette indices through the palette's pixels, letterboxed.
    void present(const uint8_t* frame, const PixelLookup& lookup);

    void toggleFullscreen();
    bool minimised() const;
    // After the renderer lost its device, the texture must be made again.
    void recreateTexture();
    SDL_Window* window() const { return window_; }

private:
    bool videoStarted_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    LayoutChoice layout_{};
    int windowedWidth_ = 0;  // the window's size out of full screen
    int windowedHeight_ = 0;
};

}  // namespace krello
