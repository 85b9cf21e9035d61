// Turning as a player does, through the game's key ramp: when to hold Left or Right, and when to let go.
#pragma once

#include <cstdint>

namespace krello::playtest {

struct TurnChoice {
    uint8_t keys = 0;  // keyBit(Left), keyBit(Right) or nothing
    int nextTurn = 0;  // how far the heading moves in the next update with those keys
};

// The key that brings the view to rest nearest `error` angle units from where it looks now
// (positive: to the right), given the turn speed and updates of `dt` ms. Holding a key adds
// 2 dt to the speed, which then decays by dt, so a view speeds up and coasts to rest; the key
// is the first of the plan (let go, or hold Left or Right for some updates and let go) whose
// view comes to rest closest to the aim.
TurnChoice chooseTurn(double error, int16_t turnSpeed, int16_t dt);

// An angle difference brought into -1024..1024 (half a turn either way).
double wrapAngleUnits(double a);

}  // namespace krello::playtest
