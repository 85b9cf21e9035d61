// Named viewpoints through the built-in level, rendered by the tool, the frame checks and the benchmark.
#pragma once

#include <cstdint>
#include <span>

#include "world/game_state.h"

namespace krello {

struct TourView {
    const char* name;  // file name stem, [a-z0-9_]
    int32_t x;
    int32_t y;
    int32_t z;         // eye height, used only when standing is false
    int16_t angle;     // 0..2047
    int16_t sector;
    bool standing;     // the eye EYE_HEIGHT above the sector's floor instead of at z
};

// The committed list, in the order frames are written and checked.
std::span<const TourView> tourViews();

// Puts the player at a view. A view whose point is not inside its sector (pointInSector, exact),
// or whose sector does not exist, would draw from the wrong place: it is refused, returning false and leaving the
// player unchanged. A standing view's eye comes from the sector's floor.
bool placeViewer(GameState& g, const TourView& view);

}  // namespace krello
