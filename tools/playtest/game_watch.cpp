// The referee's notes: sectors and areas reached, the route, the kills, and the fatal shot's origin.
#include "playtest/game_watch.h"

#include <cmath>

#include "playtest/turn_keys.h"
#include "world/angle.h"
#include "world/distance.h"
#include "world/portable_trig.h"

namespace krello::playtest {
namespace {

// An enemy shot's life when fired: a shot whose timer still reads it has not moved yet, and
// stands where its enemy stood.
constexpr int16_t SHOT_LIFE_MS = 5000;
// A shot this near the player (the game's own metric) ended the game.
constexpr int32_t HIT_REACH = 30;
constexpr size_t KILLS_RESERVED = 2048;
// A shot's height difference to an enemy, shifted as the hit test shifts it, at which no hit is
// possible however near it flies (30 squared is the whole reach).
constexpr int32_t HEIGHT_OUT_OF_REACH = 30;
// The gun fires at most every 700 ms.
constexpr uint32_t FIRE_INTERVAL_MS = 700;
// The player counts as lost once outside the sector the game holds for this long.
constexpr uint32_t LOST_AFTER_MS = 500;

}  // namespace

GameWatch::GameWatch(const LevelGraph& graph, const LevelAreas& areas, uint64_t seed, uint32_t limitMs)
    : graph_(graph), areas_(areas) {
    record_.seed = seed;
    record_.areasTotal = areas.count();
    record_.areas.assign(static_cast<size_t>(areas.count()), false);
    record_.route.reserve(limitMs / ROUTE_STEP_MS + 2);
    record_.kills.reserve(KILLS_RESERVED);
    record_.shots.targetDistances.reserve(limitMs / FIRE_INTERVAL_MS + 2);
}

MapPoint GameWatch::place(int32_t x, int32_t y, int16_t held) const {
    const int sector = graph_.sectorAt({static_cast<double>(x), static_cast<double>(y)}, held);
    return {x, y, static_cast<int16_t>(sector >= 0 ? sector : held)};
}

void GameWatch::afterUpdate(const GameState& g, uint32_t timeMs) {
    ++record_.updates;
    const MapPoint here = place(g.player.x, g.player.y, g.player.sector);
    const int sector = g.player.sector;
    const bool inside = graph_.contains(sector, {static_cast<double>(g.player.x), static_cast<double>(g.player.y)});
    // A position on a wall's line may read as either side: only a stretch that lasts counts.
    if (!inside) {
        if (!astray_) astrayFrom_ = {{here, g.player.sector}, lastTime_, false};
        astray_ = true;
        if (astrayFrom_.counted) {
            record_.lostMs += timeMs - lastTime_;
        } else if (timeMs - astrayFrom_.since >= LOST_AFTER_MS) {
            if (!record_.lost) record_.firstLost = astrayFrom_.stretch;
            record_.lostMs += timeMs - astrayFrom_.since;
            record_.lost = true;
            astrayFrom_.counted = true;
        }
    } else {
        astray_ = false;
    }
    lastTime_ = timeMs;
    if (inside && !record_.sectors[static_cast<size_t>(sector)]) {
        record_.sectors[static_cast<size_t>(sector)] = true;
        ++record_.sectorsReached;
        const int area = areas_.areaOfSector(sector);
        if (area >= 0 && !record_.areas[static_cast<size_t>(area)]) {
            record_.areas[static_cast<size_t>(area)] = true;
            ++record_.areasReached;
        }
    }
    if (timeMs >= nextRouteAt_ && record_.route.size() < record_.route.capacity()) {
        record_.route.push_back(here);
        nextRouteAt_ = timeMs + ROUTE_STEP_MS;
    }
    followShots(g);
    followPlayerShots(g);
    if (g.score > lastScore_) {
        record_.shots.hits += (g.score - lastScore_) / 10;
        noteKills(g);
    }
    lastScore_ = g.score;
    record_.score = g.score;
    record_.survivalMs = timeMs;
    if (g.gameOver && !record_.gameOver) {
        record_.gameOver = true;
        noteDeath(g);
    }
}

void GameWatch::followShots(const GameState& g) {
    previous_ = flights_;
    previousCount_ = flightCount_;
    std::array<bool, OBJECT_COUNT> taken{};
    flightCount_ = 0;
    for (const GameObject& o : g.objects) {
        if ((o.flags & (OBJ_ACTIVE | OBJ_ENEMY_SHOT)) != (OBJ_ACTIVE | OBJ_ENEMY_SHOT)) continue;
        Flight f{o.vx, o.vy, o.angle, o.timer, {o.x, o.y, o.sector}, o.timer == SHOT_LIFE_MS};
        for (int i = 0; i < previousCount_; ++i) {
            const Flight& p = previous_[static_cast<size_t>(i)];
            if (taken[static_cast<size_t>(i)] || p.vx != o.vx || p.vy != o.vy || p.angle != o.angle ||
                static_cast<int16_t>(p.timer - g.frameDt) != o.timer)
                continue;
            taken[static_cast<size_t>(i)] = true;
            f.from = p.from;
            f.known = p.known;
            break;
        }
        flights_[static_cast<size_t>(flightCount_++)] = f;
    }
}

void GameWatch::followPlayerShots(const GameState& g) {
    ownBefore_ = ownShots_;
    const int before = ownCount_;
    std::array<bool, OBJECT_COUNT> taken{};
    ownCount_ = 0;
    auto follows = [&](const PlayerFlight& p, const GameObject& o) {
        return p.vx == o.vx && p.vy == o.vy && p.angle == o.angle && static_cast<int16_t>(p.timer - g.frameDt) == o.timer;
    };
    for (const GameObject& o : g.objects) {
        if ((o.flags & (OBJ_ACTIVE | OBJ_PLAYER_SHOT)) != (OBJ_ACTIVE | OBJ_PLAYER_SHOT)) continue;
        PlayerFlight f{o.vx, o.vy, o.angle, o.timer, false};
        bool known = false;
        for (int i = 0; i < before && !known; ++i) {
            if (taken[static_cast<size_t>(i)] || !follows(ownBefore_[static_cast<size_t>(i)], o)) continue;
            taken[static_cast<size_t>(i)] = true;
            f.reached = ownBefore_[static_cast<size_t>(i)].reached;
            known = true;
        }
        if (!known) noteTarget(g, o);
        if (!f.reached) {
            for (const GameObject& e : g.objects)
                if ((e.flags & (OBJ_ACTIVE | OBJ_ENEMY)) == (OBJ_ACTIVE | OBJ_ENEMY) && e.sector == o.sector) f.reached = true;
            record_.shots.reachedEnemySector += f.reached;
        }
        ownShots_[static_cast<size_t>(ownCount_++)] = f;
    }
    // A shot gone out of play keeps its record (last place, sector and timer) until fired again,
    // which cannot happen in the update that ends it.
    for (int i = 0; i < before; ++i) {
        if (taken[static_cast<size_t>(i)]) continue;
        const PlayerFlight& p = ownBefore_[static_cast<size_t>(i)];
        for (const GameObject& o : g.objects) {
            if ((o.flags & (OBJ_ACTIVE | OBJ_PLAYER_SHOT)) != OBJ_PLAYER_SHOT || !follows(p, o)) continue;
            noteEnding(g, o);
            break;
        }
    }
}

// What a shot just fired was fired at: the enemy in play nearest its line.
void GameWatch::noteTarget(const GameState& g, const GameObject& shot) {
    ShotTally& t = record_.shots;
    if (t.fired++ == 0) t.firstShotMs = lastTime_;
    const GameObject* target = nullptr;
    double best = AIMED_AT_UNITS;
    for (const GameObject& e : g.objects) {
        if ((e.flags & (OBJ_ACTIVE | OBJ_ENEMY)) != (OBJ_ACTIVE | OBJ_ENEMY)) continue;
        const double dx = static_cast<double>(e.x) - shot.x, dy = static_cast<double>(e.y) - shot.y;
        if (std::sqrt(dx * dx + dy * dy) > SHOT_RANGE) continue;
        const double off = std::fabs(wrapAngleUnits(portableAtan2(dy, dx) * ANGLE_UNITS_PER_RADIAN - shot.angle));
        if (off < best) {
            best = off;
            target = &e;
        }
    }
    if (!target) {
        ++t.noEnemyInLine;
        return;
    }
    const double dx = static_cast<double>(target->x) - g.player.x, dy = static_cast<double>(target->y) - g.player.y;
    if (t.targetDistances.size() < t.targetDistances.capacity())
        t.targetDistances.push_back(static_cast<int32_t>(std::sqrt(dx * dx + dy * dy)));
    const int16_t sector = place(target->x, target->y, target->sector).sector;
    const int16_t from = place(g.player.x, g.player.y, g.player.sector).sector;
    ++t.targetSectors[static_cast<size_t>(sector)];
    ++t.firedFrom[static_cast<size_t>(from)];
    if (sector != from) ++t.targetOtherSector;
    const int32_t dz = (shot.z - target->z) >> 6;
    if (dz >= HEIGHT_OUT_OF_REACH || dz <= -HEIGHT_OUT_OF_REACH) {
        ++t.targetOutOfHeight;
        ++t.outOfHeightSectors[static_cast<size_t>(sector)];
    }
}

// A shot that left play in this update: by a hit (an enemy still out of play within its reach),
// by its time, by the floor or ceiling of the sector it ended in, or else by a solid wall.
void GameWatch::noteEnding(const GameState& g, const GameObject& shot) {
    ShotTally& t = record_.shots;
    for (const GameObject& e : g.objects) {
        if ((e.flags & (OBJ_ACTIVE | OBJ_ENEMY)) != OBJ_ENEMY || objectDistance3D(shot, e) >= HIT_REACH) continue;
        ++t.endedHit;
        return;
    }
    const Sector& s = g.sectors[static_cast<size_t>(shot.sector)];
    if (shot.timer <= 0)
        ++t.endedTime;
    else if (shot.z - 8000 > s.floorZ || shot.z - 8000 < s.ceilingZ)
        ++t.endedHeight;
    else
        ++t.endedWall;
}

// The enemies hit in this update are out of play until the next update puts them back.
void GameWatch::noteKills(const GameState& g) {
    for (const GameObject& o : g.objects) {
        if (!(o.flags & OBJ_ENEMY) || (o.flags & OBJ_ACTIVE)) continue;
        if (record_.kills.size() < record_.kills.capacity()) record_.kills.push_back(place(o.x, o.y, o.sector));
    }
}

void GameWatch::noteDeath(const GameState& g) {
    record_.died = true;
    record_.death.player = place(g.player.x, g.player.y, g.player.sector);
    int32_t nearest = HIT_REACH;
    int k = 0;
    for (const GameObject& o : g.objects) {
        if ((o.flags & (OBJ_ACTIVE | OBJ_ENEMY_SHOT)) != (OBJ_ACTIVE | OBJ_ENEMY_SHOT)) continue;
        const Flight& f = flights_[static_cast<size_t>(k++)];
        const int32_t d = playerDistance3D(g.player, o);
        if (d >= nearest) continue;
        nearest = d;
        record_.death.shooter = place(f.from.x, f.from.y, f.from.sector);
        record_.death.shooterKnown = f.known;
    }
}

}  // namespace krello::playtest
