// The game's window: its class, borderless full screen or a window, and the frame shown in it.
#pragma once

#include "platform/win32/windows_api.h"

#include <array>
#include <cstdint>
#include <string>

#include "platform/common/display_layout.h"
#include "platform/common/palette_expand.h"
#include "platform/common/shell_options.h"
#include "world/screen.h"

namespace krello {

// Owns the window class and the window. The window procedure is the caller's; whatever it needs
// travels in `context`, which the window keeps as its user data.
class GameWindow {
public:
    GameWindow() = default;
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;
    ~GameWindow();

    // Registers the class and shows the window with the show command WinMain was given: full
    // screen at the desktop's size (no mode change), topmost, or a window of the scale asked for,
    // made smaller when it would not fit the desktop. Returns an empty string, or why it failed.
    std::string initDisplay(HINSTANCE instance, const ShellOptions& options, WNDPROC procedure, void* context,
                            int showCommand);
    // Gives back the window's drawing context, the window and its class (also on destruction).
    void releaseDisplay();

    // Copies a 320x200 frame of palette indices through the palette's pixels into the window,
    // letterboxed, and keeps it for repainting.
    void blitFrame(const uint8_t* frame, const PixelLookup& lookup);
    // With vsync: waits for the compositor's next blank, so the frame is shown whole.
    void flipFrame();
    // Draws the kept frame again (after the window was uncovered or resized): GDI loses no
    // surfaces, so this is all a restore needs, and it runs no game update.
    void restoreSurfaces();
    // Borderless full screen and back.
    void toggleFullscreen();
    HWND handle() const { return window_; }
    // The window is gone (WM_DESTROY): nothing is left to destroy.
    void forget() { window_ = nullptr; }

private:
    using DwmFlushFunction = HRESULT(WINAPI*)();
    static DwmFlushFunction findDwmFlush();
    void draw(HDC dc);
    void becomeFullscreen();
    void becomeWindowed();

    HINSTANCE instance_ = nullptr;
    bool classRegistered_ = false;
    HWND window_ = nullptr;
    HDC dc_ = nullptr;                 // the window's own device context (CS_OWNDC)
    bool fullscreen_ = false;
    int windowedWidth_ = 0;            // the client area asked for out of full screen
    int windowedHeight_ = 0;
    LayoutChoice layout_{};
    DwmFlushFunction waitForBlank_ = nullptr;  // with vsync: the compositor's wait, where there is one
    bool hasFrame_ = false;            // a frame has been shown since the window opened
    std::array<uint32_t, FRAME_BYTES> pixels_{};  // the frame in true colour, rows top to bottom
};

}  // namespace krello
