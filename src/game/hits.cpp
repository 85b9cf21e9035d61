// The two hit tests: enemy shots against the player, player shots against enemies.
#include "game/hits.h"

#include "game/game_math.h"
#include "game/object_pool.h"
#include "world/distance.h"

namespace krello {

namespace {

constexpr int GAME_OVER_RED = 255;

}  // namespace

void hitPlayer(GameState& g, PlatformSeam& platform) {
    for (const GameObject& o : g.objects) {
        if (!(o.flags & OBJ_ACTIVE) || !(o.flags & OBJ_ENEMY_SHOT)) continue;
        // The shot flies on; while it stays within reach the tint is asked for again.
        if (playerDistance3D(g.player, o) < HIT_REACH) {
            platform.tintPalette(GAME_OVER_RED);
            g.gameOver = 1;
        }
    }
}

void hitEnemies(GameState& g) {
    for (GameObject& s : g.objects) {
        if (!(s.flags & OBJ_ACTIVE) || !(s.flags & OBJ_PLAYER_SHOT)) continue;
        // A shot goes on through the enemies after a hit, and an enemy already hit by another
        // shot is still tested: every pair within reach scores.
        for (GameObject& e : g.objects) {
            if (!(e.flags & OBJ_ENEMY)) continue;
            if (objectDistance3D(s, e) >= HIT_REACH) continue;
            takeOutOfPlay(g, e);
            takeOutOfPlay(g, s);
            g.score = add32(g.score, POINTS_PER_HIT);
        }
    }
}

}  // namespace krello
