// One frame without a screen, in the game's frame order.
#include "game/headless_frame.h"

#include "game/update_game.h"
#include "render/render_view.h"

namespace krello {

void runFrame(GameState& g, PlatformSeam& platform, uint8_t* frameBuffer, RenderThreads* threads) {
    GameUpdate update(platform);
    if (frameBuffer) renderView(g, frameBuffer, &update, threads);
    else prepareFrame(g, &update);
}

}  // namespace krello
