// The playtest's referee: watches the whole game state after every update and writes down what
// the report needs. The bot never sees any of it.
#pragma once

#include <array>
#include <cstdint>

#include "playtest/game_record.h"
#include "playtest/level_areas.h"
#include "playtest/level_graph.h"
#include "world/game_state.h"

namespace krello::playtest {

class GameWatch {
public:
    // Room for a game of `limitMs` is taken here, so watching allocates nothing per update.
    GameWatch(const LevelGraph& graph, const LevelAreas& areas, uint64_t seed, uint32_t limitMs);

    // After every update (and the object sort), with the game time it has reached.
    void afterUpdate(const GameState& g, uint32_t timeMs);

    GameRecord& record() { return record_; }

private:
    // An enemy shot in flight, and where it was fired. Records move every frame (the sort), so a
    // shot is followed by what stays the same: its velocity and heading, and a timer that ran
    // down by exactly the update's frame time.
    struct Flight {
        int16_t vx = 0, vy = 0, angle = 0, timer = 0;
        MapPoint from;
        bool known = false;
    };

    // A player shot in flight, followed the same way.
    struct PlayerFlight {
        int16_t vx = 0, vy = 0, angle = 0, timer = 0;
        bool reached = false;  // has flown through a sector where an enemy stood
    };

    void followShots(const GameState& g);
    void followPlayerShots(const GameState& g);
    void noteTarget(const GameState& g, const GameObject& shot);
    void noteEnding(const GameState& g, const GameObject& shot);
    void noteKills(const GameState& g);
    void noteDeath(const GameState& g);
    // The place of a position, named by the sector it lies in (`held` if it lies in none).
    MapPoint place(int32_t x, int32_t y, int16_t held) const;

    const LevelGraph& graph_;
    const LevelAreas& areas_;
    GameRecord record_;
    std::array<Flight, OBJECT_COUNT> flights_{};
    std::array<Flight, OBJECT_COUNT> previous_{};
    std::array<PlayerFlight, OBJECT_COUNT> ownShots_{};
    std::array<PlayerFlight, OBJECT_COUNT> ownBefore_{};
    int ownCount_ = 0;
    int flightCount_ = 0;
    int previousCount_ = 0;
    int32_t lastScore_ = 0;
    uint32_t nextRouteAt_ = 0;
    uint32_t lastTime_ = 0;
    // The player is outside the sector the game holds, since astrayFrom_.since.
    bool astray_ = false;
    struct {
        LostStretch stretch;
        uint32_t since = 0;
        bool counted = false;  // long enough to be lost
    } astrayFrom_;
};

}  // namespace krello::playtest
