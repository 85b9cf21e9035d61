// The player's firing and the flight of every shot.
#pragma once

#include "game/platform_seam.h"
#include "world/game_state.h"

namespace krello {

// Runs the fire cooldown down; once it is out, asks Space and fires the first idle player shot.
void firePlayerShot(GameState& g, PlatformSeam& platform);

// Moves every shot in flight, passes it through portals or kills it on walls, and expires it by
// time or height.
void moveShots(GameState& g);

}  // namespace krello
