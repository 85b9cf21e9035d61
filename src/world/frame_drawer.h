// What draws a game state into a frame: the renderer, handed to the game by whoever shows frames.
#pragma once

#include <cstdint>

#include "world/game_state.h"

namespace krello {

// The game does not draw, and the renderer does not run the game: a program that shows frames
// hands the game a FrameDrawer (the renderer's, on the program's threads), so the simulation
// builds and runs without one.
class FrameDrawer {
public:
    // Draws the state as it stands into frameBuffer (320x200 palette indices, rows 320 bytes
    // apart). The state is only read.
    virtual void draw(const GameState& g, uint8_t* frameBuffer) = 0;

protected:
    ~FrameDrawer() = default;
};

}  // namespace krello
