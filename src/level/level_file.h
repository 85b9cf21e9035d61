// Reading a level file from disk: a text source is compiled, a binary level image decoded.
#pragma once

#include <string>
#include <vector>

#include "level/level_source.h"
#include "world/game_state.h"

namespace krello {

// What was read and where its records came from.
struct LevelFile {
    bool isSource = false;  // text source (compiled) rather than a 49,180-byte image (decoded)
    LevelSourceMap map;     // line numbers, for a source
    std::vector<std::string> errors;  // why the file could not be read as a level, one per line
};

// A file holding a NUL byte is taken for an image, any other file for a source. Returns false
// when the file cannot be read, is an image of the wrong size, or is not a well-formed source;
// `out.errors` then says why, each line naming the file.
bool readLevelFile(const std::string& path, LevelSize size, GameState& g, LevelFile& out);

// The rule violations of a level that was read successfully, one line each.
std::vector<std::string> validateLevelFile(const GameState& g, const std::string& path,
                                           const LevelFile& file, LevelSize size);

}  // namespace krello
