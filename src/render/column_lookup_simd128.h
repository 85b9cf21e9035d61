// A texture column's 128 bytes looked up 16 rows at a time with WebAssembly byte swizzles: the
// simd128 wall rows' and billboard rows' shared step. Only the simd128 kernels include it.
#pragma once

#include <wasm_simd128.h>

#include <cstdint>

namespace krello {

// The 128 bytes of a column as eight 16-byte tables, rows 16j..16j+15 in table j.
struct ColumnTables128 {
    v128_t table[8];
};

inline ColumnTables128 columnTables128(const uint8_t* bytes) {
    ColumnTables128 s;
    for (int j = 0; j < 8; ++j) s.table[j] = wasm_v128_load(bytes + 16 * j);
    return s;
}

// The bytes of 16 rows (0..127). A swizzle gives 0 for an index of 16 or more, so table j looked
// up with row - 16j (wrapping in 8 bits: rows below 16j give 240 and up) gives the row's byte in
// the one table that holds it and 0 in every other; their or is the byte.
inline v128_t lookUp128(const ColumnTables128& s, v128_t rows) {
    const v128_t sixteen = wasm_i8x16_splat(16);
    v128_t bytes = wasm_i8x16_swizzle(s.table[0], rows);
    for (int j = 1; j < 8; ++j) {
        rows = wasm_i8x16_sub(rows, sixteen);
        bytes = wasm_v128_or(bytes, wasm_i8x16_swizzle(s.table[j], rows));
    }
    return bytes;
}

// The texture rows of 16 screen rows whose accumulator starts at v and steps by vStep modulo
// 2^16: v + k * vStep in 16-bit lanes, which wrap as the references' accumulators do, and its
// top 7 bits.
struct TextureRows128 {
    v128_t first;   // k * vStep for rows 0..7, in 16-bit lanes
    v128_t second;  // the same for rows 8..15
    uint16_t stepOf16;

    explicit TextureRows128(uint16_t vStep) : stepOf16(static_cast<uint16_t>(vStep * 16u)) {
        const v128_t step = wasm_i16x8_splat(static_cast<int16_t>(vStep));
        first = wasm_i16x8_mul(step, wasm_i16x8_make(0, 1, 2, 3, 4, 5, 6, 7));
        second = wasm_i16x8_mul(step, wasm_i16x8_make(8, 9, 10, 11, 12, 13, 14, 15));
    }
    v128_t at(uint16_t v) const {
        const v128_t start = wasm_i16x8_splat(static_cast<int16_t>(v));
        const v128_t a = wasm_u16x8_shr(wasm_i16x8_add(start, first), 9);
        const v128_t b = wasm_u16x8_shr(wasm_i16x8_add(start, second), 9);
        return wasm_u8x16_narrow_i16x8(a, b);  // 0..127: the narrowing keeps them as they are
    }
};

// Byte k set where k < count: the lanes of a step that lie inside a run of `count` rows.
inline v128_t lanesBelow(int count) {
    return wasm_i8x16_gt(wasm_i8x16_splat(static_cast<int8_t>(count)),
                         wasm_i8x16_make(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15));
}

}  // namespace krello
