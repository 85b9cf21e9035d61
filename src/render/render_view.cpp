// The frame driver: mark reset, update, sort, view rays and the 320 columns.
#include "render/render_view.h"

namespace krello {

// To be written with the sector column renderer.
void renderView(GameState& g, uint8_t* frameBuffer, FrameUpdate* update) {
    for (Wall& w : g.walls) w.mark = -1;
    if (update) update->run(g);
    (void)frameBuffer;
}

}  // namespace krello
