// A column thread's tile: the columns it is drawing, each one's rows side by side in memory.
#pragma once

#include <array>
#include <cstdint>

namespace krello {

// Columns a tile holds. A frame's columns go to the screen row by row, 320 bytes apart, so a
// column drawn straight into it writes one byte per cache line; the vector paths draw a column
// with its rows side by side instead (a run of rows is one store) and copy whole tiles into the
// frame, a row of up to 16 columns at a time.
constexpr int TILE_COLUMNS = 16;
// Bytes from one column of a tile to the next: the 200 rows and room beyond the last row, so a
// vector load or store that starts inside a column stays inside the tile.
constexpr int TILE_COLUMN_BYTES = 256;

struct ColumnTile {
    alignas(64) std::array<uint8_t, TILE_COLUMNS * TILE_COLUMN_BYTES> bytes{};  // column k at k * 256

    uint8_t* column(int k) { return bytes.data() + k * TILE_COLUMN_BYTES; }
};

// Copies rows 0..199 of the tile's first `columns` columns (at most TILE_COLUMNS) into the frame
// (320 x 200, rows 320 bytes apart) at screen columns firstColumn onwards. The plain reference;
// each build has a faster one (path_kernels.h).
void copyTileScalar(const uint8_t* tile, int columns, uint8_t* frame, int firstColumn);

}  // namespace krello
