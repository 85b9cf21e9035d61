// What one playtest game leaves behind: how long it lasted, what it scored, where it went and how it ended.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "world/game_state.h"

namespace krello::playtest {

// A place on the map, with the sector it lies in.
struct MapPoint {
    int32_t x = 0;
    int32_t y = 0;
    int16_t sector = -1;
};

// Where the player died, and where the enemy stood that fired the fatal shot.
struct Death {
    MapPoint player;
    MapPoint shooter;
    bool shooterKnown = false;  // false: the shot was first seen in flight, `shooter` is where
};

// The game keeps the player's sector by the walls a step crosses; a step pushed back from a
// wall just past a portal leaves the player outside the sector the game holds, walking through
// walls until a crossing puts it right. Such a stretch is a fault of the level's shapes there.
struct LostStretch {
    MapPoint at;           // where it began (the sector the player stood in)
    int16_t heldSector = -1;  // the sector the game held instead
};

struct GameRecord {
    uint64_t seed = 0;
    uint32_t survivalMs = 0;   // game time until game over, or the whole game if it lived
    bool gameOver = false;
    int32_t score = 0;
    long updates = 0;
    // Reached: stood in while the game held that sector too.
    int areasReached = 0;
    int areasTotal = 0;
    int sectorsReached = 0;
    std::vector<bool> areas;                // per area: reached
    std::array<bool, SECTOR_COUNT> sectors{};  // per sector: reached
    bool died = false;
    Death death;
    std::vector<MapPoint> kills;  // where each enemy hit stood
    uint32_t lostMs = 0;          // game time spent outside the sector the game held
    bool lost = false;
    LostStretch firstLost;        // the first such stretch
    std::vector<MapPoint> route;  // the player's place every ROUTE_STEP_MS of game time
};

constexpr uint32_t ROUTE_STEP_MS = 100;

}  // namespace krello::playtest
