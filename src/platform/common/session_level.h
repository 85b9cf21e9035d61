// The level a session plays: the built-in one, or a level file given with --level.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "level/playable_level.h"
#include "replay/demo.h"
#include "world/game_state.h"

namespace krello {

// Every game of a session, the first and each restart, starts from this image, so a restart is
// exactly a fresh launch.
struct SessionLevel {
    std::string name;         // the file's name without its folder; empty for the built-in level
    LevelImageBytes image{};  // what every game starts from
    uint32_t checksum = 0;    // CRC-32 of the image, as demos record it

    DemoLevel demoLevel() const { return DemoLevel{checksum, name}; }
};

// The built-in level when `path` is empty, else the file, checked by every rule of the level.
// Returns false with one line per problem when the file is not a level the game can play.
bool loadSessionLevel(const std::string& path, SessionLevel& level, std::vector<std::string>& problems);

// A fresh game's tables from the level (start-up has not run yet).
void loadLevelInto(GameState& g, const SessionLevel& level);

}  // namespace krello
