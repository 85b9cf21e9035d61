// Reading a level file from disk: a text source is compiled, a binary level image decoded.
#pragma once

#include <string>
#include <vector>

#include "level/level_source.h"
#include "world/game_state.h"

namespace krello {

// What was read and where its records came from.
struct LevelFile {
    bool isSource = false;  // a source (compiled) rather than a 49,180-byte image (decoded)
    LevelSourceMap map;     // line numbers, for a source
    std::vector<std::string> errors;  // why the file could not be read as a level, one per line
};

// The kind is told by the content: a file of exactly 49,180 bytes that is not all text and does
// not begin with the source's `level` statement is an image; any other file is a source, and a
// stray byte that is no text is reported by its line.
// A file that is no text and does not begin with the source's `level` statement is neither,
// and says so in one line. Returns false when the file cannot be read, is neither kind, or is
// not a well-formed source; `out.errors` then says why, each line naming the file.
bool readLevelFile(const std::string& path, LevelSize size, GameState& g, LevelFile& out);

// The rule violations of a level that was read successfully, one line each.
std::vector<std::string> validateLevelFile(const GameState& g, const std::string& path,
                                           const LevelFile& file, LevelSize size);

// The most faults a message lists: a corrupt image breaks thousands of rules, and the first few
// say what is wrong.
constexpr size_t MAX_LISTED_FAULTS = 20;

// `faults` as they are listed: the first MAX_LISTED_FAULTS, then "and N more faults" when there
// were more.
std::vector<std::string> listedFaults(std::vector<std::string> faults);

}  // namespace krello
