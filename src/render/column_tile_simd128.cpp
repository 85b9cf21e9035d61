// A tile into the frame with WebAssembly SIMD (the browser's build): blocks of 16 rows by 16
// columns turned around in registers, as the SSE2 copy does with its interleaving shuffles.
#include <wasm_simd128.h>

#include <cstring>

#include "render/column_tile.h"
#include "render/simd128_kernels.h"
#include "world/screen.h"

namespace krello {
namespace {

// Interleaving the low or high halves of two registers in units of 1, 2, 4 and 8 bytes.
inline v128_t low8(v128_t a, v128_t b) { return wasm_i8x16_shuffle(a, b, 0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5, 21, 6, 22, 7, 23); }
inline v128_t high8(v128_t a, v128_t b) { return wasm_i8x16_shuffle(a, b, 8, 24, 9, 25, 10, 26, 11, 27, 12, 28, 13, 29, 14, 30, 15, 31); }
inline v128_t low16(v128_t a, v128_t b) { return wasm_i16x8_shuffle(a, b, 0, 8, 1, 9, 2, 10, 3, 11); }
inline v128_t high16(v128_t a, v128_t b) { return wasm_i16x8_shuffle(a, b, 4, 12, 5, 13, 6, 14, 7, 15); }
inline v128_t low32(v128_t a, v128_t b) { return wasm_i32x4_shuffle(a, b, 0, 4, 1, 5); }
inline v128_t high32(v128_t a, v128_t b) { return wasm_i32x4_shuffle(a, b, 2, 6, 3, 7); }
inline v128_t low64(v128_t a, v128_t b) { return wasm_i64x2_shuffle(a, b, 0, 2); }
inline v128_t high64(v128_t a, v128_t b) { return wasm_i64x2_shuffle(a, b, 1, 3); }

// Rows r..r+15 of tile columns 0..15 as 16 frame rows: row[j] holds row r + j of the 16 columns.
inline void turnBlock(const uint8_t* tile, int r, v128_t row[16]) {
    v128_t a[16];
    for (int k = 0; k < 16; ++k) a[k] = wasm_v128_load(tile + k * TILE_COLUMN_BYTES + r);
    // b[8h + m]: rows 8h..8h+7 of columns 2m, 2m+1, a row per 16-bit unit.
    v128_t b[16];
    for (int m = 0; m < 8; ++m) {
        b[m] = low8(a[2 * m], a[2 * m + 1]);
        b[8 + m] = high8(a[2 * m], a[2 * m + 1]);
    }
    // a[4t + p]: rows 4t..4t+3 of columns 4p..4p+3, a row per 32-bit unit.
    for (int h = 0; h < 2; ++h)
        for (int p = 0; p < 4; ++p) {
            a[8 * h + p] = low16(b[8 * h + 2 * p], b[8 * h + 2 * p + 1]);
            a[8 * h + 4 + p] = high16(b[8 * h + 2 * p], b[8 * h + 2 * p + 1]);
        }
    // b[4t + 2e + q]: rows 4t + 2e, 4t + 2e + 1 of columns 8q..8q+7, a row per 64-bit unit.
    for (int t = 0; t < 4; ++t)
        for (int q = 0; q < 2; ++q) {
            b[4 * t + q] = low32(a[4 * t + 2 * q], a[4 * t + 2 * q + 1]);
            b[4 * t + 2 + q] = high32(a[4 * t + 2 * q], a[4 * t + 2 * q + 1]);
        }
    for (int t = 0; t < 4; ++t)
        for (int e = 0; e < 2; ++e) {
            row[4 * t + 2 * e] = low64(b[4 * t + 2 * e], b[4 * t + 2 * e + 1]);
            row[4 * t + 2 * e + 1] = high64(b[4 * t + 2 * e], b[4 * t + 2 * e + 1]);
        }
}

}  // namespace

void copyTileSimd128(const uint8_t* tile, int columns, uint8_t* frame, int firstColumn) {
    v128_t row[16];
    for (int r = 0; r < SCREEN_HEIGHT; r += 16) {
        // The last block reads rows 200..207 of each column (inside the tile) but stores none.
        turnBlock(tile, r, row);
        const int rows = SCREEN_HEIGHT - r < 16 ? SCREEN_HEIGHT - r : 16;
        uint8_t* out = frame + r * SCREEN_WIDTH + firstColumn;
        for (int j = 0; j < rows; ++j, out += SCREEN_WIDTH) {
            if (columns == 16) {
                wasm_v128_store(out, row[j]);
            } else {
                alignas(16) uint8_t bytes[16];
                wasm_v128_store(bytes, row[j]);
                std::memcpy(out, bytes, static_cast<size_t>(columns));
            }
        }
    }
}

}  // namespace krello
