// Level start-up: object counts, kinds into flags and sprites, spawn table, textures, clock.
#include "game/start_level.h"

namespace krello {

// To be written with the game update.
void startLevel(GameState& g, PlatformSeam& platform) {
    g.prevPlayer.x = g.player.x;
    g.prevPlayer.y = g.player.y;
    g.lastTime = platform.readClock();
}

}  // namespace krello
