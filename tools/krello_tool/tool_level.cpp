// The level a krello-tool command plays or draws: the built-in one, or a level file given with --level.
#include "krello_tool/tool_level.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "cli/option_words.h"
#include "krello_tool/commands.h"
#include "level/builtin_level.h"
#include "replay/crc32.h"
#include "world/level_image.h"

namespace krello::tool {

ToolLevel loadToolLevel(const std::string& path) {
    ToolLevel level;
    if (path.empty()) {
        std::copy(builtinLevelImage().begin(), builtinLevelImage().end(), level.image.begin());
    } else {
        std::vector<std::string> problems;
        if (!readPlayableLevel(path, level.image, problems)) {
            for (size_t i = 0; i + 1 < problems.size(); ++i) std::fprintf(stderr, "%s\n", problems[i].c_str());
            throw ToolError{problems.back()};
        }
        level.name = std::filesystem::path(path).filename().string();
    }
    level.checksum = crc32(level.image);
    return level;
}

void loadLevelInto(GameState& g, const ToolLevel& level) { decodeLevelImage(level.image, g); }

void addLevelOption(CLI::App* command, std::string& path) {
    command->add_option("--level", path, "play or draw the level source or 49,180-byte image in FILE "
                                         "(default: the built-in level)")
        ->type_name("FILE")
        ->check(cli::existingFile());
}

}  // namespace krello::tool
