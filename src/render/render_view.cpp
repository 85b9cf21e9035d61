// The frame driver: the view rays and the 320 columns of one frame.
#include "render/render_view.h"

#include <cmath>

#include "render/sector_column.h"
#include "world/portable_trig.h"

namespace krello {
namespace {

// Half the field of view in angle units: the edges look 45 degrees either side of the heading.
constexpr int HALF_VIEW = 256;
// The billboard near limit in the player's own sector.
constexpr double EYE_NEAR_LIMIT = 20.0;

}  // namespace

void setUpViewRays(RenderState& rs) {
    const int16_t heading = rs.game.player.angle;
    const SinCos h = sinCosOfAngle(heading);
    rs.headingCos = h.cos;
    rs.headingSin = h.sin;
    // The edges are not wrapped into 0..2047: cos and sin do not care.
    const SinCos left = sinCosOfAngle(heading - HALF_VIEW);
    const SinCos right = sinCosOfAngle(heading + HALF_VIEW);
    rs.rayDirX = left.cos;
    rs.rayDirY = left.sin;
    const double rightX = right.cos;
    const double rightY = right.sin;
    rs.rayStepX = (rightX - rs.rayDirX) * 0.003125;
    rs.rayStepY = (rightY - rs.rayDirY) * 0.003125;
}

void renderView(GameState& g, uint8_t* frameBuffer) {
    RenderState rs{g};
    rs.frameBuffer = frameBuffer;
    setUpViewRays(rs);
    const uint16_t start = static_cast<uint16_t>(g.player.sector);
    for (int16_t column = 0; column < SCREEN_WIDTH; ++column) {
        rs.screenColumn = column;
        renderSectorColumn(rs, start, 0, SCREEN_HEIGHT, EYE_NEAR_LIMIT);
        // Stepped by addition, not recomputed: the exact sums are part of the picture.
        rs.rayDirX = rs.rayDirX + rs.rayStepX;
        rs.rayDirY = rs.rayDirY + rs.rayStepY;
    }
}

}  // namespace krello
