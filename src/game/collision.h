// Wall collision: the scan for the first wall a move crosses, and what the player or an object does then.
#pragma once

#include <cstdint>

#include "world/game_state.h"

namespace krello {

// The first wall a straight move crosses within one sector, measured along the heading.
struct WallCrossing {
    int32_t wall = -1;  // -1: the move crosses nothing
    double edgeX = 0.0;  // the crossed wall's direction, from its point to its point2
    double edgeY = 0.0;
};

// Tests the move (prevX, prevY) -> (newX, newY) against the walls of sector, skipping walls
// that an earlier scan of this update crossed (mark -2).
WallCrossing scanSectorWalls(const GameState& g, int16_t sector, int32_t prevX, int32_t prevY,
                             int32_t newX, int32_t newY, int16_t heading);

// Moves the player through portals from sector on, or sets it back from a solid wall.
void collidePlayer(GameState& g, int16_t sector);

// Moves shot `index` through portals or kills it on a solid wall; bounces an enemy off any wall.
void collideObject(GameState& g, int16_t sector, int32_t prevX, int32_t prevY, int16_t index);

}  // namespace krello
