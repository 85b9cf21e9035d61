// The code in which the render paths differ, one table per path.
#pragma once

#include <cstdint>

#include "render/render_path.h"

namespace krello {

struct FlatRun;
struct RenderState;
struct SpriteRows;
struct WallHit;
struct WallLook;
struct WallRun;

// What a column calls through its path: once per run of rows, sector visit or tile, never per
// pixel. Every entry gives the scalar reference's result.
struct PathKernels {
    // Whether columns are drawn into the thread's tile (rows side by side) and copied into the
    // frame a tile at a time, as the vector paths need; the reference draws straight into it.
    bool tiles;
    void (*drawFlatRun)(const FlatRun& run);
    void (*drawWallRuns)(RenderState& rs, const WallLook& look, const WallRun* runs, int count);
    WallHit (*findNearestWall)(const RenderState& rs, uint16_t sector);
    // Draws a billboard's rows in the current column; true when any texel was not a hole.
    bool (*drawSpriteRows)(RenderState& rs, const SpriteRows& rows);
    // Copies a tile's columns into the frame (column_tile.h).
    void (*copyTile)(const uint8_t* tile, int columns, uint8_t* frame, int firstColumn);
};

// The table of a path. The build's file for its processor family (render_path_x86.cpp, or
// render_path_portable.cpp everywhere else) holds the tables and says which paths exist; a path
// this build lacks gets the scalar table.
const PathKernels& pathKernels(RenderPath path);

}  // namespace krello
