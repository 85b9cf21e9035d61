// The game's host on SDL: the millisecond clock, the latched game keys and the palette in force.
#include "platform/sdl/sdl_seam.h"

namespace krello {
namespace {

// The game keys by the symbol on the key, so A is the A of the user's layout.
bool gameKeyFor(SDL_Keycode sym, GameKey& key) {
    switch (sym) {
        case SDLK_LEFT: key = GameKey::Left; return true;
        case SDLK_RIGHT: key = GameKey::Right; return true;
        case SDLK_UP: key = GameKey::Up; return true;
        case SDLK_DOWN: key = GameKey::Down; return true;
        case SDLK_a: key = GameKey::A; return true;
        case SDLK_SPACE: key = GameKey::Space; return true;
        default: return false;
    }
}

}  // namespace

uint32_t SdlSeam::readClock() { return SDL_GetTicks(); }

bool SdlSeam::keyHeld(GameKey key) { return keys_.query(key); }

void SdlSeam::tintPalette(int startRed) { shown_.tint(startRed); }

bool SdlSeam::handleKey(const SDL_KeyboardEvent& event) {
    GameKey key{};
    if (!gameKeyFor(event.keysym.sym, key)) return false;
    if (event.state == SDL_PRESSED) {
        if (event.repeat == 0) keys_.press(key);
    } else {
        keys_.release(key);
    }
    return true;
}

}  // namespace krello
