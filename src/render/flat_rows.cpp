// Ceiling and floor rows of one column: perspective texture lookup and distance shading per row.
#include "render/flat_rows.h"

#include <array>

#include "render/path_kernels.h"
#include "world/fixed_math.h"

namespace krello {
namespace {

// World units per texel on flats: the double nearest 1/11.
constexpr double FLAT_SCALE = 0.09090909090909091;

// Every row's distance converted to a double once, for ceilings and for floors.
template <bool Floor>
constexpr std::array<double, SCREEN_HEIGHT> distanceTable() {
    std::array<double, SCREEN_HEIGHT> table{};
    for (int32_t r = 0; r < SCREEN_HEIGHT; ++r) table[r] = Floor ? floorRowDistance(r) : ceilingRowDistance(r);
    return table;
}
constexpr std::array<double, SCREEN_HEIGHT> kCeilingDistances = distanceTable<false>();
constexpr std::array<double, SCREEN_HEIGHT> kFloorDistances = distanceTable<true>();

// The double nearest 1 / d for every row: the compiler rounds a constant division correctly.
template <bool Floor>
constexpr std::array<double, SCREEN_HEIGHT> reciprocalTable() {
    std::array<double, SCREEN_HEIGHT> table{};
    for (int32_t r = 0; r < SCREEN_HEIGHT; ++r) table[r] = 1.0 / (Floor ? floorRowDistance(r) : ceilingRowDistance(r));
    return table;
}
constexpr std::array<double, SCREEN_HEIGHT> kCeilingReciprocals = reciprocalTable<false>();
constexpr std::array<double, SCREEN_HEIGHT> kFloorReciprocals = reciprocalTable<true>();

void drawFlatRows(RenderState& rs, uint16_t sector, bool floor, int32_t from, int32_t to) {
    if (from >= to) return;  // an empty run may start past the last row: form no pointer there
    const GameState& g = rs.game;
    const Sector& s = g.sectors[sector];
    const int32_t planeZ = floor ? s.floorZ : s.ceilingZ;
    const uint8_t attribute = floor ? s.floorTexture : s.ceilingTexture;
    const double height = sub32(planeZ, g.player.z);
    FlatRun run;
    const PixelColumn target = pixelColumn(rs);
    run.pixel = target.top + from * target.stride;
    run.stride = target.stride;
    run.from = from;
    run.to = to;
    run.distance = rowDistances(floor);
    run.reciprocal = rowReciprocals(floor);
    run.shade = rs.scratch.shades.rows(g, sector, floor, from, to);
    run.texture = textureOf(g, attribute);
    run.heightRayX = height * rs.rayDirX;
    run.heightRayY = height * rs.rayDirY;
    run.xOffset = g.player.x * FLAT_SCALE;
    run.yOffset = g.player.y * FLAT_SCALE;
    run.ramp = static_cast<uint8_t>(rampOffset(attribute));
    rs.kernels->drawFlatRun(run);
}

}  // namespace

const double* rowDistances(bool floor) { return floor ? kFloorDistances.data() : kCeilingDistances.data(); }

const double* rowReciprocals(bool floor) { return floor ? kFloorReciprocals.data() : kCeilingReciprocals.data(); }

int16_t flatShadeOffset(int8_t shadeBias, int32_t eyeZ, int32_t planeZ, int32_t d, int8_t falloff) {
    const int32_t q = div32(sub32(eyeZ, planeZ), d);
    const int32_t term = div32(mul32(q, falloff), 750);
    return wrap16(add32(shadeBias, term));
}

void drawFlatRunScalar(const FlatRun& run) {
    // Locals, so the compiler need not read the run again after every byte it stores.
    const double heightRayX = run.heightRayX;
    const double heightRayY = run.heightRayY;
    const double xOffset = run.xOffset;
    const double yOffset = run.yOffset;
    const double* distance = run.distance;
    const int16_t* shade = run.shade;
    const uint8_t* texture = run.texture;
    const uint8_t ramp = run.ramp;
    const int32_t stride = run.stride;
    uint8_t* pixel = run.pixel;
    for (int32_t r = run.from; r < run.to; ++r, pixel += stride) {
        const double d = distance[r];
        const int32_t a = truncToInt32(heightRayX / d - xOffset);
        const int32_t b = truncToInt32(heightRayY / d - yOffset);
        const uint8_t texel = texture[(a & 127) * TEXTURE_SIDE + (b & 127)];
        *pixel = static_cast<uint8_t>(shadeTexel(texel, shade[r]) + ramp);
    }
}

void drawCeilingRows(RenderState& rs, uint16_t sector, int32_t from, int32_t to) {
    drawFlatRows(rs, sector, false, from, to);
}

void drawFloorRows(RenderState& rs, uint16_t sector, int32_t from, int32_t to) {
    drawFlatRows(rs, sector, true, from, to);
}

}  // namespace krello
