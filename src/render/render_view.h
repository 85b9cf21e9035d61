// The frame driver: the view rays and the 320 columns of one frame.
#pragma once

#include <cstdint>

#include "render/render_state.h"
#include "world/game_state.h"

namespace krello {

// Sets the heading's cos and sin and column 0's ray and the per-column step from the player's
// angle: a 90-degree view, rays spaced evenly along the chord between its two edges.
void setUpViewRays(RenderState& rs);

// Draws the state as it stands into frameBuffer (320x200 palette indices, rows 320 bytes
// apart). Only drawing: the game's frame (game/frame.h) clears the marks and sorts the objects
// first. Every wall drawn is marked with its column, and a wall already marked with a column
// is not looked at again in it, so the marks must start clear (-1, or -2 where the update
// crossed a portal).
void renderView(GameState& g, uint8_t* frameBuffer);

}  // namespace krello
