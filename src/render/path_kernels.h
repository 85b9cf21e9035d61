// The code in which the render paths differ, one table per path.
#pragma once

#include <cstdint>

#include "render/render_path.h"

namespace krello {

struct FlatRun;
struct RenderState;
struct WallHit;

// What a column calls through its path: once per run of flat rows and once per sector visit,
// never per pixel. Every entry gives the scalar reference's result.
struct PathKernels {
    void (*drawFlatRun)(const FlatRun& run);
    WallHit (*findNearestWall)(const RenderState& rs, uint16_t sector);
};

// The table of a path. The build's file for its processor family (render_path_x86.cpp, or
// render_path_portable.cpp everywhere else) holds the tables and says which paths exist; a path
// this build lacks gets the scalar table.
const PathKernels& pathKernels(RenderPath path);

}  // namespace krello
