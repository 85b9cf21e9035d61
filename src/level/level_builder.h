// The level builder: a parsed source laid out as tables, its names resolved and its portals found.
#pragma once

#include <string>
#include <vector>

#include "level/level_source.h"
#include "level/source_parser.h"

namespace krello {

// Lays `source` out in g's player, sectors, walls, objects and enemy picture, and notes in
// `map` where each record came from. Every record the source leaves out stays an empty table
// entry with the runtime fields the game expects. Portals are derived from shared edges.
// Appends one line per problem (unknown points, misplaced walls, tables overrun, with
// LevelSize::Full anything missing, with LevelSize::Playable the picture) to `errors`.
void buildLevel(const Source& source, const std::string& file, LevelSize size, GameState& g,
                LevelSourceMap& map, std::vector<std::string>& errors);

}  // namespace krello
