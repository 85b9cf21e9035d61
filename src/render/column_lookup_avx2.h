// A texture column's 128 bytes looked up 32 rows at a time with AVX2 byte shuffles: the wall rows'
// and the billboard rows' shared step. Only the AVX2 kernels include it.
#pragma once

#include <immintrin.h>

#include <cstdint>

#define KRELLO_AVX2 __attribute__((target("avx2")))

namespace krello {

// The 128 bytes of a column as eight 16-byte tables, each in both halves of a register and each
// the exclusive or of its own 16 bytes with the previous table's, so that a byte of table j is
// the exclusive or of tables 0..j at its place (see lookUp).
struct ColumnTables {
    __m256i table[8];
};

// The tables of a column given as four registers of 32 bytes, rows 0..31 first.
KRELLO_AVX2 inline ColumnTables columnTables(const __m256i (&blocks)[4]) {
    ColumnTables s;
    __m256i previous = _mm256_setzero_si256();
    for (int c = 0; c < 4; ++c) {
        const __m256i even = _mm256_permute2x128_si256(blocks[c], blocks[c], 0x00);  // rows 32c..32c+15, twice
        const __m256i odd = _mm256_permute2x128_si256(blocks[c], blocks[c], 0x11);   // 32c+16..32c+31, twice
        s.table[2 * c] = _mm256_xor_si256(even, previous);
        s.table[2 * c + 1] = _mm256_xor_si256(odd, even);
        previous = odd;
    }
    return s;
}

// The bytes of 32 rows (0..127). A byte shuffle reads entry i & 15 of a table, or gives 0 where
// bit 7 of i is set. Shuffling table j with row - 16j gives 0 for rows below 16j (the difference
// is negative) and entry row & 15 otherwise; the exclusive or of tables 0..j at a place is the
// byte of table j's 16 rows, and tables past the row's give 0.
KRELLO_AVX2 inline __m256i lookUp(const ColumnTables& s, __m256i rows) {
    const __m256i sixteen = _mm256_set1_epi8(16);
    __m256i bytes = _mm256_shuffle_epi8(s.table[0], rows);
    for (int j = 1; j < 8; ++j) {
        rows = _mm256_sub_epi8(rows, sixteen);
        bytes = _mm256_xor_si256(bytes, _mm256_shuffle_epi8(s.table[j], rows));
    }
    return bytes;
}

// The texture rows of 32 screen rows whose accumulator starts at v and steps by vStep modulo
// 2^16: v + k * vStep in 16-bit lanes, which wrap as the references' accumulators do, and its
// top 7 bits.
struct TextureRows {
    __m256i first;   // k * vStep for rows 0..7 and 16..23, in 16-bit lanes
    __m256i second;  // the same for rows 8..15 and 24..31, so that packing keeps the rows in order
    uint16_t stepOf32;

    KRELLO_AVX2 explicit TextureRows(uint16_t vStep) : stepOf32(static_cast<uint16_t>(vStep * 32u)) {
        const __m256i step = _mm256_set1_epi16(static_cast<int16_t>(vStep));
        first = _mm256_mullo_epi16(step, _mm256_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7, 16, 17, 18, 19, 20, 21, 22, 23));
        second = _mm256_mullo_epi16(step, _mm256_setr_epi16(8, 9, 10, 11, 12, 13, 14, 15, 24, 25, 26, 27, 28, 29, 30, 31));
    }
    KRELLO_AVX2 __m256i at(uint16_t v) const {
        const __m256i start = _mm256_set1_epi16(static_cast<int16_t>(v));
        const __m256i a = _mm256_srli_epi16(_mm256_add_epi16(start, first), 9);
        const __m256i b = _mm256_srli_epi16(_mm256_add_epi16(start, second), 9);
        return _mm256_packus_epi16(a, b);
    }
};

// Byte k holds k: lanes below a count of rows are those with k < count.
KRELLO_AVX2 inline __m256i laneNumbers() {
    return _mm256_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26,
                            27, 28, 29, 30, 31);
}

}  // namespace krello
