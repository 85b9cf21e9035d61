// The level a krello-tool command plays or draws: the built-in one, or a level file given with --level.
#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <string>

#include "level/playable_level.h"
#include "replay/demo.h"
#include "world/game_state.h"

namespace krello::tool {

struct ToolLevel {
    std::string name;       // the file's name without its folder, empty for the built-in level
    LevelImageBytes image{};  // what every game of the command starts from
    uint32_t checksum = 0;  // CRC-32 of the image, as demos record it

    DemoLevel demoLevel() const { return DemoLevel{checksum, name}; }
};

// The level in `path`, or the built-in one when it is empty. A file that cannot be read, does
// not parse or breaks a rule of the level ends the command: every problem on its own line, the
// last one as the ToolError (status 2).
ToolLevel loadToolLevel(const std::string& path);

// A fresh game's tables from the level (start-up has not run yet).
void loadLevelInto(GameState& g, const ToolLevel& level);

// Adds "--level FILE" to a command.
void addLevelOption(CLI::App* command, std::string& path);

}  // namespace krello::tool
