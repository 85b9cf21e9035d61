// The per-frame game update: its fourteen steps in the order the game runs them.
#include "game/update_game.h"

#include "game/collision.h"
#include "game/enemies.h"
#include "game/frame_clock.h"
#include "game/hits.h"
#include "game/player_motion.h"
#include "game/shots.h"
#include "game/texture_animation.h"

namespace krello {

void updateGame(GameState& g, PlatformSeam& platform) {
    advanceFrameClock(g, platform);            // 1: frameDt
    g.prevPlayer = g.player;                   // 2: where the player starts this update
    turnPlayer(g, platform);                   // 3: Left, Right
    walkPlayer(g, platform);                   // 4, 5: Up, Down, new x and y
    collidePlayer(g, g.prevPlayer.sector);     // 6: walls and portals
    movePlayerVertically(g, platform);         // 7: gravity, A, floor and ceiling
    animateTextures(g);                        // 8: enemy flip, shot rotation
    firePlayerShot(g, platform);               // 9: Space
    moveShots(g);                              // 10: shots in flight
    moveEnemies(g);                            // 11: enemies move, fire, vanish far away
    respawnEnemies(g);                         // 12: back at the spawn points
    hitPlayer(g, platform);                    // 13: enemy shots: game over
    hitEnemies(g);                             // 14: player shots: score
}

}  // namespace krello
