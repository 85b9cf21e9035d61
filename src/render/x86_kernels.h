// The x86 paths' own code, which only x86 builds compile (render_path_x86.cpp takes it).
#pragma once

#include "render/flat_rows.h"
#include "render/sector_column.h"

namespace krello {

// Four flat rows a step with SSE2 (two divisions of two lanes each per coordinate), the last
// step ending at the run's end; runs under four rows go to the reference.
void drawFlatRunSse2(const FlatRun& run);
// The same with AVX2 (one division of four lanes per coordinate).
void drawFlatRunAvx2(const FlatRun& run);

// The nearest-wall search with each wall's x and y side by side (SSE2).
WallHit findNearestWallSse2(const RenderState& rs, uint16_t sector);

}  // namespace krello
