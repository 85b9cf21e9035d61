// The player's turn, walk and vertical motion within one update.
#include "game/player_motion.h"

#include <cmath>

#include "game/game_math.h"
#include "world/portable_trig.h"

namespace krello {

namespace {

constexpr int16_t SPEED_LIMIT = 200;
// After game over the view sinks to this height above the floor.
constexpr int32_t EYE_HEIGHT_GAME_OVER = 1000;
constexpr int16_t JUMP_SPEED = -2000;  // z grows downward, so a jump is negative

}  // namespace

int16_t decayAndClampSpeed(int16_t speed, int16_t frameDt) {
    if (speed > 0) {
        speed = add16(speed, -frameDt);
        if (speed < 0) speed = 0;
    } else if (speed < 0) {
        speed = add16(speed, frameDt);
        if (speed > 0) speed = 0;
    }
    if (speed >= SPEED_LIMIT) speed = SPEED_LIMIT;
    if (speed <= -SPEED_LIMIT) speed = -SPEED_LIMIT;
    return speed;
}

void turnPlayer(GameState& g, PlatformSeam& platform) {
    const int16_t dt = g.frameDt;
    if (platform.keyHeld(GameKey::Left)) g.turnSpeed = add16(g.turnSpeed, -2 * dt);
    if (platform.keyHeld(GameKey::Right)) g.turnSpeed = add16(g.turnSpeed, 2 * dt);
    g.turnSpeed = decayAndClampSpeed(g.turnSpeed, dt);
    // The exact integer product is scaled in double and truncated before it is added.
    const int32_t turn = truncToInt32(static_cast<double>(g.turnSpeed * dt) * 0.006);
    g.player.angle = static_cast<int16_t>(add32(g.prevPlayer.angle, turn) & 2047);
}

void walkPlayer(GameState& g, PlatformSeam& platform) {
    const int16_t dt = g.frameDt;
    if (g.gameOver == 0) {
        if (platform.keyHeld(GameKey::Up)) g.moveSpeed = add16(g.moveSpeed, 2 * dt);
        if (platform.keyHeld(GameKey::Down)) g.moveSpeed = add16(g.moveSpeed, -2 * dt);
    }
    g.moveSpeed = decayAndClampSpeed(g.moveSpeed, dt);
    const SinCos heading = sinCosOfAngle(g.player.angle);
    const double stepX = heading.cos * dt * g.moveSpeed * 0.01;
    const double stepY = heading.sin * dt * g.moveSpeed * 0.01;
    g.player.x = add32(g.prevPlayer.x, truncToInt32(stepX));
    g.player.y = add32(g.prevPlayer.y, truncToInt32(stepY));
}

void movePlayerVertically(GameState& g, PlatformSeam& platform) {
    g.fallSpeed = add16(g.fallSpeed, GRAVITY_PER_MS * g.frameDt);
    // A is asked every update; only a player left on the floor by the previous update jumps.
    if (platform.keyHeld(GameKey::A) && g.onGround == 1) g.fallSpeed = JUMP_SPEED;
    g.player.z = add32(g.prevPlayer.z, g.fallSpeed);
    g.onGround = 0;
    // A sector index outside the table has no floor or ceiling to hold the player to.
    if (!isSector(g.player.sector)) return;
    const Sector& s = g.sectors[static_cast<size_t>(g.player.sector)];
    const int32_t limit =
        sub32(s.floorZ, g.gameOver == 0 ? EYE_HEIGHT : EYE_HEIGHT_GAME_OVER);
    if (g.player.z > limit) {
        g.player.z = limit;
        g.fallSpeed = 0;
        if (g.gameOver == 0) g.onGround = 1;
    }
    // The ceiling wins over the floor: in a sector lower than the eye height the eye sits at
    // the ceiling and the player still stands.
    if (g.player.z < s.ceilingZ) {
        g.player.z = s.ceilingZ;
        g.fallSpeed = 0;
    }
}

}  // namespace krello
