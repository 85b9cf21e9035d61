// The level source: text with named points, sector loops and objects, compiled into a game's tables.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "world/game_state.h"

namespace krello {

// Where each record of a compiled level came from, so a later check can name the source line.
// A line of 0 means "no line" (the record was not written in the source).
struct LevelSourceMap {
    std::string file;
    int startLine = 0;
    int sectorCount = 0;  // sectors, walls and objects the source defined
    int wallCount = 0;
    int objectCount = 0;
    std::array<int, SECTOR_COUNT> sectorLine{};  // the `sector N` statement
    std::array<int, WALL_COUNT> wallLine{};      // the `loop` statement that made the wall
    std::array<int, OBJECT_COUNT> objectLine{};  // the `object I` statement
};

// How much a source must hold. The built-in level fills the tables exactly. A level a player
// makes for the game may be smaller (sectors, walls and objects up to the tables), but it needs
// the enemy's picture and exactly ten enemies, one for each spawn point the respawn draws among.
// Small test levels may leave anything out.
enum class LevelSize { Full, Playable, Partial };

// Parses `text` (named `file` in messages) and fills g's player, sectors, walls, objects and
// enemy picture; every record the source leaves out stays as an empty table entry, with the
// runtime fields the game expects. Portals are derived from shared edges. Returns false when
// the text is not a well-formed source; `errors` then holds one line per problem, each naming
// the file and line. Well-formed sources may still break the level's rules: run the validator.
bool compileLevelSource(std::string_view text, const std::string& file, LevelSize size,
                        GameState& g, LevelSourceMap& map, std::vector<std::string>& errors);

}  // namespace krello
