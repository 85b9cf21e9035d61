// The level source compiled: parsed into statements, then laid out as tables.
#include "level/level_source.h"

#include "level/level_builder.h"
#include "level/source_parser.h"

namespace krello {

bool compileLevelSource(std::string_view text, const std::string& file, LevelSize size,
                        GameState& g, LevelSourceMap& map, std::vector<std::string>& errors) {
    errors.clear();
    map = LevelSourceMap{};
    map.file = file;
    Source source;
    if (!parseLevelSource(text, file, source, errors)) return false;
    buildLevel(source, file, size, g, map, errors);
    return errors.empty();
}

}  // namespace krello
