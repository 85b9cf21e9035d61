// A column thread's tile: the columns it is drawing, each one's rows side by side in memory.
#include "render/column_tile.h"

#include "world/screen.h"

namespace krello {

void copyTileScalar(const uint8_t* tile, int columns, uint8_t* frame, int firstColumn) {
    for (int r = 0; r < SCREEN_HEIGHT; ++r) {
        uint8_t* row = frame + r * SCREEN_WIDTH + firstColumn;
        for (int k = 0; k < columns; ++k) row[k] = tile[k * TILE_COLUMN_BYTES + r];
    }
}

}  // namespace krello
