// The level's statistics, each beside the figure of the level the game ships with.
#pragma once

#include <string>
#include <vector>

#include "world/game_state.h"

namespace krello {

// One figure: how it reads for the level at hand and for the shipped level.
struct LevelFigure {
    std::string name;
    std::string actual;
    std::string shipped;
    bool differs() const { return actual != shipped; }
};

// The statistics of the level in g (sectors, loops, portals, extents, heights, surfaces,
// shades, repeats, start and objects). Safe on any table contents: walks are bounded.
std::vector<LevelFigure> levelFigures(const GameState& g);

}  // namespace krello
