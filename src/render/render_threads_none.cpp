// The column "threads" of a build without threads (the browser's): every frame on the caller's thread.
#include "render/render_threads.h"

#include "render/render_view.h"

namespace krello {

struct RenderThreads::Workers {};

int renderThreadsBuilt() { return 1; }

int defaultRenderThreads() { return 1; }

RenderThreads::RenderThreads(int, RenderPath path) : count_(1), path_(path), scratch_(new ColumnScratch[1]) {}

RenderThreads::~RenderThreads() = default;

void RenderThreads::drawFrame(const FrameView& view) {
    ColumnScratch& scratch = scratch_[0];
    scratch.startFrame();
    drawColumns(view, scratch, 0, SCREEN_WIDTH);
}

}  // namespace krello
