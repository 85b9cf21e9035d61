// Ceiling and floor rows two divisions at a time with WebAssembly SIMD (the browser's build),
// giving exactly the scalar reference's bytes. In a tile, runs of four rows or more go four rows a
// step, the last step ending at the run's last row (no row left to the reference).
//
// Why the bytes are the same: f64x2.div and f64x2.sub round each lane correctly, as the scalar
// f64.div and f64.sub do (WebAssembly has the one rounding mode, to nearest, and never fuses or
// reorders a step). The conversion saturates (NaN gives 0, values past the range give the nearest
// end), where truncToInt32 gives INT32_MIN for NaN and every value outside the 32-bit range. Inside
// the range both truncate toward zero, and at or below -2^31 - 1 the saturation gives INT32_MIN
// already; so only NaN and values of 2^31 or more, the lanes that fail v < 2^31, are replaced by
// -2^31 before the conversion, which turns that into INT32_MIN exactly. The texel index, the 16-bit shade subtraction, the clamp
// and the ramp are integer steps, taken here as the reference takes them: in a tile four rows'
// shading runs in 16-bit lanes (wrapping as shadeTexel's subtraction does, clamped to 0..63,
// narrowed exactly) and the ramp is added in 8-bit lanes, which wrap as the reference's byte does.
#include <wasm_simd128.h>

#include <cmath>

#include "render/flat_rows.h"
#include "world/fixed_math.h"

namespace krello {
namespace {

// What stays the same along a run, in vector registers.
struct Run2 {
    v128_t heightRayX, heightRayY, xOffset, yOffset;
};

// trunc(heightRay / d - offset) of two rows as truncToInt32 gives it, in lanes 0 and 1.
inline v128_t coordinate2(v128_t heightRay, v128_t offset, v128_t d) {
    const v128_t v = wasm_f64x2_sub(wasm_f64x2_div(heightRay, d), offset);
    const v128_t below = wasm_f64x2_lt(v, wasm_f64x2_splat(2147483648.0));
    const v128_t kept = wasm_v128_bitselect(v, wasm_f64x2_splat(static_cast<double>(TRUNC_OUT_OF_RANGE)), below);
    return wasm_i32x4_trunc_sat_f64x2_zero(kept);
}

// The texel indices (a & 127) * 128 + (b & 127) of four rows, in lanes 0..3.
inline v128_t indices4(const Run2& k, v128_t d01, v128_t d23) {
    const v128_t low7 = wasm_i32x4_splat(127);
    const v128_t a = wasm_i32x4_shuffle(coordinate2(k.heightRayX, k.xOffset, d01), coordinate2(k.heightRayX, k.xOffset, d23), 0, 1, 4, 5);
    const v128_t b = wasm_i32x4_shuffle(coordinate2(k.heightRayY, k.yOffset, d01), coordinate2(k.heightRayY, k.yOffset, d23), 0, 1, 4, 5);
    return wasm_v128_or(wasm_i32x4_shl(wasm_v128_and(a, low7), 7), wasm_v128_and(b, low7));
}

// A run whose heights and offsets all lie inside +-2^30 (the distances are whole numbers other
// than 0, so |heightRay / d| <= |heightRay|): every v = heightRay / d - offset then lies strictly
// inside +-(2^31 - 2^-22), where truncToInt32 is the plain truncation. f64x2.trunc takes it, and
// adding 2^52 + 2^51 (exact for a whole number that small) leaves it modulo 2^32 in the low half of
// each lane's bits, whose low 7 bits the index needs: no range test, no saturating conversion.
constexpr double IN_RANGE = 1073741824.0;
inline bool inRange(const FlatRun& run) {
    return std::fabs(run.heightRayX) < IN_RANGE && std::fabs(run.heightRayY) < IN_RANGE && std::fabs(run.xOffset) < IN_RANGE &&
           std::fabs(run.yOffset) < IN_RANGE;
}

// The indices of two rows in the low halves of lanes 0 and 1 (32-bit lanes 0 and 2), in range only.
inline v128_t indices2InRange(const Run2& k, v128_t d) {
    const v128_t shift = wasm_f64x2_splat(6755399441055744.0);  // 2^52 + 2^51
    const v128_t low7 = wasm_i64x2_splat(127);
    const v128_t a = wasm_f64x2_add(wasm_f64x2_trunc(wasm_f64x2_sub(wasm_f64x2_div(k.heightRayX, d), k.xOffset)), shift);
    const v128_t b = wasm_f64x2_add(wasm_f64x2_trunc(wasm_f64x2_sub(wasm_f64x2_div(k.heightRayY, d), k.yOffset)), shift);
    return wasm_v128_or(wasm_i64x2_shl(wasm_v128_and(a, low7), 7), wasm_v128_and(b, low7));
}

// A tile's column of four rows or more: four rows a step, shaded together in 16-bit lanes and
// stored as one 32-bit word. The last step ends at the run's last row; the rows it takes again
// get the same bytes.
template <bool InRange>
void drawTileRows(const FlatRun& run, const Run2& k) {
    const int16_t* shade = run.shade;
    const uint8_t* texture = run.texture;
    const v128_t zero = wasm_i16x8_splat(0);
    const v128_t top = wasm_i16x8_splat(63);
    const v128_t ramps = wasm_i8x16_splat(static_cast<int8_t>(run.ramp));
    const int32_t last = run.to - 4;
    for (int32_t r = run.from;; r += 4) {
        if (r > last) r = last;
        const v128_t d01 = wasm_v128_load(run.distance + r);
        const v128_t d23 = wasm_v128_load(run.distance + r + 2);
        v128_t texels;
        if constexpr (InRange) {
            const v128_t i01 = indices2InRange(k, d01);
            const v128_t i23 = indices2InRange(k, d23);
            texels = wasm_u16x8_make(texture[wasm_u32x4_extract_lane(i01, 0)], texture[wasm_u32x4_extract_lane(i01, 2)],
                                     texture[wasm_u32x4_extract_lane(i23, 0)], texture[wasm_u32x4_extract_lane(i23, 2)], 0, 0, 0, 0);
        } else {
            const v128_t index = indices4(k, d01, d23);
            texels = wasm_u16x8_make(texture[wasm_u32x4_extract_lane(index, 0)], texture[wasm_u32x4_extract_lane(index, 1)],
                                     texture[wasm_u32x4_extract_lane(index, 2)], texture[wasm_u32x4_extract_lane(index, 3)], 0, 0, 0, 0);
        }
        const v128_t shaded = wasm_i16x8_min(wasm_i16x8_max(wasm_i16x8_sub(texels, wasm_v128_load64_zero(shade + r)), zero), top);
        wasm_v128_store32_lane(run.pixel + (r - run.from), wasm_i8x16_add(wasm_u8x16_narrow_i16x8(shaded, shaded), ramps), 0);
        if (r == last) return;
    }
}

}  // namespace

void drawFlatRunSimd128(const FlatRun& run) {
    const Run2 k{wasm_f64x2_splat(run.heightRayX), wasm_f64x2_splat(run.heightRayY), wasm_f64x2_splat(run.xOffset),
                 wasm_f64x2_splat(run.yOffset)};
    if (run.stride == 1 && run.to - run.from >= 4) {
        if (inRange(run)) drawTileRows<true>(run, k);
        else drawTileRows<false>(run, k);
        return;
    }
    const int16_t* shade = run.shade;
    const uint8_t* texture = run.texture;
    const uint8_t ramp = run.ramp;
    const int32_t stride = run.stride;
    const v128_t low7 = wasm_i32x4_splat(127);
    auto put = [&](uint8_t* pixel, int32_t r, uint32_t index) {
        *pixel = static_cast<uint8_t>(shadeTexel(texture[index], shade[r]) + ramp);
    };
    uint8_t* pixel = run.pixel;
    int32_t r = run.from;
    for (; run.to - r >= 2; r += 2, pixel += 2 * stride) {
        const v128_t d = wasm_v128_load(run.distance + r);
        const v128_t a = coordinate2(k.heightRayX, k.xOffset, d);
        const v128_t b = coordinate2(k.heightRayY, k.yOffset, d);
        // (a & 127) * 128 + (b & 127), as the reference indexes the texture.
        const v128_t index = wasm_v128_or(wasm_i32x4_shl(wasm_v128_and(a, low7), 7), wasm_v128_and(b, low7));
        put(pixel, r, wasm_u32x4_extract_lane(index, 0));
        put(pixel + stride, r + 1, wasm_u32x4_extract_lane(index, 1));
    }
    if (r < run.to) {
        FlatRun last = run;
        last.pixel = pixel;
        last.from = r;
        drawFlatRunScalar(last);
    }
}

}  // namespace krello
