// The window's events: quitting, the game keys, minimising, full screen and screenshots.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

#include "platform/common/screenshot.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_seam.h"

namespace krello {

class EventLoop {
public:
    // shown is the frame as last presented, text included: what F12 saves.
    EventLoop(const uint8_t* shown, SdlSeam& seam, SdlDisplay& display, const std::string& shotDir)
        : shown_(shown), seam_(seam), display_(display), shots_(shotDir), active_(!display.minimised()) {}

    // Takes every waiting event without waiting for more; false once the session should end
    // (Escape or the window closed).
    bool pollEvents();

    // Whether frames run: not while the window is minimised.
    bool active() const { return active_; }

private:
    bool handle(const SDL_Event& event);
    bool keyDown(const SDL_KeyboardEvent& key);
    void windowEvent(const SDL_WindowEvent& window);
    void shootScreen();

    const uint8_t* shown_;
    SdlSeam& seam_;
    SdlDisplay& display_;
    ScreenshotTaker shots_;
    bool active_;  // frames and updates run only while the window is not minimised
};

}  // namespace krello
