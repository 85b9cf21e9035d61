// A tile into the frame with AVX2: two blocks of 16 rows by 16 columns turned around at once.
#include <immintrin.h>

#include <cstring>

#include "render/column_lookup_avx2.h"
#include "render/column_tile.h"
#include "render/x86_kernels.h"
#include "world/screen.h"

namespace krello {
namespace {

// Rows r..r+31 of tile columns 0..15 as frame rows: the low half of row[j] holds row r + j of
// the 16 columns, the high half row r + 16 + j. The byte interleaving of the SSE2 copy, done in
// both 128-bit halves of each register at once (AVX2's unpacks work within the halves), so each
// half turns its own block of 16 rows.
KRELLO_AVX2 inline void turnTwoBlocks(const uint8_t* tile, int r, __m256i row[16]) {
    __m256i a[16];
    for (int k = 0; k < 16; ++k) a[k] = _mm256_load_si256(reinterpret_cast<const __m256i*>(tile + k * TILE_COLUMN_BYTES + r));
    // b[8h + m]: rows 8h..8h+7 (of each half's block) of columns 2m, 2m+1, a row per 16-bit unit.
    __m256i b[16];
    for (int m = 0; m < 8; ++m) {
        b[m] = _mm256_unpacklo_epi8(a[2 * m], a[2 * m + 1]);
        b[8 + m] = _mm256_unpackhi_epi8(a[2 * m], a[2 * m + 1]);
    }
    // a[4t + p]: rows 4t..4t+3 of columns 4p..4p+3, a row per 32-bit unit.
    for (int h = 0; h < 2; ++h)
        for (int p = 0; p < 4; ++p) {
            a[8 * h + p] = _mm256_unpacklo_epi16(b[8 * h + 2 * p], b[8 * h + 2 * p + 1]);
            a[8 * h + 4 + p] = _mm256_unpackhi_epi16(b[8 * h + 2 * p], b[8 * h + 2 * p + 1]);
        }
    // b[4t + 2e + q]: rows 4t + 2e, 4t + 2e + 1 of columns 8q..8q+7, a row per 64-bit unit.
    for (int t = 0; t < 4; ++t)
        for (int q = 0; q < 2; ++q) {
            b[4 * t + q] = _mm256_unpacklo_epi32(a[4 * t + 2 * q], a[4 * t + 2 * q + 1]);
            b[4 * t + 2 + q] = _mm256_unpackhi_epi32(a[4 * t + 2 * q], a[4 * t + 2 * q + 1]);
        }
    for (int t = 0; t < 4; ++t)
        for (int e = 0; e < 2; ++e) {
            row[4 * t + 2 * e] = _mm256_unpacklo_epi64(b[4 * t + 2 * e], b[4 * t + 2 * e + 1]);
            row[4 * t + 2 * e + 1] = _mm256_unpackhi_epi64(b[4 * t + 2 * e], b[4 * t + 2 * e + 1]);
        }
}

// One frame row of the tile's first `columns` columns.
KRELLO_AVX2 inline void storeRow(__m128i row, int columns, uint8_t* out) {
    if (columns == 16) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), row);
    } else if (columns == 8) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), row);
    } else {
        alignas(16) uint8_t bytes[16];
        _mm_store_si128(reinterpret_cast<__m128i*>(bytes), row);
        std::memcpy(out, bytes, static_cast<size_t>(columns));
    }
}

}  // namespace

KRELLO_AVX2 void copyTileAvx2(const uint8_t* tile, int columns, uint8_t* frame, int firstColumn) {
    static_assert(TILE_COLUMN_BYTES % 32 == 0 && TILE_COLUMN_BYTES >= 224, "the last blocks' loads stay in their column");
    __m256i row[16];
    for (int r = 0; r < SCREEN_HEIGHT; r += 32) {
        // The last pair reads rows 200..223 of each column (inside the tile) but stores none.
        turnTwoBlocks(tile, r, row);
        uint8_t* out = frame + r * SCREEN_WIDTH + firstColumn;
        const int low = SCREEN_HEIGHT - r < 16 ? SCREEN_HEIGHT - r : 16;
        for (int j = 0; j < low; ++j) storeRow(_mm256_castsi256_si128(row[j]), columns, out + j * SCREEN_WIDTH);
        const int high = SCREEN_HEIGHT - r - 16 < 16 ? SCREEN_HEIGHT - r - 16 : 16;
        for (int j = 0; j < high; ++j)
            storeRow(_mm256_extracti128_si256(row[j], 1), columns, out + (16 + j) * SCREEN_WIDTH);
    }
}

}  // namespace krello
