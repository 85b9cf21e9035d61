// The level's named areas for the playtest: which sector belongs to which place a player tells apart.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "world/game_state.h"

namespace krello::playtest {

// Each area is a name and the sectors it holds. A sector is in at most one area; sectors in
// none (or past a small level's last sector) count for no area.
struct LevelAreas {
    std::vector<std::string> names;            // area i's name
    std::array<int16_t, SECTOR_COUNT> areaOf;  // the area of each sector, -1 for none
    bool named = false;                        // false: every sector is an area of its own

    LevelAreas() { areaOf.fill(-1); }
    int count() const { return static_cast<int>(names.size()); }
    int areaOfSector(int sector) const {
        return sector >= 0 && sector < SECTOR_COUNT ? areaOf[static_cast<size_t>(sector)] : -1;
    }
};

// Whether the level uses the sector: it has walls (a small level leaves the rest of the table
// empty).
inline bool sectorInUse(const GameState& level, int sector) {
    return level.sectors[static_cast<size_t>(sector)].wallCount != 0;
}

// Areas text: lines `area "NAME" S S ...` (sector numbers, or ranges FROM-TO), blank lines and
// lines starting with '#' skipped. On failure returns false with error = "FILE:LINE: what is
// wrong": an unknown statement, a missing or empty name, a repeated name, no sectors, a number
// that is not a sector of `level`, a sector in two areas.
bool parseLevelAreas(std::string_view text, const std::string& file, const GameState& level, LevelAreas& areas,
                     std::string& error);

// Every sector the level uses as an area of its own, named "sector N": for a level without
// named areas.
LevelAreas sectorAreas(const GameState& level);

// The named areas of the built-in level (level/krello.areas, built in beside the level).
std::string_view builtinLevelAreas();

}  // namespace krello::playtest
