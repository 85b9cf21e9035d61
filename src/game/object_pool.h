// Pooled objects: the first idle record of a kind, and taking a record out of play.
#pragma once

#include <cmath>

#include "game/game_math.h"
#include "world/game_state.h"
#include "world/portable_trig.h"

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

// Moves an object by its velocity: (v * frameDt) >> shift per axis, rounding toward minus
// infinity. The product fits 32 bits (|v| <= 32768, frameDt <= 200).
inline void moveByVelocity(GameObject& o, int16_t frameDt, int shift) {
    const int32_t dt = static_cast<uint16_t>(frameDt);
    o.x = add32(o.x, (o.vx * dt) >> shift);
    o.y = add32(o.y, (o.vy * dt) >> shift);
    o.z = add32(o.z, (o.vz * dt) >> shift);
}

// Both kinds of shot fly at this speed along their heading, and live this long.
constexpr int SHOT_SPEED = 40;
constexpr int16_t SHOT_LIFE_MS = 5000;

// Velocity of the given speed along a heading in angle units, each part truncated to 16 bits.
inline void setHeadingVelocity(GameObject& o, int16_t angle, int speed) {
    const SinCos h = sinCosOfAngle(angle);
    o.vx = wrap16(truncToInt32(h.cos * speed));
    o.vy = wrap16(truncToInt32(h.sin * speed));
}

// Puts an idle shot record into play at (x, y, z), flying along the heading, counted into its
// sector. Every field a previous flight left behind is overwritten.
inline void launchShot(GameState& g, GameObject& shot, int32_t x, int32_t y, int32_t z, int16_t angle,
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

}  // namespace krello
