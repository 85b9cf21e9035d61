// The window's events: quitting, the game keys, minimising, full screen and screenshots.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

#include "platform/common/screenshot.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_seam.h"
#include "world/game_state.h"

namespace krello {

class EventLoop {
public:
    // shown is the frame as last presented, text included: what F12 saves.
    EventLoop(GameState& game, const uint8_t* shown, SdlSeam& seam, SdlDisplay& display, const std::string& shotDir)
        : game_(game), shown_(shown), seam_(seam), display_(display), shots_(shotDir) {}

    // Takes every waiting event without waiting for more; false once the session should end
    // (Escape or the window closed).
    bool pollEvents();

private:
    bool handle(const SDL_Event& event);
    bool keyDown(const SDL_KeyboardEvent& key);
    void windowEvent(const SDL_WindowEvent& window);
    void shootScreen();

    GameState& game_;
    const uint8_t* shown_;
    SdlSeam& seam_;
    SdlDisplay& display_;
    ScreenshotTaker shots_;
};

}  // namespace krello
