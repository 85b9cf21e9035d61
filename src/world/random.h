// The game's single random generator: a fixed, never-seeded linear congruential sequence.
#pragma once

#include <cstdint>

#include "world/game_state.h"

namespace krello {

// One draw: advances randomState and yields 0..32767. Every draw of the game comes from this
// sequence in program order, which is what makes a game replayable.
inline int drawRandom(GameState& g) {
    g.randomState = g.randomState * 214013u + 2531011u;
    return static_cast<int>((g.randomState >> 16) & 0x7FFFu);
}

}  // namespace krello
