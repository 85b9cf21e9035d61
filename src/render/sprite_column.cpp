// One sector's billboards in one column: upright, unshaded pictures with transparent texels.
#include "render/sprites.h"

#include "render/path_kernels.h"
#include "world/fixed_math.h"

namespace krello {
namespace {

// Texture columns drawn: the picture's outer columns 0 and 64+ stay empty.
constexpr uint16_t FIRST_COLUMN = 1;
constexpr uint16_t LAST_COLUMN = 63;
// A picture stands 10000 height units tall: 8 rows per unit at depth 1.
constexpr int32_t PICTURE_ROWS_AT_DEPTH_1 = 80000;

// The texture column of a picture whose position lies (dx, dy) from the eye, seen along ray
// (rx, ry): 32 where the ray passes through the position.
uint16_t textureColumn(double dx, double dy, double rx, double ry) {
    return wrapU16(add32(32, truncToInt32(0.4 * (dx * ry - dy * rx))));
}

// Cuts the picture's rows to the window, starting the texture part-way when its top is cut.
void clipSpriteRows(SpriteColumn& sc, uint8_t size, int32_t windowTop, int32_t windowBottom) {
    sc.v = 0;
    if (sc.top < windowTop) {
        const int32_t rowsCut = mul32(sub32(windowTop, sc.top), size);
        sc.v = truncToU16(static_cast<double>(rowsCut) * sc.depth * 0.0125);
        sc.top = windowTop;
    }
    if (sc.bottom > windowBottom) sc.bottom = windowBottom;
    if (sc.bottom < windowTop) sc.bottom = windowTop;
}

}  // namespace

bool drawSpriteRowsScalar(RenderState& rs, const SpriteRows& rows) {
    const uint8_t* texels = rows.texture + rows.column;
    const uint8_t ramp = rows.ramp;
    const uint32_t step = rows.vStep;
    const PixelColumn target = pixelColumn(rs);
    const int32_t stride = target.stride;
    uint8_t* pixel = target.top + rows.top * stride;
    // The accumulator in 32 bits: its bits 9..15, the texture row, are those of the 16-bit one.
    uint32_t v = rows.v;
    // A transparent texel keeps the pixel beneath; chosen without a branch, since texels and
    // holes alternate along a picture's column.
    uint8_t written = 0;
    auto put = [&](uint8_t* p, uint32_t at) {
        const uint8_t texel = texels[(at >> 2) & 0x3F80];
        const uint8_t beneath = *p;
        *p = texel != 0 ? static_cast<uint8_t>(texel + ramp) : beneath;
        written |= texel;
    };
    int32_t r = rows.top;
    for (; rows.bottom - r >= 2; r += 2, pixel += 2 * stride, v += 2 * step) {
        put(pixel, v);
        put(pixel + stride, v + step);
    }
    if (r < rows.bottom) put(pixel, v);
    return written != 0;
}

SectorObjects::Seen seeObject(const PlayerState& eye, double headingCos, double headingSin, const GameObject& o) {
    SectorObjects::Seen s;
    s.dx = sub32(o.x, eye.x);
    s.dy = sub32(o.y, eye.y);
    s.depth = s.dx * headingCos + s.dy * headingSin;
    const int32_t foot = mul32(sub32(o.z, eye.z), 8);
    s.top = add32(truncToInt32(sub32(foot, PICTURE_ROWS_AT_DEPTH_1) / s.depth), 99);
    s.bottom = add32(truncToInt32(foot / s.depth), 100);
    s.vStep = truncToU16(o.size * s.depth * 0.0125);
    return s;
}

SpriteColumn placeSprite(const RenderState& rs, const GameObject& o) {
    const SectorObjects::Seen s = seeObject(rs.game.player, rs.headingCos, rs.headingSin, o);
    SpriteColumn sc;
    sc.column = textureColumn(s.dx, s.dy, rs.rayDirX, rs.rayDirY);
    sc.depth = s.depth;
    return sc;
}

void projectSpriteRows(const RenderState& rs, const GameObject& o, SpriteColumn& sc,
                       int32_t windowTop, int32_t windowBottom) {
    const SectorObjects::Seen s = seeObject(rs.game.player, rs.headingCos, rs.headingSin, o);
    sc.top = s.top;
    sc.bottom = s.bottom;
    sc.vStep = s.vStep;
    clipSpriteRows(sc, o.size, windowTop, windowBottom);
}

void drawSectorSprites(RenderState& rs, uint16_t sector, int32_t windowTop, int32_t windowBottom,
                       double nearLimit, double wallDepth) {
    const GameState& g = rs.game;
    if (!isSector(sector)) return;
    // The count is approximate; only an exact 0 (as unsigned 16-bit) says nobody is here.
    if (static_cast<uint16_t>(g.sectors[sector].objectCount) == 0) return;
    // The frame's list holds exactly the active objects of this sector, in table order, with
    // what every column sees of them alike worked out once.
    for (int k = rs.objects.first[sector]; k < rs.objects.first[sector + 1]; ++k) {
        const SectorObjects::Seen& seen = rs.objects.seen[k];
        if (!(nearLimit < seen.depth && seen.depth < wallDepth)) continue;
        SpriteColumn sc;
        sc.column = textureColumn(seen.dx, seen.dy, rs.rayDirX, rs.rayDirY);
        if (sc.column < FIRST_COLUMN || sc.column > LAST_COLUMN) continue;
        const GameObject& o = g.objects[rs.objects.object[k]];
        sc.depth = seen.depth;
        sc.top = seen.top;
        sc.bottom = seen.bottom;
        sc.vStep = seen.vStep;
        clipSpriteRows(sc, o.size, windowTop, windowBottom);
        if (sc.top >= sc.bottom) continue;
        const SpriteRows rows{textureOf(g, o.sprite), textureSlot(o.sprite), sc.column, static_cast<uint8_t>(rampOffset(o.sprite)),
                              sc.top, sc.bottom, sc.v, sc.vStep};
        if (rs.kernels->drawSpriteRows(rs, rows)) rs.scratch.spritesDrawn |= 1u << rs.objects.object[k];
    }
}

}  // namespace krello
