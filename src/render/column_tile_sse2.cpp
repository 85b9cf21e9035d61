// A tile into the frame with SSE2: blocks of 16 rows by 16 columns turned around in registers.
#include <emmintrin.h>

#include <cstring>

#include "render/column_tile.h"
#include "render/x86_kernels.h"
#include "world/screen.h"

namespace krello {
namespace {

// Rows r..r+15 of tile columns 0..15 as 16 frame rows: row[j] holds row r + j of the 16
// columns. Interleaving bytes, then pairs, fours and eights of two registers at a time.
inline void turnBlock(const uint8_t* tile, int r, __m128i row[16]) {
    __m128i a[16];
    for (int k = 0; k < 16; ++k) a[k] = _mm_load_si128(reinterpret_cast<const __m128i*>(tile + k * TILE_COLUMN_BYTES + r));
    // b[8h + m]: rows 8h..8h+7 of columns 2m, 2m+1, a row per 16-bit unit.
    __m128i b[16];
    for (int m = 0; m < 8; ++m) {
        b[m] = _mm_unpacklo_epi8(a[2 * m], a[2 * m + 1]);
        b[8 + m] = _mm_unpackhi_epi8(a[2 * m], a[2 * m + 1]);
    }
    // a[4t + p]: rows 4t..4t+3 of columns 4p..4p+3, a row per 32-bit unit.
    for (int h = 0; h < 2; ++h)
        for (int p = 0; p < 4; ++p) {
            a[8 * h + p] = _mm_unpacklo_epi16(b[8 * h + 2 * p], b[8 * h + 2 * p + 1]);
            a[8 * h + 4 + p] = _mm_unpackhi_epi16(b[8 * h + 2 * p], b[8 * h + 2 * p + 1]);
        }
    // b[4t + 2e + q]: rows 4t + 2e, 4t + 2e + 1 of columns 8q..8q+7, a row per 64-bit unit.
    for (int t = 0; t < 4; ++t)
        for (int q = 0; q < 2; ++q) {
            b[4 * t + q] = _mm_unpacklo_epi32(a[4 * t + 2 * q], a[4 * t + 2 * q + 1]);
            b[4 * t + 2 + q] = _mm_unpackhi_epi32(a[4 * t + 2 * q], a[4 * t + 2 * q + 1]);
        }
    for (int t = 0; t < 4; ++t)
        for (int e = 0; e < 2; ++e) {
            row[4 * t + 2 * e] = _mm_unpacklo_epi64(b[4 * t + 2 * e], b[4 * t + 2 * e + 1]);
            row[4 * t + 2 * e + 1] = _mm_unpackhi_epi64(b[4 * t + 2 * e], b[4 * t + 2 * e + 1]);
        }
}

}  // namespace

void copyTileSse2(const uint8_t* tile, int columns, uint8_t* frame, int firstColumn) {
    __m128i row[16];
    for (int r = 0; r < SCREEN_HEIGHT; r += 16) {
        // The last block reads rows 200..207 of each column (inside the tile) but stores none.
        turnBlock(tile, r, row);
        const int rows = SCREEN_HEIGHT - r < 16 ? SCREEN_HEIGHT - r : 16;
        uint8_t* out = frame + r * SCREEN_WIDTH + firstColumn;
        for (int j = 0; j < rows; ++j, out += SCREEN_WIDTH) {
            if (columns == 16) {
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out), row[j]);
            } else if (columns == 8) {
                _mm_storel_epi64(reinterpret_cast<__m128i*>(out), row[j]);
            } else {
                alignas(16) uint8_t bytes[16];
                _mm_store_si128(reinterpret_cast<__m128i*>(bytes), row[j]);
                std::memcpy(out, bytes, static_cast<size_t>(columns));
            }
        }
    }
}

}  // namespace krello
