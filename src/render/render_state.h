// What the frame driver hands every column: the frame buffer, the column, its ray and the heading.
#pragma once

#include <cstdint>

#include "world/angle.h"
#include "world/game_state.h"
#include "world/screen.h"

namespace krello {

// The renderer's working state for one frame. The driver builds it on its own stack, so nothing
// of a frame outlives it and two games never share it.
struct RenderState {
    GameState& game;
    uint8_t* frameBuffer = nullptr;  // 320 x 200 palette indices, rows 320 bytes apart
    int16_t screenColumn = 0;        // the column being drawn; also the stamp put into marks
    double rayDirX = 0.0;            // the current column's ray, not of unit length
    double rayDirY = 0.0;
    double rayStepX = 0.0;  // added to the ray from one column to the next
    double rayStepY = 0.0;
    double headingCos = 1.0;  // cos and sin of the player's heading, the same for the whole frame
    double headingSin = 0.0;
};

// A texture slot of the bank as an attribute byte names it. Only slots 0..13 exist; the two
// numbers past the bank (14, 15) read an all-zero texture instead of memory beyond it.
const uint8_t* textureOf(const GameState& g, uint8_t attribute);

// shaded(t): t minus the shade offset in signed 16-bit arithmetic, clamped to 0..63.
inline uint8_t shadeTexel(uint8_t texel, int16_t shadeOffset) {
    const int16_t v = static_cast<int16_t>(static_cast<uint16_t>(texel - shadeOffset));
    if (v < 0) return 0;
    if (v > 63) return 63;
    return static_cast<uint8_t>(v);
}

}  // namespace krello
