// The renderer a shell draws with: --threads column threads on the render path the renderer picks.
#include "platform/common/shell_renderer.h"

namespace krello {

std::string ShellRenderer::open(int threads) {
    std::string error;
    threads_ = startRenderThreads(threads, error);
    if (!threads_) return error;
    drawer_ = ViewDrawer(threads_.get());
    return {};
}

}  // namespace krello
