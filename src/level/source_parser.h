// The level source's statements as the parser reads them, before any table is laid out.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "world/game_state.h"

namespace krello {

// Marks `repeatU auto`: outside the field's range, so no written value can mean it.
constexpr int REPEAT_U_AUTO = 1000;

// A wall's settings as written; what is not written stays empty and falls back further.
struct WallSettings {
    std::optional<int64_t> texture, shade, repeatU, repeatV;  // repeatU may be REPEAT_U_AUTO
};

// One `loop` statement.
struct SourceLoop {
    int line = 0;                    // where it was written
    std::vector<std::string> names;  // its points in order
};

// One `wall FROM TO ...` statement: settings for the sector's wall running from FROM to TO.
struct SourceWallOverride {
    int line = 0;           // where it was written
    std::string from, to;   // the wall's two point names
    WallSettings settings;  // the settings it gives
};

// One `sector N` block.
struct SourceSector {
    int line = 0;                                        // the `sector N` statement
    std::map<std::string, int64_t, std::less<>> values;  // ceiling, floor, textures, shades, falloff
    WallSettings defaults;                               // the `walls` statement's settings
    int defaultsLine = 0;                                // where that was, 0 if nowhere
    std::vector<SourceLoop> loops;                       // in the order written
    std::vector<SourceWallOverride> overrides;           // `wall` statements
};

// One `point NAME X Y` statement.
struct SourcePoint {
    int32_t x = 0, y = 0;  // where it lies
    int line = 0;          // where it was written
};

// One `object I ...` statement, already as its record.
struct SourceObject {
    int line = 0;        // where it was written
    GameObject record{};  // the record it makes, defaults and reserved bytes filled
};

// A whole source as written.
struct Source {
    int startLine = 0;                                       // the `start` statement, 0 if none
    PlayerState start{};                                     // the player's start
    std::map<std::string, SourcePoint, std::less<>> points;  // by name
    std::vector<SourceSector> sectors;                       // in index order
    std::vector<SourceObject> objects;                       // in index order
    int pictureLine = 0;                                     // the `picture` statement, 0 if none
    bool pictureClosed = false;                              // its `end` was seen
    int pictureRows = 0;                                     // rows read so far
    std::array<uint8_t, ENEMY_PICTURE_BYTES> picture{};      // packed two pixels a byte
};

// Past this many problems the text is hardly a level: the parser and the builder stop listing
// them and end with tooManyErrors(file), so one bad line repeated cannot flood the terminal.
constexpr size_t LEVEL_SOURCE_MAX_ERRORS = 100;
inline std::string tooManyErrors(const std::string& file) { return file + ": too many errors, giving up"; }

// Reads `text` (named `file` in messages) into `source`, checking each statement's shape and
// numbers. Appends one line per problem to `errors`, each naming the file and line; returns
// true when there was none. Names are not resolved here: that is the builder's work.
bool parseLevelSource(std::string_view text, const std::string& file, Source& source,
                      std::vector<std::string>& errors);

}  // namespace krello
