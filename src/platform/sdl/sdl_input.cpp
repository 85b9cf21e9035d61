// Keyboard and gamepad events of SDL, translated into the names every shell shares.
#include "platform/sdl/sdl_input.h"

namespace krello {
namespace {

struct KeyPair {
    SDL_Keycode sym;
    KeyId key;
};

constexpr KeyPair NAMED_KEYS[] = {
    {SDLK_LEFT, KeyId::Left},         {SDLK_RIGHT, KeyId::Right},         {SDLK_UP, KeyId::Up},
    {SDLK_DOWN, KeyId::Down},         {SDLK_SPACE, KeyId::Space},         {SDLK_RETURN, KeyId::Enter},
    {SDLK_ESCAPE, KeyId::Escape},     {SDLK_TAB, KeyId::Tab},             {SDLK_BACKSPACE, KeyId::Backspace},
    {SDLK_INSERT, KeyId::Insert},     {SDLK_DELETE, KeyId::Delete},       {SDLK_HOME, KeyId::Home},
    {SDLK_END, KeyId::End},           {SDLK_PAGEUP, KeyId::PageUp},       {SDLK_PAGEDOWN, KeyId::PageDown},
    {SDLK_PAUSE, KeyId::Pause},       {SDLK_LSHIFT, KeyId::LeftShift},    {SDLK_RSHIFT, KeyId::RightShift},
    {SDLK_LCTRL, KeyId::LeftCtrl},    {SDLK_RCTRL, KeyId::RightCtrl},     {SDLK_LALT, KeyId::LeftAlt},
    {SDLK_RALT, KeyId::RightAlt},     {SDLK_KP_ENTER, KeyId::KeypadEnter}, {SDLK_KP_PLUS, KeyId::KeypadPlus},
    {SDLK_KP_MINUS, KeyId::KeypadMinus}, {SDLK_KP_MULTIPLY, KeyId::KeypadMultiply},
    {SDLK_KP_DIVIDE, KeyId::KeypadDivide}, {SDLK_KP_PERIOD, KeyId::KeypadPeriod},
    {SDLK_MINUS, KeyId::Minus},       {SDLK_EQUALS, KeyId::Equals},       {SDLK_COMMA, KeyId::Comma},
    {SDLK_PERIOD, KeyId::Period},     {SDLK_SLASH, KeyId::Slash},         {SDLK_SEMICOLON, KeyId::Semicolon},
    {SDLK_QUOTE, KeyId::Apostrophe},  {SDLK_LEFTBRACKET, KeyId::LeftBracket},
    {SDLK_RIGHTBRACKET, KeyId::RightBracket}, {SDLK_BACKSLASH, KeyId::Backslash},
    {SDLK_BACKQUOTE, KeyId::Backquote},
};

constexpr SDL_Keycode KEYPAD_DIGITS[] = {SDLK_KP_0, SDLK_KP_1, SDLK_KP_2, SDLK_KP_3, SDLK_KP_4,
                                         SDLK_KP_5, SDLK_KP_6, SDLK_KP_7, SDLK_KP_8, SDLK_KP_9};

KeyId offset(KeyId first, int by) { return static_cast<KeyId>(static_cast<int>(first) + by); }

// SDL's controller buttons and axes in the common layout, in SDL's order.
constexpr PadButton PAD_BUTTONS[] = {
    PadButton::A, PadButton::B, PadButton::X, PadButton::Y, PadButton::Back, PadButton::Guide, PadButton::Start,
    PadButton::LeftStick, PadButton::RightStick, PadButton::LeftShoulder, PadButton::RightShoulder,
    PadButton::DpadUp, PadButton::DpadDown, PadButton::DpadLeft, PadButton::DpadRight};
constexpr PadAxis PAD_AXES[] = {PadAxis::LeftX, PadAxis::LeftY, PadAxis::RightX, PadAxis::RightY,
                                PadAxis::LeftTrigger, PadAxis::RightTrigger};

PadButton padButtonOf(Uint8 button) {
    return button < std::size(PAD_BUTTONS) ? PAD_BUTTONS[button] : PadButton::None;
}

}  // namespace

KeyId keyIdOf(SDL_Keycode sym) {
    if (sym >= SDLK_a && sym <= SDLK_z) return offset(KeyId::A, sym - SDLK_a);
    if (sym >= SDLK_0 && sym <= SDLK_9) return offset(KeyId::Num0, sym - SDLK_0);
    if (sym >= SDLK_F1 && sym <= SDLK_F12) return offset(KeyId::F1, sym - SDLK_F1);
    for (int i = 0; i < 10; ++i)
        if (sym == KEYPAD_DIGITS[i]) return offset(KeyId::Keypad0, i);
    for (const KeyPair& p : NAMED_KEYS)
        if (p.sym == sym) return p.key;
    return KeyId::None;
}

uint8_t modifiersOf(Uint16 mod) {
    uint8_t m = 0;
    if (mod & KMOD_SHIFT) m |= MOD_SHIFT;
    if (mod & KMOD_CTRL) m |= MOD_CTRL;
    if (mod & KMOD_ALT) m |= MOD_ALT;
    return m;
}

SdlInput::~SdlInput() {
    for (SDL_GameController* pad : pads_)
        if (pad != nullptr) SDL_GameControllerClose(pad);
}

bool SdlInput::handle(const SDL_Event& event, GameSession& session) {
    switch (event.type) {
        case SDL_KEYDOWN:
            session.keyDown(keyIdOf(event.key.keysym.sym), modifiersOf(event.key.keysym.mod), event.key.repeat != 0);
            return true;
        case SDL_KEYUP: session.keyUp(keyIdOf(event.key.keysym.sym)); return true;
        case SDL_CONTROLLERBUTTONDOWN:
            session.padButtonDown(event.cbutton.which, padButtonOf(event.cbutton.button));
            return true;
        case SDL_CONTROLLERBUTTONUP:
            session.padButtonUp(event.cbutton.which, padButtonOf(event.cbutton.button));
            return true;
        case SDL_CONTROLLERAXISMOTION:
            if (event.caxis.axis < std::size(PAD_AXES))
                session.padAxis(event.caxis.which, PAD_AXES[event.caxis.axis], event.caxis.value);
            return true;
        case SDL_CONTROLLERDEVICEADDED: deviceAdded(event.cdevice.which, session); return true;
        case SDL_CONTROLLERDEVICEREMOVED: deviceRemoved(event.cdevice.which, session); return true;
        default: return false;
    }
}

void SdlInput::deviceAdded(int deviceIndex, GameSession& session) {
    for (SDL_GameController*& slot : pads_) {
        if (slot != nullptr) continue;
        slot = SDL_GameControllerOpen(deviceIndex);
        if (slot != nullptr) {
            const char* name = SDL_GameControllerName(slot);
            session.padAdded(name != nullptr ? name : "a gamepad");
        }
        return;
    }
}

// The pad's events carry its instance number, which the session keys its state by.
void SdlInput::deviceRemoved(SDL_JoystickID id, GameSession& session) {
    for (SDL_GameController*& slot : pads_) {
        if (slot == nullptr || SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(slot)) != id) continue;
        SDL_GameControllerClose(slot);
        slot = nullptr;
    }
    session.padRemoved(id);
}

}  // namespace krello
