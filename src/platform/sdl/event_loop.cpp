// The window's events: quitting, the game keys, minimising, full screen and screenshots.
#include "platform/sdl/event_loop.h"

#include <cstdio>

namespace krello {

bool EventLoop::pollEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        if (!handle(event)) return false;
    }
    return true;
}

bool EventLoop::handle(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT: return false;
        case SDL_KEYDOWN: return keyDown(event.key);
        case SDL_KEYUP: seam_.handleKey(event.key); return true;
        case SDL_WINDOWEVENT: windowEvent(event.window); return true;
        case SDL_RENDER_DEVICE_RESET: display_.recreateTexture(); return true;
        default: return true;
    }
}

bool EventLoop::keyDown(const SDL_KeyboardEvent& key) {
    if (key.keysym.sym == SDLK_ESCAPE) return false;
    if (seam_.handleKey(key) || key.repeat != 0) return true;
    if (key.keysym.sym == SDLK_RETURN && (key.keysym.mod & KMOD_ALT) != 0) display_.toggleFullscreen();
    if (key.keysym.sym == SDLK_F12) shootScreen();
    return true;
}

void EventLoop::windowEvent(const SDL_WindowEvent& window) {
    // The key-up of a key held while the keyboard goes elsewhere never comes.
    if (window.event == SDL_WINDOWEVENT_FOCUS_LOST) seam_.releaseAllKeys();
    // Frames and updates stop while minimised and resume on restore.
    active_ = !display_.minimised();
}

void EventLoop::shootScreen() {
    const ScreenshotTaker::Result r = shots_.take(shown_, seam_.palette());
    if (r.ok) {
        std::printf("krello: wrote %s\n", r.path.c_str());
        std::fflush(stdout);
    } else {
        std::fprintf(stderr, "krello: no screenshot: %s\n", r.reason.c_str());
    }
}

}  // namespace krello
