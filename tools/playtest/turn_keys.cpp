// The bot's hand on the turn keys: a one-step look ahead through the game's own speed ramp.
#include "playtest/turn_keys.h"

#include <cmath>

#include "game/platform_seam.h"
#include "game/player_motion.h"

namespace krello::playtest {
namespace {

// The heading change of one update at this speed, as the game truncates it.
int turnOf(int16_t speed, int16_t dt) { return static_cast<int>(speed * dt * 0.006); }

// The speed after an update with `direction` held (-1 Left, 0 none, +1 Right).
int16_t speedAfter(int16_t speed, int16_t dt, int direction) {
    const int16_t pushed = static_cast<int16_t>(speed + 2 * dt * direction);
    return decayAndClampSpeed(pushed, dt);
}

// How far the view still turns when no key is held from a speed on.
int coast(int16_t speed, int16_t dt) {
    int total = 0;
    for (int i = 0; i < 256 && speed != 0; ++i) {
        speed = decayAndClampSpeed(speed, dt);
        total += turnOf(speed, dt);
    }
    return total;
}

}  // namespace

double wrapAngleUnits(double a) {
    a = std::fmod(a, 2048.0);
    if (a > 1024.0) a -= 2048.0;
    if (a < -1024.0) a += 2048.0;
    return a;
}

TurnChoice chooseTurn(double error, int16_t turnSpeed, int16_t dt) {
    if (dt < 1) dt = 1;
    TurnChoice best;
    double bestMiss = 0.0;
    for (int direction : {0, -1, 1}) {
        const int16_t speed = speedAfter(turnSpeed, dt, direction);
        const int now = turnOf(speed, dt);
        const double miss = std::fabs(error - (now + coast(speed, dt)));
        if (direction == 0 || miss < bestMiss) {
            bestMiss = miss;
            best.keys = direction == 0 ? 0 : keyBit(direction < 0 ? GameKey::Left : GameKey::Right);
            best.nextTurn = now;
        }
    }
    return best;
}

}  // namespace krello::playtest
