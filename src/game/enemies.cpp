// Enemies: wandering, bouncing, firing at the player, vanishing when far away, and respawning.
#include "game/enemies.h"

#include <cmath>

#include "game/collision.h"
#include "game/game_math.h"
#include "game/object_motion.h"
#include "game/object_pool.h"
#include "game/shots.h"
#include "world/distance.h"
#include "world/portable_trig.h"
#include "world/random.h"

namespace krello {

namespace {

constexpr int32_t DESPAWN_DISTANCE = 4000;

// Heading from the enemy to the player in angle units, -1024..1024, not reduced.
int16_t aimAtPlayer(const PlayerState& p, const GameObject& enemy) {
    const double dy = static_cast<double>(p.y) - static_cast<double>(enemy.y);
    const double dx = static_cast<double>(p.x) - static_cast<double>(enemy.x);
    const double h = portableAtan2(dy, dx);
    return wrap16(truncToInt32(h * ANGLE_UNITS_PER_RADIAN));
}

void fireEnemyShot(GameState& g, const GameObject& enemy) {
    GameObject* shot = firstIdle(g, OBJ_ENEMY_SHOT);
    if (!shot) return;
    launchShot(g, *shot, enemy.x, enemy.y, enemy.z, aimAtPlayer(g.player, enemy), OBJ_ENEMY_SHOT,
               enemy.sector);
}

}  // namespace

void moveEnemies(GameState& g) {
    for (int i = 0; i < OBJECT_COUNT; ++i) {
        GameObject& e = g.objects[static_cast<size_t>(i)];
        if (!(e.flags & OBJ_ACTIVE) || !(e.flags & OBJ_ENEMY)) continue;
        const int32_t prevX = e.x;
        const int32_t prevY = e.y;
        moveByVelocity(e, g.frameDt, ENEMY_SHIFT);
        collideObject(g, e.sector, prevX, prevY, static_cast<int16_t>(i));
        e.cooldown = add16(e.cooldown, -g.frameDt);
        if (e.cooldown <= 0) {
            // The nearer the player, the sooner the next shot; set even with no shot free.
            e.cooldown = wrap16(playerDistance2D(g.player, e));
            fireEnemyShot(g, e);
        }
        // After firing, so an enemy due to fire fires before it goes; the respawn brings it back.
        if (playerDistance2D(g.player, e) > DESPAWN_DISTANCE) takeOutOfPlay(g, e);
    }
}

void wakeEnemy(GameObject& e) {
    e.flags = OBJ_ENEMY | OBJ_ACTIVE;
    e.vx = WAKING_SPEED;
    e.vy = 0;
    e.angle = 0;
}

void respawnEnemies(GameState& g) {
    for (GameObject& e : g.objects) {
        if (!(e.flags & OBJ_ENEMY) || (e.flags & OBJ_ACTIVE)) continue;
        e.cooldown = RESPAWN_COOLDOWN_MS;
        wakeEnemy(e);
        const SpawnPoint& p = g.spawnPoints[static_cast<size_t>(drawRandom(g) % SPAWN_COUNT)];
        e.x = add32(p.x, (drawRandom(g) & SPAWN_SPREAD_MASK) + SPAWN_SPREAD_LOW);
        e.y = add32(p.y, (drawRandom(g) & SPAWN_SPREAD_MASK) + SPAWN_SPREAD_LOW);
        e.z = p.z;
        e.sector = p.sector;
        changeObjectCount(g, p.sector, +1);
    }
}

}  // namespace krello
