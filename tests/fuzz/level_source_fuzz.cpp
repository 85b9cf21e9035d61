// Fuzzes the level source: parsed, laid out and validated, as a small level and as the whole one.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "fuzz_check.h"
#include "level/level_source.h"
#include "level/level_validator.h"
#include "level/source_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace krello;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string file = "fuzz.level";
    // One game a process, blanked for each input: a game-sized allocation is mapped and faulted in
    // afresh every time, which was most of an input's time.
    static const auto blank = std::make_unique<const GameState>();
    static const auto g = std::make_unique<GameState>();
    *g = *blank;
    for (const LevelSize levelSize : {LevelSize::Partial, LevelSize::Full}) {
        LevelSourceMap map;
        std::vector<std::string> errors;
        if (!compileLevelSource(text, file, levelSize, *g, map, errors)) {
            fuzz::require(!errors.empty(), "a refused source says why");
            // The parser's or the builder's 100, their closing line, and what a whole level lacks.
            fuzz::require(errors.size() <= LEVEL_SOURCE_MAX_ERRORS + 4, "errors stop at the limit");
            fuzz::requireOneLineEach(errors, file);
            continue;
        }
        fuzz::requireOneLineEach(validateLevel(*g, LevelOrigin{file, &map}, levelSize), file);
    }
    return 0;
}
