// Input scripts: one text line per update, the clock step and the keys held during it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "game/platform_seam.h"

namespace krello {

// One update's input: the clock advances by dt ms before it, and these keys are held.
struct ScriptStep {
    uint16_t dt = 0;
    uint8_t keys = 0;  // bit k set: GameKey k is held
};

// The letters of the keys, in GameKey order: Left, Right, Up, Down, A, Space.
constexpr std::string_view SCRIPT_KEY_LETTERS = "LRUDAS";

// Parses a script: lines "DT KEYS", DT a decimal 0..65535, KEYS letters from L R U D A S
// (each at most once) or "-" for none. Blank lines and lines starting with '#' are skipped.
// On failure returns false with error = "NAME:LINE: what is wrong", and steps left partly filled.
bool parseInputScript(std::string_view text, const std::string& name, std::vector<ScriptStep>& steps,
                      std::string& error);

// Reads and parses a script file; errors name the file (and line).
bool readInputScriptFile(const std::string& path, std::vector<ScriptStep>& steps, std::string& error);

// Writes steps back as script text (one "DT KEYS" line each).
std::string formatInputScript(const std::vector<ScriptStep>& steps);

}  // namespace krello
