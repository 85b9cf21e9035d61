// The frame driver: the view rays and the 320 columns of one frame.
#include "render/render_view.h"

#include <algorithm>
#include <cmath>

#include "render/render_threads.h"
#include "render/sector_column.h"
#include "world/portable_trig.h"

namespace krello {
namespace {

// Half the field of view in angle units: the edges look 45 degrees either side of the heading.
constexpr int HALF_VIEW = 256;
// The billboard near limit in the player's own sector.
constexpr double EYE_NEAR_LIMIT = 20.0;

// The heading's cos and sin, column 0's ray and the step from one column's ray to the next.
struct ViewRays {
    double headingCos;
    double headingSin;
    double leftX;
    double leftY;
    double stepX;
    double stepY;
};

ViewRays viewRays(int16_t heading) {
    ViewRays v;
    const SinCos h = sinCosOfAngle(heading);
    v.headingCos = h.cos;
    v.headingSin = h.sin;
    // The edges are not wrapped into 0..2047: cos and sin do not care.
    const SinCos left = sinCosOfAngle(heading - HALF_VIEW);
    const SinCos right = sinCosOfAngle(heading + HALF_VIEW);
    v.leftX = left.cos;
    v.leftY = left.sin;
    v.stepX = (right.cos - v.leftX) * 0.003125;
    v.stepY = (right.sin - v.leftY) * 0.003125;
    return v;
}

}  // namespace

void setUpViewRays(RenderState& rs) {
    const ViewRays v = viewRays(rs.game.player.angle);
    rs.headingCos = v.headingCos;
    rs.headingSin = v.headingSin;
    rs.rayDirX = v.leftX;
    rs.rayDirY = v.leftY;
    rs.firstRayX = v.leftX;
    rs.firstRayY = v.leftY;
    rs.rayStepX = v.stepX;
    rs.rayStepY = v.stepY;
}

FrameView::FrameView(const GameState& g, uint8_t* buffer, RenderPath path)
    : game(g), frameBuffer(buffer), renderPath(path) {
    const ViewRays v = viewRays(g.player.angle);
    headingCos = v.headingCos;
    headingSin = v.headingSin;
    rayStepX = v.stepX;
    rayStepY = v.stepY;
    double x = v.leftX;
    double y = v.leftY;
    for (int c = 0; c < SCREEN_WIDTH; ++c) {
        rayX[c] = x;
        rayY[c] = y;
        // Stepped by addition, not recomputed: the exact sums are part of the picture.
        x = x + v.stepX;
        y = y + v.stepY;
    }
    listSectorObjects(g, headingCos, headingSin, objects);
}

RenderState viewColumnState(const FrameView& view, ColumnScratch& scratch) {
    RenderState rs{view.game, scratch, view.objects};
    rs.headingCos = view.headingCos;
    rs.headingSin = view.headingSin;
    rs.rayStepX = view.rayStepX;
    rs.rayStepY = view.rayStepY;
    rs.firstRayX = view.rayX[0];
    rs.firstRayY = view.rayY[0];
    return rs;
}

void aimColumn(RenderState& rs, const FrameView& view, int column) {
    rs.screenColumn = static_cast<int16_t>(column);
    rs.rayDirX = view.rayX[static_cast<size_t>(column)];
    rs.rayDirY = view.rayY[static_cast<size_t>(column)];
}

void drawColumns(const FrameView& view, ColumnScratch& scratch, int first, int end) {
    RenderState rs = viewColumnState(view, scratch);
    rs.frameBuffer = view.frameBuffer;
    rs.kernels = &pathKernels(view.renderPath);
    const uint16_t start = static_cast<uint16_t>(view.game.player.sector);
    auto draw = [&](int column) {
        aimColumn(rs, view, column);
        renderSectorColumn(rs, start, 0, SCREEN_HEIGHT, EYE_NEAR_LIMIT);
    };
    if (!rs.kernels->tiles) {
        for (int column = first; column < end; ++column) draw(column);
        return;
    }
    // A tile's columns, then the tile into the frame. Every row of a column is drawn or kept
    // from the frame (sector_column.h), so the copy writes what drawing straight in would.
    for (int group = first; group < end; group += TILE_COLUMNS) {
        const int columns = std::min(end - group, TILE_COLUMNS);
        for (int k = 0; k < columns; ++k) {
            rs.tileColumn = scratch.tile.column(k);
            draw(group + k);
        }
        rs.kernels->copyTile(scratch.tile.bytes.data(), columns, view.frameBuffer, group);
    }
}

void warmUpColumns(const GameState& g, RenderPath renderPath, ColumnScratch& scratch, uint8_t* frameBuffer) {
    const FrameView view(g, frameBuffer, renderPath);
    scratch.startFrame();
    drawColumns(view, scratch, 0, SCREEN_WIDTH);
    // The first view shows only some of the textures; a texture's first use in a later frame
    // would turn it there.
    for (int slot = 0; slot < 16; ++slot)
        scratch.textureColumns.of(textureOf(g, static_cast<uint8_t>(slot)), slot);
}

void drawView(const GameState& g, uint8_t* frameBuffer, RenderThreads* threads) {
    const FrameView view(g, frameBuffer, threads ? threads->renderPath() : bestRenderPath());
    if (threads) {
        threads->drawFrame(view);
        return;
    }
    // A one-off frame (tests): a scratch of its own, too large for the stack.
    auto scratch = std::make_unique<ColumnScratch>();
    scratch->startFrame();
    drawColumns(view, *scratch, 0, SCREEN_WIDTH);
}

ViewDrawer::ViewDrawer(RenderThreads* threads)
    : own_(threads ? nullptr : std::make_unique<RenderThreads>(1, bestRenderPath())),
      threads_(threads ? threads : own_.get()) {}
ViewDrawer::~ViewDrawer() = default;
void ViewDrawer::warmUp(const GameState& g) { threads_->warmUp(g); }
ViewDrawer::ViewDrawer(ViewDrawer&&) noexcept = default;
ViewDrawer& ViewDrawer::operator=(ViewDrawer&&) noexcept = default;

}  // namespace krello
