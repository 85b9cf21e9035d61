// "--level FILE" for the krello-tool commands that play or draw a level, and that level loaded into a run.
#include "krello_tool/level_option.h"

#include <cstdio>
#include <vector>

#include "cli/option_words.h"
#include "krello_tool/commands.h"

namespace krello::tool {

void addLevelOption(CLI::App* command, std::string& path) {
    command->add_option("--level", path, "play or draw the level source or 49,180-byte image in FILE "
                                         "(default: the built-in level)")
        ->type_name("FILE")
        ->check(cli::existingFile());
}

void loadLevel(GameRun& run, const std::string& path) {
    std::vector<std::string> problems;
    if (run.loadLevel(path, problems)) return;
    for (size_t i = 0; i + 1 < problems.size(); ++i) std::fprintf(stderr, "krello-tool: %s\n", problems[i].c_str());
    throw ToolError{problems.empty() ? path + ": not a level" : problems.back()};
}

}  // namespace krello::tool
