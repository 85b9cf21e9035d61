// The per-frame game update: its fourteen steps in the order the game runs them.
#pragma once

#include "game/platform_seam.h"
#include "render/render_view.h"
#include "world/game_state.h"

namespace krello {

// One update: clock, player, collision, vertical motion, animation, shots, enemies, hits.
void updateGame(GameState& g, PlatformSeam& platform);

// The update as the frame driver runs it.
class GameUpdate final : public FrameUpdate {
public:
    explicit GameUpdate(PlatformSeam& platform) : platform_(platform) {}
    void run(GameState& g) override { updateGame(g, platform_); }

private:
    PlatformSeam& platform_;
};

}  // namespace krello
