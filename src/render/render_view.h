// The frame driver: mark reset, the frame's update, the object sort, the view rays, 320 columns.
#pragma once

#include <cstdint>

#include "render/render_state.h"
#include "world/game_state.h"

namespace krello {

// The per-frame game update, plugged into the frame at its fixed place (after the mark reset,
// before the sort). The renderer knows nothing of what it does.
class FrameUpdate {
public:
    virtual void run(GameState& g) = 0;

protected:
    ~FrameUpdate() = default;
};

// Sets the heading's cos and sin and column 0's ray and the per-column step from the player's
// angle: a 90-degree view, rays spaced evenly along the chord between its two edges.
void setUpViewRays(RenderState& rs);

// The frame's work before drawing: every wall's mark cleared, the update (if not null), the
// object sort. renderView starts with it; a frame that is not drawn runs it alone.
void prepareFrame(GameState& g, FrameUpdate* update);

// Draws one frame into frameBuffer (320x200 palette indices, rows 320 bytes apart), running
// update (if not null) at its place in the frame.
void renderView(GameState& g, uint8_t* frameBuffer, FrameUpdate* update);

}  // namespace krello
