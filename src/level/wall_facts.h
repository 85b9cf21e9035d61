// What each wall of a level shows, for the statistics and for tools that design levels.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "world/game_state.h"

namespace krello {

// One wall as the renderer shows it (surface_rules.h holds the rules).
struct WallFacts {
    int sector = -1;                 // the first sector whose walls walk it; -1 when none does
    bool drawn = false;              // a solid wall, or a portal that shows an upper or lower part
    std::optional<int64_t> opening;  // a portal's opening into a real sector; none for a solid wall
    std::optional<double> length;    // in floor units; none when point2 names no wall
    double squareRepeatU = 0;        // with a length: the repeatU that makes its texels square
    double texelRatio = 0;           // with a length: texel width over height as a player sees it
};

// The facts of every wall of the table, in table order. Safe on any table contents.
std::vector<WallFacts> wallFacts(const GameState& g);

}  // namespace krello
