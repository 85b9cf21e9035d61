// How far a level's walls and heights reach: the least and greatest of each.
#pragma once

#include <cstdint>

#include "world/game_state.h"

namespace krello {

// The bounds of the first `walls` walls' coordinates and the first `sectors` sectors' ceiling
// and floor heights. A bound over no records is empty: its least value above its greatest.
struct LevelExtent {
    int64_t minX = INT64_MAX, maxX = INT64_MIN;  // the walls' x coordinates
    int64_t minY = INT64_MAX, maxY = INT64_MIN;  // the walls' y coordinates
    int64_t top = INT64_MAX, bottom = INT64_MIN;  // the sectors' ceilingZ and floorZ together
};

LevelExtent levelExtent(const GameState& g, int walls, int sectors);

}  // namespace krello
