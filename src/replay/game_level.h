// The level a game plays: its image, the CRC-32 demos name it by, and its name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "level/playable_level.h"
#include "replay/demo.h"

namespace krello {

// Every game of a run, the first and each restart, starts from this image, so a restart is
// exactly a fresh launch.
struct GameLevel {
    std::string name;         // the file's name without its folder; empty for the built-in level
    LevelImageBytes image{};  // what every game starts from
    uint32_t checksum = 0;    // CRC-32 of the image, as demos record it

    DemoLevel demoLevel() const { return DemoLevel{checksum, name}; }
};

// The built-in level when `path` is empty, else the level source or image in the file, checked
// by every rule of the level. Returns false with one line per problem, each naming the file,
// when the file is not a level a game can play.
bool loadGameLevel(const std::string& path, GameLevel& level, std::vector<std::string>& problems);

}  // namespace krello
