// The heard events of an update, found by comparing the state after it with a snapshot from before.
#include "sound/sound_events.h"

#include <algorithm>

#include "game/enemies.h"
#include "game/game_math.h"
#include "game/hits.h"
#include "game/object_pool.h"
#include "game/player_motion.h"
#include "game/shots.h"
#include "sound/listener.h"
#include "world/distance.h"

namespace krello::sound {

namespace {

// The rules of the update (the fire wait, gravity, the respawn, the hit reach and points) are
// the game's own constants, from its headers; each is what makes an event recognisable.
// A respawned enemy lands this far at most from its spawn point.
constexpr int32_t SPAWN_SPREAD_HIGH = SPAWN_SPREAD_LOW + SPAWN_SPREAD_MASK;

// What is heard, in world units: an enemy shot is heard passing once it comes this near the
// player; a footstep every stride walked, the first soon after setting off; a landing from
// the fall speed of a short drop (a stair) upward, hardest at about that of a jump's end.
constexpr int32_t PASSING_DISTANCE = 800;
constexpr int32_t STRIDE = 1000;
constexpr int32_t FIRST_STEP = 300;
constexpr int32_t SOFTEST_LANDING = 600;
constexpr int32_t HARDEST_LANDING = 2400;

constexpr bool isActive(int16_t flags, int16_t kindBit) { return (flags & kindBit) && (flags & OBJ_ACTIVE); }
constexpr bool isIdle(int16_t flags, int16_t kindBit) { return (flags & kindBit) && !(flags & OBJ_ACTIVE); }

// How far a velocity moves an object in one update, exactly as the game moves it.
int32_t stepOf(int16_t v, int16_t frameDt, int shift) {
    return (v * static_cast<int32_t>(static_cast<uint16_t>(frameDt))) >> shift;
}

StateSnapshot::Object snapshotOf(const GameObject& o) {
    return {o.x, o.y, o.z, o.timer, o.flags, o.vx, o.vy, o.angle, o.cooldown, o.sector};
}

StateSnapshot snapshotOf(const GameState& g) {
    StateSnapshot s;
    s.player = g.player;
    s.fallSpeed = g.fallSpeed;
    s.onGround = g.onGround;
    s.score = g.score;
    s.gameOver = g.gameOver;
    for (size_t i = 0; i < g.objects.size(); ++i) s.objects[i] = snapshotOf(g.objects[i]);
    return s;
}

Event placedAt(EventKind kind, int32_t x, int32_t y) { return {kind, true, x, y, 0}; }
Event unplaced(EventKind kind, int32_t strength = 0) { return {kind, false, 0, 0, strength}; }

// Whether the player shot `o`, out of play now, was in flight when the update began (it moved
// by exactly its velocity and lost frameDt of life) or was fired in it.
bool shotEndedNow(const StateSnapshot& before, const GameState& g, const GameObject& o, bool fired) {
    const int16_t dt = g.frameDt;
    const int32_t dx = stepOf(o.vx, dt, SHOT_SHIFT);
    const int32_t dy = stepOf(o.vy, dt, SHOT_SHIFT);
    if (fired && o.timer == add16(SHOT_LIFE_MS, -dt) && o.x == add32(g.player.x, dx) && o.y == add32(g.player.y, dy))
        return true;
    return std::any_of(before.objects.begin(), before.objects.end(), [&](const StateSnapshot::Object& b) {
        return isActive(b.flags, OBJ_PLAYER_SHOT) && b.vx == o.vx && b.vy == o.vy && b.angle == o.angle &&
               add32(b.x, dx) == o.x && add32(b.y, dy) == o.y && add16(b.timer, -dt) == o.timer;
    });
}

// Enemies out of play after an update are exactly those hit in it: every other one was put
// back at a spawn point before the hits were tested.
bool hitAnEnemy(const GameState& g, const GameObject& shot) {
    return std::any_of(g.objects.begin(), g.objects.end(), [&](const GameObject& e) {
        return isIdle(e.flags, OBJ_ENEMY) && objectDistance3D(shot, e) < HIT_REACH;
    });
}

bool atSpawnPoint(const GameState& g, const GameObject& e) {
    return std::any_of(g.spawnPoints.begin(), g.spawnPoints.end(), [&](const SpawnPoint& p) {
        const int32_t dx = sub32(e.x, p.x);
        const int32_t dy = sub32(e.y, p.y);
        return e.z == p.z && e.sector == p.sector && dx >= SPAWN_SPREAD_LOW && dx <= SPAWN_SPREAD_HIGH &&
               dy >= SPAWN_SPREAD_LOW && dy <= SPAWN_SPREAD_HIGH;
    });
}

// An enemy put back at a spawn point in this update: the wait, speed and heading it is given,
// at a spawn point, and not one that was already standing there with that speed and heading
// (at short frame times a fresh enemy moves 0 units an update).
bool respawnedNow(const StateSnapshot& before, const GameState& g, const GameObject& e) {
    if (e.cooldown != RESPAWN_COOLDOWN_MS || e.vx != WAKING_SPEED || e.vy != 0 || e.angle != 0) return false;
    if (!atSpawnPoint(g, e)) return false;
    const int32_t dx = stepOf(WAKING_SPEED, g.frameDt, ENEMY_SHIFT);
    return std::none_of(before.objects.begin(), before.objects.end(), [&](const StateSnapshot::Object& b) {
        return isActive(b.flags, OBJ_ENEMY) && b.vx == WAKING_SPEED && b.vy == 0 && b.angle == 0 &&
               b.sector == e.sector && add32(b.x, dx) == e.x && b.y == e.y && b.z == e.z;
    });
}

}  // namespace

void EventList::add(const Event& e) {
    if (count < CAPACITY) {
        events[static_cast<size_t>(count++)] = e;
    } else {
        ++dropped;
    }
}

void EventTracker::restart(const GameState& g) {
    before_ = snapshotOf(g);
    started_ = true;
    stride_ = STRIDE - FIRST_STEP;
    steps_ = 0;
}

void EventTracker::observe(const GameState& g, EventList& out) {
    if (!started_) {
        restart(g);
        return;
    }
    objectEvents(g, out);
    playerEvents(g, out);
    before_ = snapshotOf(g);
}

void EventTracker::objectEvents(const GameState& g, EventList& out) const {
    // An accepted press sets the wait to its full length after the wait ran down by at least
    // 1 ms, so a full wait means a press this update; it fired if a shot was idle.
    const bool fired = g.fireCooldown == FIRE_INTERVAL_MS &&
                       std::any_of(before_.objects.begin(), before_.objects.end(),
                                   [](const StateSnapshot::Object& o) { return isIdle(o.flags, OBJ_PLAYER_SHOT); });
    if (fired) out.add(unplaced(EventKind::PlayerFires));

    // One hit for every 10 points, heard where the enemies fell. An update scores at most five
    // shots times ten enemies; a larger jump (a state that was not a next frame) is not replayed.
    const int32_t hits = std::min<int32_t>(std::max<int32_t>(sub32(g.score, before_.score), 0) / POINTS_PER_HIT,
                                           EventList::CAPACITY);
    int fallen = 0;
    std::array<const GameObject*, OBJECT_COUNT> fallenEnemies{};
    for (const GameObject& o : g.objects)
        if (isIdle(o.flags, OBJ_ENEMY)) fallenEnemies[static_cast<size_t>(fallen++)] = &o;
    for (int32_t k = 0; k < hits; ++k) {
        if (fallen == 0) {
            out.add(unplaced(EventKind::EnemyHit));
        } else {
            const GameObject& e = *fallenEnemies[static_cast<size_t>(k % fallen)];
            out.add(placedAt(EventKind::EnemyHit, e.x, e.y));
        }
    }

    for (const GameObject& o : g.objects) {
        if (isIdle(o.flags, OBJ_PLAYER_SHOT)) {
            // A shot that ended this update, not on an enemy and not of old age, ended on a surface.
            if (o.timer > 0 && shotEndedNow(before_, g, o, fired) && !hitAnEnemy(g, o))
                out.add(placedAt(EventKind::ShotOnWall, o.x, o.y));
        } else if (isActive(o.flags, OBJ_ENEMY_SHOT)) {
            // An enemy shot fired this update has not moved yet, so it still has all its life.
            if (o.timer == SHOT_LIFE_MS) {
                out.add(placedAt(EventKind::EnemyFires, o.x, o.y));
                continue;
            }
            const int32_t fromX = sub32(o.x, stepOf(o.vx, g.frameDt, SHOT_SHIFT));
            const int32_t fromY = sub32(o.y, stepOf(o.vy, g.frameDt, SHOT_SHIFT));
            if (planarDistance(before_.player.x, before_.player.y, fromX, fromY) >= PASSING_DISTANCE &&
                planarDistance(g.player.x, g.player.y, o.x, o.y) < PASSING_DISTANCE)
                out.add(placedAt(EventKind::ShotPassesClose, o.x, o.y));
        } else if (isActive(o.flags, OBJ_ENEMY) && respawnedNow(before_, g, o)) {
            out.add(placedAt(EventKind::EnemyRespawns, o.x, o.y));
        }
    }
}

void EventTracker::playerEvents(const GameState& g, EventList& out) {
    if (before_.gameOver == 0 && g.gameOver != 0) out.add(unplaced(EventKind::PlayerHit));
    // Leaving the floor upward is a jump: walking off a ledge leaves it falling, and a low
    // ceiling stops a jump at once (fall speed 0) without making it any less of one.
    if (before_.onGround == 1 && g.onGround == 0 && g.fallSpeed <= 0) out.add(unplaced(EventKind::Jump));

    const bool walking = before_.onGround == 1 && g.onGround == 1;
    if (before_.onGround == 0 && g.onGround == 1) {
        // The speed the floor stopped: the fall speed before, plus this update's gravity.
        const int32_t impact = before_.fallSpeed + GRAVITY_PER_MS * g.frameDt;
        if (impact >= SOFTEST_LANDING) {
            const int32_t hardness = std::min(impact, HARDEST_LANDING) - SOFTEST_LANDING;
            out.add(unplaced(EventKind::Landing, 64 + hardness * 192 / (HARDEST_LANDING - SOFTEST_LANDING)));
        }
    }
    const int64_t moved = planarDistance(before_.player.x, before_.player.y, g.player.x, g.player.y);
    if (!walking || moved == 0) {
        stride_ = STRIDE - FIRST_STEP;  // setting off again, the first step comes soon
        return;
    }
    stride_ += static_cast<int32_t>(std::min<int64_t>(moved, STRIDE));
    if (stride_ >= STRIDE) {
        stride_ -= STRIDE;
        steps_ = add32(steps_, 1);
        out.add(unplaced(EventKind::Footstep, steps_));
    }
}

}  // namespace krello::sound
