// The playtest's figures over all its games, and the report and JSON that show them.
#pragma once

#include <string>
#include <vector>

#include "playtest/game_record.h"
#include "playtest/level_areas.h"

namespace krello::playtest {

// The lower quartile, median and upper quartile of some values: each the value at that fraction
// of the way from the least to the greatest, between two neighbours in proportion (so the median
// of an even count is the mean of the middle two). All 0 for no values.
struct Spread {
    double q1 = 0.0;
    double median = 0.0;
    double q3 = 0.0;
};
Spread spreadOf(std::vector<double> values);

// Deaths in one sector, and where their fatal shots came from (sector, count), most first.
struct SectorDeaths {
    int sector = -1;
    int deaths = 0;
    std::vector<std::pair<int, int>> shotFrom;
};

struct PlaytestSummary {
    int games = 0;
    int gamesOver = 0;
    int gamesScored = 0;
    Spread survivalSeconds;
    Spread score;
    Spread areasReached;
    Spread sectorsReached;
    std::vector<SectorDeaths> deadliest;  // the ten sectors with most deaths (ties: lower number first)
    int gamesLost = 0;                    // games in which the player left the sector the game held
    std::vector<std::pair<int, int>> lostFrom;  // (sector where that began, games), most first
    std::vector<int> areaGames;           // per area: how many games reached it
    // The player's shots over all games: the counts summed, the distances of all their targets.
    ShotTally shots;
    int gamesWithoutShot = 0;
    Spread targetDistance;
    // Where the enemies shot at stood: (sector, shots, of them out of reach in height), most first.
    struct TargetPlace {
        int sector = -1;
        int shots = 0;
        int outOfHeight = 0;
    };
    std::vector<TargetPlace> targets;
    std::vector<std::pair<int, int>> firedFrom;  // where the player stood to fire at them, most first
};

PlaytestSummary summarize(const std::vector<GameRecord>& games, const LevelAreas& areas);

// What the report says the playtest was.
struct PlaytestHeading {
    std::string skill;
    int minutes = 10;
    uint64_t seed = 1;
    std::string level;       // "the built-in level" or the file's name
    std::string areasFrom;   // where the named areas came from, or why every sector is one
};

// The report for a reader: a line per game, the spreads, the deadliest sectors, and how many
// games reached each area.
std::string reportText(const PlaytestHeading& heading, const std::vector<GameRecord>& games,
                       const PlaytestSummary& summary, const LevelAreas& areas);

// The same as JSON: an object with the heading, a `games` array and a `summary`.
std::string reportJson(const PlaytestHeading& heading, const std::vector<GameRecord>& games,
                       const PlaytestSummary& summary, const LevelAreas& areas);

}  // namespace krello::playtest
