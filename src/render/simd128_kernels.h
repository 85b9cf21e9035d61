// The browser's simd128 path's own code, which only the WebAssembly build with SIMD compiles
// (render_path_portable.cpp takes it); its flat rows are declared in flat_rows.h.
#pragma once

#include <cstdint>

#include "render/sector_column.h"
#include "render/sprites.h"

namespace krello {

// Wall rows from a texture column turned side by side (texture_columns.h), shaded once per
// column and looked up 16 rows a step with byte swizzles; short walls and walls not in a tile go
// to the reference.
void drawWallRunsSimd128(RenderState& rs, const WallLook& look, const WallRun* runs, int count);

// Billboard rows from a texture column turned side by side, 16 rows a step; short pictures and
// pictures not in a tile go to the reference.
bool drawSpriteRowsSimd128(RenderState& rs, const SpriteRows& rows);

// A tile into the frame, 16 rows of up to 16 columns a step, turned around in registers.
void copyTileSimd128(const uint8_t* tile, int columns, uint8_t* frame, int firstColumn);

}  // namespace krello
