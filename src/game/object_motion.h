// Objects on the move: a heading turned into a velocity, and a step by velocity.
#pragma once

#include "game/game_math.h"
#include "world/game_state.h"
#include "world/portable_trig.h"

namespace krello {

// Moves an object by its velocity: (v * frameDt) >> shift per axis, rounding toward minus
// infinity. The product fits 32 bits (|v| <= 32768, frameDt <= 200).
inline void moveByVelocity(GameObject& o, int16_t frameDt, int shift) {
    const int32_t dt = static_cast<uint16_t>(frameDt);
    o.x = add32(o.x, (o.vx * dt) >> shift);
    o.y = add32(o.y, (o.vy * dt) >> shift);
    o.z = add32(o.z, (o.vz * dt) >> shift);
}

// Velocity of the given speed along a heading in angle units, each part truncated to 16 bits.
inline void setHeadingVelocity(GameObject& o, int16_t angle, int speed) {
    const SinCos h = sinCosOfAngle(angle);
    o.vx = wrap16(truncToInt32(h.cos * speed));
    o.vy = wrap16(truncToInt32(h.sin * speed));
}

}  // namespace krello
