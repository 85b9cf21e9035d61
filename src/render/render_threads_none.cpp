// The column "threads" of a build without threads (the browser's): every frame on the caller's thread.
#include "render/render_threads.h"

#include <vector>

#include "render/render_view.h"

namespace krello {

struct RenderThreads::Workers {};

int renderThreadsBuilt() { return 1; }

int defaultRenderThreads() { return 1; }

RenderThreads::RenderThreads(int, RenderPath path) : count_(1), path_(path), scratch_(new ColumnScratch[1]) {}

RenderThreads::~RenderThreads() = default;

void RenderThreads::warmUp(const GameState& g) {
    std::vector<uint8_t> frame(FRAME_BYTES, 0);
    for (int part = 0; part < count_; ++part) warmUpColumns(g, path_, scratch_[static_cast<size_t>(part)], frame.data());
}

void RenderThreads::drawFrame(const FrameView& view) {
    ColumnScratch& scratch = scratch_[0];
    scratch.startFrame();
    drawColumns(view, scratch, 0, SCREEN_WIDTH);
    sharing_.callerColumns = SCREEN_WIDTH;
}

}  // namespace krello
