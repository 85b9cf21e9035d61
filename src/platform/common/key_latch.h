// The game keys as the update sees them: down now, or pressed since the key was last asked.
#pragma once

#include <array>

#include "game/platform_seam.h"

namespace krello {

// A tap shorter than a frame (pressed and released between two queries) still answers "held"
// once. Each key keeps its own latch, cleared only when that key is asked.
class KeyLatch {
public:
    void press(GameKey key);
    void release(GameKey key);
    // Lets go of every key without losing taps not yet asked for; used when the window loses
    // the keyboard, since the key-up events then never arrive and keys would stick.
    void releaseAll();
    bool query(GameKey key);

private:
    std::array<bool, GAME_KEY_COUNT> down_{};
    std::array<bool, GAME_KEY_COUNT> pressedSinceQuery_{};
};

}  // namespace krello
