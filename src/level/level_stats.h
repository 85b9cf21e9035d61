// The level's statistics, each beside the figure of the level the game ships with.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "world/game_state.h"

namespace krello {

// True when `actual` reads exactly `expected`, or is a number within the bound `expected`
// names (a trailing % belongs to the number).
bool figureMeets(const std::string& actual, const std::string& expected);

// One figure: how it reads for the level at hand, and what the golden list expects of it.
struct LevelFigure {
    std::string name;
    std::string actual;
    std::string shipped;  // the golden line: exact text, or "at least N", "at most N", "between N and M"
    bool differs() const { return !figureMeets(actual, shipped); }
};

// The statistics of the level in g (sectors, loops, portals and their openings, extents,
// heights, surfaces, shades, repeats and texel shapes, start and objects), each beside its line
// in `golden`, the text of a golden list ("name: expected" a line, # comments; the shipped
// level's is level/krello.stats). A golden line that names no figure is listed as a figure
// that cannot be measured, so it differs. Safe on any table contents: walks are bounded.
std::vector<LevelFigure> levelFigures(const GameState& g, std::string_view golden);

}  // namespace krello
