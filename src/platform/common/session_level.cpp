// The level a session plays: the built-in one, or a level file given with --level.
#include "platform/common/session_level.h"

#include <algorithm>
#include <filesystem>

#include "level/builtin_level.h"
#include "replay/crc32.h"
#include "world/level_image.h"

namespace krello {

bool loadSessionLevel(const std::string& path, SessionLevel& level, std::vector<std::string>& problems) {
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

void loadLevelInto(GameState& g, const SessionLevel& level) { decodeLevelImage(level.image, g); }

}  // namespace krello
