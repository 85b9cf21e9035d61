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

    // Why the display could not open: the reason in one line, and whether a message box could
    // still be shown (not when there is no display at all).
    struct Failure {
        std::string reason;    // empty: the display is open
        bool noDisplay = false;
    };

    // Starts the video, creates the window and the renderer. With no display to show the game
    // on (no DISPLAY or WAYLAND_DISPLAY, or SDL falling back to its offscreen or dummy driver
    // without SDL_VIDEODRIVER asking for one), fails at once saying so. A window larger than
    // the desktop is made smaller, with a note on stdout.
    Failure open(const ShellOptions& options);

    // The first half of that check, before anything is started: empty, or why there is no display.
    static std::string missingDisplay();

    // Shows a 320x200 frame of palette indices through the palette's pixels, letterboxed.
    void present(const uint8_t* frame, const PixelLookup& lookup);

    // Desktop full screen and back. Made at the desktop's size first, the window covers the
    // screen even where no window manager carries out the switch.
    void toggleFullscreen();
    bool minimised() const;
    // After the renderer lost its device, the texture must be made again.
    void recreateTexture();
    SDL_Window* window() const { return window_; }

private:
    std::string windowSize(const ShellOptions& options, int& width, int& height);

    bool videoStarted_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    LayoutChoice layout_{};
    int windowedWidth_ = 0;  // the window's size out of full screen
    int windowedHeight_ = 0;
};

}  // namespace krello
