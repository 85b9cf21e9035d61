// Keyboard and gamepad events of SDL, translated into the names every shell shares.
#pragma once

#include <SDL.h>

#include <array>

#include "platform/common/game_session.h"
#include "platform/common/input_names.h"

namespace krello {

// The key of an SDL key symbol (by the symbol on the key, so A is the A of the player's layout),
// KeyId::None for keys the game has no name for; and the modifiers held.
KeyId keyIdOf(SDL_Keycode sym);
uint8_t modifiersOf(Uint16 mod);

// Opens gamepads as they are plugged in and closes them as they go; passes their buttons and
// axes, and the keyboard, to the session.
class SdlInput {
public:
    SdlInput() = default;
    SdlInput(const SdlInput&) = delete;
    SdlInput& operator=(const SdlInput&) = delete;
    ~SdlInput();

    // Handles keyboard and game-controller events; false for any other kind.
    bool handle(const SDL_Event& event, GameSession& session);

private:
    void deviceAdded(int deviceIndex, GameSession& session);
    void deviceRemoved(SDL_JoystickID id, GameSession& session);

    std::array<SDL_GameController*, InputMapper::MAX_PADS> pads_{};  // the controllers open now
};

}  // namespace krello
