// Ceiling and floor rows of one column: perspective texture lookup and distance shading per row.
#include "render/flat_rows.h"

#include "world/fixed_math.h"

namespace krello {
namespace {

// World units per texel on flats: the double nearest 1/11.
constexpr double FLAT_SCALE = 0.09090909090909091;

// One flat: texture coordinates follow the ray out to the plane at the row's distance d.
void drawFlatRows(RenderState& rs, int8_t falloff, int32_t planeZ, uint8_t attribute,
                  int8_t shadeBias, int32_t from, int32_t to, int32_t (*rowDistance)(int32_t)) {
    if (from >= to) return;  // an empty run may start past the last row: form no pointer there
    const GameState& g = rs.game;
    const int32_t x = g.player.x;
    const int32_t y = g.player.y;
    const int32_t z = g.player.z;
    const uint8_t* tex = textureOf(g, attribute);
    const uint8_t ramp = static_cast<uint8_t>(rampOffset(attribute));
    const double height = sub32(planeZ, z);
    const double xOffset = x * FLAT_SCALE;
    const double yOffset = y * FLAT_SCALE;
    uint8_t* pixel = rs.frameBuffer + from * SCREEN_WIDTH + rs.screenColumn;
    for (int32_t r = from; r < to; ++r, pixel += SCREEN_WIDTH) {
        const int32_t d = rowDistance(r);
        const int16_t shadeOffset = flatShadeOffset(shadeBias, z, planeZ, d, falloff);
        const int32_t a = truncToInt32((height * rs.rayDirX) / d - xOffset);
        const int32_t b = truncToInt32((height * rs.rayDirY) / d - yOffset);
        const uint8_t texel = tex[(a & 127) * TEXTURE_SIDE + (b & 127)];
        *pixel = static_cast<uint8_t>(shadeTexel(texel, shadeOffset) + ramp);
    }
}

}  // namespace

int32_t ceilingRowDistance(int32_t row) {
    const int32_t d = 100 - row;
    return d == 0 ? -1 : d;
}

int32_t floorRowDistance(int32_t row) {
    const int32_t d = 99 - row;
    return d == 0 ? 1 : d;
}

int16_t flatShadeOffset(int8_t shadeBias, int32_t eyeZ, int32_t planeZ, int32_t d, int8_t falloff) {
    const int32_t q = div32(sub32(eyeZ, planeZ), d);
    const int32_t term = div32(mul32(q, falloff), 750);
    return wrap16(add32(shadeBias, term));
}

void drawCeilingRows(RenderState& rs, const Sector& sector, int32_t from, int32_t to) {
    drawFlatRows(rs, sector.shadeFalloff, sector.ceilingZ, sector.ceilingTexture, sector.ceilingShade, from, to,
                 ceilingRowDistance);
}

void drawFloorRows(RenderState& rs, const Sector& sector, int32_t from, int32_t to) {
    drawFlatRows(rs, sector.shadeFalloff, sector.floorZ, sector.floorTexture, sector.floorShade, from, to,
                 floorRowDistance);
}

}  // namespace krello
