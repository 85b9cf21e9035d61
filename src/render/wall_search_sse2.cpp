// The nearest-wall search with each wall's x and y taken side by side in SSE2, giving exactly
// the reference's hit.
//
// Why the hit is the same: the walk, the marks, the missing end points and the tests are the
// reference's, wall by wall in walk order. Only the pairs of like steps on x and y (the
// wrapping 32-bit differences, their exact conversions to doubles, the products with the ray
// and the heading, the hit point) run side by side in the two lanes of one instruction, each
// lane rounding correctly as its scalar form does; the sums of the pairs are then taken in
// scalar code, one addition or subtraction each as the reference writes them. No step is fused.
#include <emmintrin.h>

#include <cmath>
#include <cstddef>

#include "render/sector_column.h"
#include "render/x86_kernels.h"
#include "world/wall_walk.h"

namespace krello {
namespace {

// A wall's x and y, side by side.
inline __m128i pointOf(const Wall& w) {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(&w.x));
}

}  // namespace

WallHit findNearestWallSse2(const RenderState& rs, uint16_t sector) {
    static_assert(offsetof(Wall, y) == offsetof(Wall, x) + sizeof(int32_t));
    const GameState& g = rs.game;
    const __m128i eye = _mm_setr_epi32(g.player.x, g.player.y, 0, 0);
    const __m128d eyeXY = _mm_cvtepi32_pd(eye);
    const __m128d rayYX = _mm_setr_pd(rs.rayDirY, -rs.rayDirX);  // ry, -rx
    const __m128d heading = _mm_setr_pd(rs.headingCos, rs.headingSin);
    const int16_t* marks = rs.scratch.marks.data();
    const int16_t column = rs.screenColumn;
    WallHit hit;
    double best = NO_WALL_DEPTH;
    walkSectorWalls(g, sector, [&](uint16_t w) {
        const Wall& wall = g.walls[w];
        if (marks[w] == column) return;
        const uint16_t endIndex = static_cast<uint16_t>(wall.point2);
        if (endIndex >= WALL_COUNT) return;  // a wall without an end point is no segment
        const __m128i start = pointOf(wall);
        // dxw, dyw; then ry * dxw and (-rx) * dyw
        const __m128d along = _mm_cvtepi32_pd(_mm_sub_epi32(pointOf(g.walls[endIndex]), start));
        const __m128d alongByRay = _mm_mul_pd(along, rayYX);
        // den = -(ry * dxw) - (-rx) * dyw
        const double den = -_mm_cvtsd_f64(alongByRay) - _mm_cvtsd_f64(_mm_unpackhi_pd(alongByRay, alongByRay));
        if (!(std::fabs(den) > PARALLEL_LIMIT)) return;
        // num = (y1 - py) * (-rx) + (x1 - px) * ry
        const __m128d fromEye = _mm_mul_pd(_mm_cvtepi32_pd(_mm_sub_epi32(start, eye)), rayYX);
        const double num = _mm_cvtsd_f64(_mm_unpackhi_pd(fromEye, fromEye)) + _mm_cvtsd_f64(fromEye);
        const double t = num / den;
        if (!(t >= 0.0 && t <= 1.0)) return;
        // hx = t * dxw + x1, hy = t * dyw + y1; depth = (hy - py) * sin + (hx - px) * cos
        const __m128d h = _mm_add_pd(_mm_mul_pd(_mm_set1_pd(t), along), _mm_cvtepi32_pd(start));
        const __m128d terms = _mm_mul_pd(_mm_sub_pd(h, eyeXY), heading);
        const double depth = _mm_cvtsd_f64(_mm_unpackhi_pd(terms, terms)) + _mm_cvtsd_f64(terms);
        keepNearerCrossing(hit, best, w, t, depth);
    });
    return hit;
}

}  // namespace krello
