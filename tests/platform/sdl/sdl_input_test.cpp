// The SDL shell's input: synthetic keyboard and game-controller events reach the game through the
// seam as the six game keys; an unplugged controller lets go of what it held.
#include "platform/sdl/sdl_input.h"

#include <gtest/gtest.h>

namespace krello {
namespace {

struct StillClock final : PacerClock {
    uint64_t nowMicros() override { return 1000000; }
    void sleepMicros(uint64_t) override {}
};

struct NoShots final : ScreenshotSink {
    Result take(const uint8_t*, const Palette&) override { return {}; }
};

struct NoDrawing final : FrameDrawer {
    void draw(const GameState&, uint8_t*) override {}
};

SDL_Event button(Uint32 type, SDL_JoystickID pad, SDL_GameControllerButton b) {
    SDL_Event e{};
    e.type = type;
    e.cbutton.which = pad;
    e.cbutton.button = static_cast<Uint8>(b);
    return e;
}

SDL_Event axis(SDL_JoystickID pad, SDL_GameControllerAxis a, Sint16 value) {
    SDL_Event e{};
    e.type = SDL_CONTROLLERAXISMOTION;
    e.caxis.which = pad;
    e.caxis.axis = static_cast<Uint8>(a);
    e.caxis.value = value;
    return e;
}

SDL_Event key(Uint32 type, SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    return e;
}

class SdlInputTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(session.start(), 0); }
    // Whether the game, asking now, is told the key is held; asked twice so a tap seen before
    // does not answer for the key's state.
    bool held(GameKey k) {
        session.livePlatform().keyHeld(k);
        return session.livePlatform().keyHeld(k);
    }

    StillClock clock;
    NoShots shots;
    NoDrawing drawer;
    GameSession session{ShellOptions{}, clock, shots, drawer};
    SdlInput input;
};

TEST_F(SdlInputTest, ControllerButtonsAndTheStickReachTheGameKeys) {
    const struct {
        SDL_Event down;
        SDL_Event up;
        GameKey key;
    } cases[] = {
        {button(SDL_CONTROLLERBUTTONDOWN, 4, SDL_CONTROLLER_BUTTON_DPAD_UP),
         button(SDL_CONTROLLERBUTTONUP, 4, SDL_CONTROLLER_BUTTON_DPAD_UP), GameKey::Up},
        {button(SDL_CONTROLLERBUTTONDOWN, 4, SDL_CONTROLLER_BUTTON_DPAD_LEFT),
         button(SDL_CONTROLLERBUTTONUP, 4, SDL_CONTROLLER_BUTTON_DPAD_LEFT), GameKey::Left},
        {button(SDL_CONTROLLERBUTTONDOWN, 4, SDL_CONTROLLER_BUTTON_A),
         button(SDL_CONTROLLERBUTTONUP, 4, SDL_CONTROLLER_BUTTON_A), GameKey::A},
        {button(SDL_CONTROLLERBUTTONDOWN, 4, SDL_CONTROLLER_BUTTON_X),
         button(SDL_CONTROLLERBUTTONUP, 4, SDL_CONTROLLER_BUTTON_X), GameKey::Space},
        {axis(4, SDL_CONTROLLER_AXIS_LEFTX, 30000), axis(4, SDL_CONTROLLER_AXIS_LEFTX, 100), GameKey::Right},
        {axis(4, SDL_CONTROLLER_AXIS_LEFTY, 30000), axis(4, SDL_CONTROLLER_AXIS_LEFTY, -100), GameKey::Down},
        {axis(4, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767), axis(4, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0), GameKey::Space},
        {key(SDL_KEYDOWN, SDLK_a), key(SDL_KEYUP, SDLK_a), GameKey::A},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(input.handle(c.down, session));
        EXPECT_TRUE(held(c.key)) << static_cast<int>(c.key);
        EXPECT_TRUE(input.handle(c.up, session));
        EXPECT_FALSE(held(c.key)) << static_cast<int>(c.key);
    }
}

TEST_F(SdlInputTest, AnUnpluggedControllerLetsGoAndOtherEventsAreNotInput) {
    input.handle(button(SDL_CONTROLLERBUTTONDOWN, 9, SDL_CONTROLLER_BUTTON_DPAD_RIGHT), session);
    input.handle(axis(9, SDL_CONTROLLER_AXIS_LEFTY, -30000), session);
    SDL_Event removed{};
    removed.type = SDL_CONTROLLERDEVICEREMOVED;
    removed.cdevice.which = 9;
    EXPECT_TRUE(input.handle(removed, session));
    EXPECT_FALSE(held(GameKey::Right));
    EXPECT_FALSE(held(GameKey::Up));
    EXPECT_EQ(session.message(), "Gamepad disconnected");
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_FALSE(input.handle(quit, session));
}

TEST_F(SdlInputTest, KeysAreNamedBySymbolWithTheirModifiers) {
    EXPECT_EQ(keyIdOf(SDLK_q), KeyId::Q);
    EXPECT_EQ(keyIdOf(SDLK_7), KeyId::Num7);
    EXPECT_EQ(keyIdOf(SDLK_F11), KeyId::F11);
    EXPECT_EQ(keyIdOf(SDLK_KP_4), KeyId::Keypad4);
    EXPECT_EQ(keyIdOf(SDLK_RETURN), KeyId::Enter);
    EXPECT_EQ(keyIdOf(SDLK_CAPSLOCK), KeyId::None);
    EXPECT_EQ(modifiersOf(KMOD_LALT | KMOD_RSHIFT), MOD_ALT | MOD_SHIFT);
    input.handle(key(SDL_KEYDOWN, SDLK_ESCAPE), session);
    EXPECT_TRUE(session.ended());
}

}  // namespace
}  // namespace krello
