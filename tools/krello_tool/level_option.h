// "--level FILE" for the krello-tool commands that play or draw a level, and that level loaded into a run.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

#include "replay/game_run.h"

namespace krello::tool {

// Adds "--level FILE" to a command.
void addLevelOption(CLI::App* command, std::string& path);

// Loads the level in `path`, or the built-in one when it is empty, into `run`. A file that
// cannot be read, does not parse or breaks a rule of the level ends the command: every problem
// on its own line, the last one as the ToolError (status 2).
void loadLevel(GameRun& run, const std::string& path);

}  // namespace krello::tool
