// An autopilot that plays the level to produce a tour input script: it walks, turns, jumps,
// hunts and shoots enemies, and finally walks into enemy fire until the game is over.
#include "game/tour_pilot.h"

#include <cmath>
#include <cstdlib>

#include "game/headless_frame.h"
#include "game/headless_platform.h"
#include "game/start_level.h"
#include "world/distance.h"

namespace krello {

namespace {

constexpr double UNITS_PER_RADIAN = 1024.0 / 3.14159265358979323846;

// The pilot's state between updates.
struct Pilot {
    uint32_t seed = 12345;
    long update = 0;
    long minUpdates = 0;
    int32_t lastX = 0, lastY = 0;
    int stuckFor = 0;
    int wiggle = 0;  // updates left of turning away from a wall
    bool wiggleRight = true;

    uint32_t next() {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFFu;
    }
};

// The active enemy nearest to the player, or nullptr.
const GameObject* nearestEnemy(const GameState& g) {
    const GameObject* best = nullptr;
    int32_t bestDistance = 0;
    for (const GameObject& o : g.objects) {
        if ((o.flags & (OBJ_ENEMY | OBJ_ACTIVE)) != (OBJ_ENEMY | OBJ_ACTIVE)) continue;
        const int32_t d = playerDistance2D(g.player, o);
        if (!best || d < bestDistance) {
            best = &o;
            bestDistance = d;
        }
    }
    return best;
}

// How far to turn (angle units, -1024..1023) to face the object.
int turnToward(const GameState& g, const GameObject& o) {
    const double dx = static_cast<double>(o.x) - g.player.x;
    const double dy = static_cast<double>(o.y) - g.player.y;
    const int want = static_cast<int>(std::atan2(dy, dx) * UNITS_PER_RADIAN);
    return ((want - g.player.angle) % 2048 + 3072) % 2048 - 1024;
}

uint8_t steer(int turn, int deadZone) {
    if (turn > deadZone) return keyBit(GameKey::Right);
    if (turn < -deadZone) return keyBit(GameKey::Left);
    return 0;
}

// Keys for one update: hunt the nearest enemy (shooting while the game runs, walking into its
// fire in the last part), turn away from walls that stop the walk, jump now and then.
uint8_t decide(Pilot& p, const GameState& g) {
    const bool finale = p.update >= p.minUpdates * 3 / 4;
    uint8_t keys = 0;
    const int32_t moved = std::abs(g.player.x - p.lastX) + std::abs(g.player.y - p.lastY);
    p.stuckFor = (g.moveSpeed > 100 && moved < 8) ? p.stuckFor + 1 : 0;
    p.lastX = g.player.x;
    p.lastY = g.player.y;
    if (p.stuckFor > 6 && p.wiggle == 0) {
        p.wiggle = 30 + static_cast<int>(p.next() % 60);
        p.wiggleRight = (p.next() & 1) != 0;
    }
    if (p.wiggle > 0) {
        --p.wiggle;
        keys |= keyBit(p.wiggleRight ? GameKey::Right : GameKey::Left) | keyBit(GameKey::Up);
    } else if (const GameObject* e = nearestEnemy(g)) {
        const int turn = turnToward(g, *e);
        keys |= steer(turn, 12);
        const int32_t d = playerDistance2D(g.player, *e);
        if (std::abs(turn) < 160 && (finale || d > 150)) keys |= keyBit(GameKey::Up);
        if (!finale && std::abs(turn) < 40) keys |= keyBit(GameKey::Space);
    } else {
        keys |= keyBit(GameKey::Up) | keyBit(GameKey::Right);
    }
    if (!finale && p.next() % 90 == 0) keys |= keyBit(GameKey::A);
    if (g.gameOver) keys = static_cast<uint8_t>(keyBit(GameKey::Left) | keyBit(GameKey::Space) |
                                               ((p.update / 40) % 2 ? keyBit(GameKey::Up) : 0));
    return keys;
}

}  // namespace

TourPlan planTour(GameState& g, long minUpdates, long maxUpdates) {
    TourPlan plan;
    HeadlessPlatform platform;
    startLevel(g, platform);
    Pilot p;
    p.minUpdates = minUpdates;
    p.lastX = g.player.x;
    p.lastY = g.player.y;
    for (p.update = 0; p.update < maxUpdates; ++p.update) {
        if (p.update >= minUpdates && plan.gameOverAt > 0 && p.update >= plan.gameOverAt + 100) break;
        ScriptStep step;
        step.dt = static_cast<uint16_t>(12 + p.next() % 12);
        step.keys = decide(p, g);
        plan.steps.push_back(step);
        platform.clock += step.dt;
        for (int k = 0; k < GAME_KEY_COUNT; ++k) platform.held[static_cast<size_t>(k)] = (step.keys >> k) & 1;
        const int16_t cooldownBefore = g.fireCooldown;
        const bool canJump = g.onGround == 1 && (step.keys & keyBit(GameKey::A));
        runFrame(g, platform, nullptr);
        if (g.fireCooldown == 700 && cooldownBefore != 700) ++plan.shotsFired;
        if (canJump) ++plan.jumps;
        if (g.gameOver && plan.gameOverAt == 0) plan.gameOverAt = p.update + 1;
    }
    plan.score = g.score;
    return plan;
}

}  // namespace krello
