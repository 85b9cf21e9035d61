// Named viewpoints through the built-in level, rendered by the tool, the frame checks and the benchmark.
#pragma once

#include <cstdint>
#include <span>

#include "world/game_state.h"

namespace krello {

// Height a standing eye keeps above its sector's floor.
constexpr int32_t STANDING_EYE = 8000;

struct TourView {
    const char* name;  // file name stem, [a-z0-9_]
    int32_t x;
    int32_t y;
    int32_t z;         // eye height, used only when standing is false
    int16_t angle;     // 0..2047
    int16_t sector;
    bool standing;     // the eye 8000 above the sector's floor instead of at z
};

// The committed list, in the order frames are written and checked.
std::span<const TourView> tourViews();

// Puts the player at a view. A standing view's eye comes from the sector's floor, so a sector
// index past the table is refused: returns false and leaves the player unchanged.
bool placeViewer(GameState& g, const TourView& view);

}  // namespace krello
