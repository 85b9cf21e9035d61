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

// How the player's shots went, and what they were fired at. A level where fights cannot be won
// shows why here: shots stopped by walls or by floors and ceilings on the way, or aimed at
// enemies on ground a shot cannot reach in height (its reach there is 1,920 either way).
struct ShotTally {
    int fired = 0;
    int reachedEnemySector = 0;  // flew, some time, through a sector where an enemy stood in play
    int hits = 0;                // enemies hit (one shot can hit two)
    // How they ended.
    int endedWall = 0;
    int endedHeight = 0;  // passed into a sector whose floor or ceiling cut its flight
    int endedTime = 0;
    int endedHit = 0;
    // What each was fired at: the enemy in play nearest its line, within AIMED_AT_UNITS and
    // SHOT_RANGE, as the bot fires only at enemies it sees.
    int noEnemyInLine = 0;
    int targetOutOfHeight = 0;   // that enemy stood where the height term forbids any hit
    int targetOtherSector = 0;   // that enemy's sector is not the player's
    std::vector<int32_t> targetDistances;           // to each such enemy, in world units
    std::array<int, SECTOR_COUNT> targetSectors{};  // where those enemies stood
    std::array<int, SECTOR_COUNT> outOfHeightSectors{};  // the same, for the dead-ground ones
    std::array<int, SECTOR_COUNT> firedFrom{};           // where the player stood to fire them
    uint32_t firstShotMs = 0;    // 0: it never fired
};

// An enemy this far off a shot's heading, in angle units (15 degrees), is not what it was fired at.
constexpr double AIMED_AT_UNITS = 85.0;
// A shot flies about 12,500 units in its life.
constexpr int32_t SHOT_RANGE = 12500;

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
    ShotTally shots;
};

constexpr uint32_t ROUTE_STEP_MS = 100;

}  // namespace krello::playtest
