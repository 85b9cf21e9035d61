// The bot's hand on the turn keys: a one-step look ahead through the game's own speed ramp.
#include "playtest/turn_keys.h"

#include <cmath>

#include "game/platform_seam.h"
#include "game/player_motion.h"

namespace krello::playtest {
namespace {

// The longest hold looked at: from rest the speed is at its limit after 200 ms, so 40 updates
// of 5 ms or more cover every turn there is.
constexpr int MAX_HOLD = 40;

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
    // Whole turns off one at a time, exactly: the bot's angles are a few turns at most (and
    // fmod becomes x87 instructions in the i686 build, which keeps doubles in SSE2).
    if (!(std::fabs(a) < 1.0e6)) return 0.0;
    while (a > 1024.0) a -= 2048.0;
    while (a < -1024.0) a += 2048.0;
    return a;
}

TurnChoice chooseTurn(double error, int16_t turnSpeed, int16_t dt) {
    if (dt < 1) dt = 1;
    // Letting go now, or holding one key for the next `held` updates and then letting go: the
    // plan whose view comes to rest nearest the aim decides this update's key (letting go, and
    // then the shorter hold, on a tie). Looking further than one update matters at small speeds,
    // where a single short press turns the view by less than a unit.
    int bestDirection = 0;
    double bestMiss = std::fabs(error - (turnOf(speedAfter(turnSpeed, dt, 0), dt) + coast(speedAfter(turnSpeed, dt, 0), dt)));
    for (int direction : {-1, 1}) {
        int16_t speed = turnSpeed;
        int turned = 0;
        for (int held = 1; held <= MAX_HOLD; ++held) {
            speed = speedAfter(speed, dt, direction);
            turned += turnOf(speed, dt);
            const double miss = std::fabs(error - (turned + coast(speed, dt)));
            if (miss < bestMiss) {
                bestMiss = miss;
                bestDirection = direction;
            }
        }
    }
    TurnChoice choice;
    choice.keys = bestDirection == 0 ? 0 : keyBit(bestDirection < 0 ? GameKey::Left : GameKey::Right);
    choice.nextTurn = turnOf(speedAfter(turnSpeed, dt, bestDirection), dt);
    return choice;
}

}  // namespace krello::playtest
