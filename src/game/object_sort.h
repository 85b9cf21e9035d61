// The far-to-near object sort, run once a frame after the update.
#pragma once

#include "world/game_state.h"

namespace krello {

// Exchange-sorts the whole object table, active or not, from the farthest to the nearest by
// planar distance to the player, moving whole records. Ties keep the order the exchanges give.
// The renderer draws billboards in table order, so nearer ones cover farther ones; and the
// next update scans the objects in this order, so the exact exchanges are part of the game.
void sortObjects(GameState& g);

}  // namespace krello
