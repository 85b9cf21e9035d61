// The renderer a shell draws with: --threads column threads on the path KRELLO_RENDER_PATH names.
#include "platform/common/shell_renderer.h"

namespace krello {

std::string ShellRenderer::open(int threads) {
    RenderPath path = RenderPath::Scalar;
    if (std::string bad = renderPathFromEnvironment(path); !bad.empty()) return bad;
    threads_ = std::make_unique<RenderThreads>(threads, path);
    drawer_ = ViewDrawer(threads_.get());
    return {};
}

}  // namespace krello
