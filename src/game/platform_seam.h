// What the simulation asks of its host: the clock, the keys and the palette tint.
#pragma once

#include <cstdint>

namespace krello {

// The keys the update queries, in the order it may query them.
enum class GameKey : int { Left = 0, Right, Up, Down, A, Space };
constexpr int GAME_KEY_COUNT = 6;

// A key's bit in a set of keys (bit k for GameKey k), as scripts and demos store them.
constexpr uint8_t keyBit(GameKey k) { return static_cast<uint8_t>(1u << static_cast<int>(k)); }

// The simulation never calls the operating system itself. The SDL shell, the headless tools
// and the tests each implement this, so a game runs the same on a screen, in a replay and in
// a test.
class PlatformSeam {
public:
    // The millisecond clock, a 32-bit count that wraps. Read by start-up once (after the
    // textures are built) and by every update at its first step.
    virtual uint32_t readClock() = 0;

    // Whether a key counts as held. The update asks at most once per key per update, in the
    // order Left, Right, Up, Down (these two only before game over), A, Space, and only where
    // its steps reach the question. A key pressed and released since the last query of that
    // key must still answer true once, so a tap shorter than a frame is not lost.
    virtual bool keyHeld(GameKey key) = 0;

    // Rebuild the palette with every colour ramp starting at (startRed, 0, 0). Called with 255
    // in every update in which an enemy shot is within reach of the player.
    virtual void tintPalette(int startRed) = 0;

protected:
    ~PlatformSeam() = default;
};

}  // namespace krello
