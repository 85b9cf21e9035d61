// The player's firing and the flight of every shot.
#include "game/shots.h"

#include "game/collision.h"
#include "game/game_math.h"
#include "game/object_motion.h"
#include "game/object_pool.h"

namespace krello {

namespace {

// A shot is gone once its life is over or the point an eye height above it leaves its sector's
// height range. A shot in no real sector has no height range and is gone too.
bool shotExpired(const GameState& g, const GameObject& o) {
    if (o.timer <= 0) return true;
    if (!isSector(o.sector)) return true;
    const Sector& s = g.sectors[static_cast<size_t>(o.sector)];
    const int32_t testZ = sub32(o.z, EYE_HEIGHT);
    return testZ > s.floorZ || testZ < s.ceilingZ;
}

}  // namespace

void launchShot(GameState& g, GameObject& shot, int32_t x, int32_t y, int32_t z, int16_t angle,
                int16_t kindBit, int16_t sector) {
    shot.x = x;
    shot.y = y;
    shot.z = z;
    shot.angle = angle;
    setHeadingVelocity(shot, angle, SHOT_SPEED);
    shot.vz = 0;
    shot.flags = static_cast<int16_t>(kindBit | OBJ_ACTIVE);
    shot.sector = sector;
    shot.timer = SHOT_LIFE_MS;
    changeObjectCount(g, sector, +1);
}

void firePlayerShot(GameState& g, PlatformSeam& platform) {
    g.fireCooldown = add16(g.fireCooldown, -g.frameDt);
    if (g.fireCooldown > 0) return;
    g.fireCooldown = 0;
    // Space is asked before game over is looked at, and only once the wait has run out, so a
    // press held through the wait fires as soon as it ends.
    if (!platform.keyHeld(GameKey::Space)) return;
    if (g.gameOver != 0) return;
    g.fireCooldown = FIRE_INTERVAL_MS;  // a press with no free shot still restarts the wait
    GameObject* shot = firstIdle(g, OBJ_PLAYER_SHOT);
    if (!shot) return;
    const PlayerState& p = g.player;
    launchShot(g, *shot, p.x, p.y, add32(p.z, EYE_HEIGHT), p.angle, OBJ_PLAYER_SHOT, p.sector);
}

void moveShots(GameState& g) {
    for (int i = 0; i < OBJECT_COUNT; ++i) {
        GameObject& o = g.objects[static_cast<size_t>(i)];
        if (!(o.flags & OBJ_ACTIVE) || !(o.flags & (OBJ_PLAYER_SHOT | OBJ_ENEMY_SHOT))) continue;
        const int32_t prevX = o.x;
        const int32_t prevY = o.y;
        moveByVelocity(o, g.frameDt, SHOT_SHIFT);
        collideObject(g, o.sector, prevX, prevY, static_cast<int16_t>(i));
        o.timer = add16(o.timer, -g.frameDt);
        // Tested even when a wall has just killed the shot, so such a shot may be counted
        // out of its sector twice: the counts are approximate, and stored games rely on them.
        if (shotExpired(g, o)) takeOutOfPlay(g, o);
    }
}

}  // namespace krello
