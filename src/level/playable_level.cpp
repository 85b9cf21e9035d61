// A level file for a game: read, checked by the level's validator and turned into the image a game starts from.
#include "level/playable_level.h"

#include <memory>

#include "level/level_file.h"

namespace krello {

bool readPlayableLevel(const std::string& path, LevelImageBytes& image, std::vector<std::string>& problems) {
    auto g = std::make_unique<GameState>();
    LevelFile file;
    if (!readLevelFile(path, LevelSize::Playable, *g, file)) {
        problems = file.errors;
        if (problems.empty()) problems.push_back(path + ": not a level");
        return false;
    }
    problems = validateLevelFile(*g, path, file, LevelSize::Playable);
    if (!problems.empty()) return false;
    encodeLevelImage(*g, image);
    return true;
}

}  // namespace krello
