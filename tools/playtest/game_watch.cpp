// The referee's notes: sectors and areas reached, the route, the kills, and the fatal shot's origin.
#include "playtest/game_watch.h"

#include "world/distance.h"

namespace krello::playtest {
namespace {

// An enemy shot's life when fired: a shot whose timer still reads it has not moved yet, and
// stands where its enemy stood.
constexpr int16_t SHOT_LIFE_MS = 5000;
// A shot this near the player (the game's own metric) ended the game.
constexpr int32_t HIT_REACH = 30;
constexpr size_t KILLS_RESERVED = 2048;
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
    if (g.score > lastScore_) noteKills(g);
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
