// One sector's billboards in one column: upright, unshaded pictures with transparent texels.
#include "render/sprites.h"

#include "world/fixed_math.h"

namespace krello {
namespace {

// Texture columns drawn: the picture's outer columns 0 and 64+ stay empty.
constexpr uint16_t FIRST_COLUMN = 1;
constexpr uint16_t LAST_COLUMN = 63;
// A picture stands 10000 height units tall: 8 rows per unit at depth 1.
constexpr int32_t PICTURE_ROWS_AT_DEPTH_1 = 80000;

// Returns whether any pixel was written (a column of transparent texels writes none).
bool drawPicture(RenderState& rs, const GameObject& o, const SpriteColumn& sc) {
    const uint8_t* tex = textureOf(rs.game, o.sprite);
    const uint8_t ramp = static_cast<uint8_t>(rampOffset(o.sprite));
    uint16_t v = sc.v;
    uint8_t* pixel = rs.frameBuffer + sc.top * SCREEN_WIDTH + rs.screenColumn;
    uint8_t written = 0;
    for (int32_t r = sc.top; r < sc.bottom; ++r, pixel += SCREEN_WIDTH) {
        const uint8_t texel = tex[(v >> 9) * TEXTURE_SIDE + sc.column];
        if (texel != 0) *pixel = static_cast<uint8_t>(texel + ramp);
        written |= texel;
        v = static_cast<uint16_t>(v + sc.vStep);
    }
    return written != 0;
}

}  // namespace

SpriteColumn placeSprite(const RenderState& rs, const GameObject& o) {
    const PlayerState& p = rs.game.player;
    const double dx = sub32(o.x, p.x);
    const double dy = sub32(o.y, p.y);
    SpriteColumn sc;
    sc.column = wrapU16(add32(32, truncToInt32(0.4 * (dx * rs.rayDirY - dy * rs.rayDirX))));
    sc.depth = dx * rs.headingCos + dy * rs.headingSin;
    return sc;
}

void projectSpriteRows(const RenderState& rs, const GameObject& o, SpriteColumn& sc,
                       int32_t windowTop, int32_t windowBottom) {
    const int32_t foot = mul32(sub32(o.z, rs.game.player.z), 8);
    sc.top = add32(truncToInt32(sub32(foot, PICTURE_ROWS_AT_DEPTH_1) / sc.depth), 99);
    sc.bottom = add32(truncToInt32(foot / sc.depth), 100);
    sc.vStep = truncToU16(o.size * sc.depth * 0.0125);
    sc.v = 0;
    if (sc.top < windowTop) {
        const int32_t rowsCut = mul32(sub32(windowTop, sc.top), o.size);
        sc.v = truncToU16(static_cast<double>(rowsCut) * sc.depth * 0.0125);
        sc.top = windowTop;
    }
    if (sc.bottom > windowBottom) sc.bottom = windowBottom;
    if (sc.bottom < windowTop) sc.bottom = windowTop;
}

void drawSectorSprites(RenderState& rs, uint16_t sector, int32_t windowTop, int32_t windowBottom,
                       double nearLimit, double wallDepth) {
    const GameState& g = rs.game;
    if (!isSector(sector)) return;
    // The count is approximate; only an exact 0 (as unsigned 16-bit) says nobody is here.
    if (static_cast<uint16_t>(g.sectors[sector].objectCount) == 0) return;
    // The frame's list holds exactly the active objects of this sector, in table order.
    for (int k = rs.objects.first[sector]; k < rs.objects.first[sector + 1]; ++k) {
        const GameObject& o = g.objects[rs.objects.object[k]];
        SpriteColumn sc = placeSprite(rs, o);
        if (!(nearLimit < sc.depth && sc.depth < wallDepth)) continue;
        if (sc.column < FIRST_COLUMN || sc.column > LAST_COLUMN) continue;
        projectSpriteRows(rs, o, sc, windowTop, windowBottom);
        if (sc.top >= sc.bottom) continue;
        if (drawPicture(rs, o, sc)) rs.scratch.spritesDrawn |= 1u << rs.objects.object[k];
    }
}

}  // namespace krello
