// Pooled objects: the first idle record of a kind, and taking a record out of play.
#pragma once

#include "game/game_math.h"
#include "world/game_state.h"

namespace krello {

// The first record (in the table's current order) of the kind bit that is not in play, or
// nullptr when the pool is exhausted.
inline GameObject* firstIdle(GameState& g, int16_t kindBit) {
    for (GameObject& o : g.objects) {
        if ((o.flags & kindBit) && !(o.flags & OBJ_ACTIVE)) return &o;
    }
    return nullptr;
}

// Clears OBJ_ACTIVE and counts the record out of its sector, whether or not it was in play:
// the counts are approximate by design.
inline void takeOutOfPlay(GameState& g, GameObject& o) {
    o.flags = static_cast<int16_t>(o.flags & ~OBJ_ACTIVE);
    changeObjectCount(g, o.sector, -1);
}

}  // namespace krello
