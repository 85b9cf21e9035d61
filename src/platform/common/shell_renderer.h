// The renderer a shell draws with: --threads column threads on the render path the renderer picks.
#pragma once

#include <memory>
#include <string>

#include "render/render_threads.h"
#include "render/render_view.h"

namespace krello {

// Made once at start-up, before the session: the threads live as long as the shell.
class ShellRenderer {
public:
    // Starts `threads` drawing threads (clamped to what the build has). Returns "" or one line
    // saying why the render path asked for cannot be used; the shell then stops with status 2.
    std::string open(int threads);

    // What the session draws every frame with (open first).
    FrameDrawer& drawer() { return drawer_; }
    // The threads it draws on, whose record of the walls found the automap reads (open first).
    const RenderThreads& threads() const { return *threads_; }

private:
    std::unique_ptr<RenderThreads> threads_;
    ViewDrawer drawer_;  // on threads_ once open
};

}  // namespace krello
