// The x86 paths' own code, which only x86 builds compile (render_path_x86.cpp takes it).
#pragma once

#include "render/flat_rows.h"
#include "render/sector_column.h"
#include "render/sprites.h"

// What the AVX-512 code asks of the processor: the path is offered only where all of it is.
#define KRELLO_AVX512 __attribute__((target("avx512f,avx512bw,avx512vl,avx512dq,avx512vbmi,fma")))

namespace krello {

// Four flat rows a step with SSE2 (two divisions of two lanes each per coordinate), the last
// step ending at the run's end; runs under four rows, and runs not in a tile, go to the reference.
void drawFlatRunSse2(const FlatRun& run);
// The same with AVX2 (one division of four lanes per coordinate, or FMA steps in its place).
void drawFlatRunAvx2(const FlatRun& run);
// Eight rows a step with AVX-512 (one division of eight lanes per coordinate, or FMA steps);
// a run under eight rows is one step with masked loads and stores.
void drawFlatRunAvx512(const FlatRun& run);

// Wall rows from a texture column turned side by side (texture_columns.h), shaded once per
// column and looked up 32 rows a step with AVX2 (byte shuffles) or 64 with AVX-512 (VBMI byte
// permutes); walls not in a tile, and with AVX2 short walls, go to the reference. AVX-512 looks
// up the raw texels of runs of up to 32 rows and shades only those.
void drawWallRunsAvx2(RenderState& rs, const WallLook& look, const WallRun* runs, int count);
void drawWallRunsAvx512(RenderState& rs, const WallLook& look, const WallRun* runs, int count);

// Billboard rows from a texture column turned side by side, 32 rows a step with AVX2 (byte
// shuffles); short pictures and pictures not in a tile go to the reference.
bool drawSpriteRowsAvx2(RenderState& rs, const SpriteRows& rows);

// Whether two texture slots' bytes are the same, 128 bytes a step (AVX2): the comparison the
// avx2 and avx512 paths give TextureColumns::of.
bool sameTextureBytesAvx2(const uint8_t* a, const uint8_t* b);

// The nearest-wall search with each wall's x and y side by side (SSE2).
WallHit findNearestWallSse2(const RenderState& rs, uint16_t sector);

// A tile into the frame, 16 rows of up to 16 columns a step (SSE2), or 32 (AVX2).
void copyTileSse2(const uint8_t* tile, int columns, uint8_t* frame, int firstColumn);
void copyTileAvx2(const uint8_t* tile, int columns, uint8_t* frame, int firstColumn);

}  // namespace krello
