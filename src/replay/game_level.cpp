// The level a game plays: its image, the CRC-32 demos name it by, and its name.
#include "replay/game_level.h"

#include <algorithm>
#include <filesystem>

#include "level/builtin_level.h"
#include "replay/crc32.h"

namespace krello {

bool loadGameLevel(const std::string& path, GameLevel& level, std::vector<std::string>& problems) {
    problems.clear();
    if (path.empty()) {
        std::copy(builtinLevelImage().begin(), builtinLevelImage().end(), level.image.begin());
        level.name.clear();
    } else {
        if (!readPlayableLevel(path, level.image, problems)) return false;
        level.name = std::filesystem::path(path).filename().string();
    }
    level.checksum = crc32(level.image);
    return true;
}

}  // namespace krello
