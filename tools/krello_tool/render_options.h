// The drawing options every krello-tool command that draws frames takes: --threads (the render
// path is the renderer's choice).
#pragma once

#include <CLI/CLI.hpp>
#include <memory>

#include "render/render_threads.h"

namespace krello::tool {

struct DrawOptions {
    int threads = defaultRenderThreads();
};

// Adds --threads to a command.
void addDrawOptions(CLI::App* cmd, DrawOptions& o);

// The threads to draw with, made once for the whole command; a render path asked for that
// cannot be used is a ToolError.
std::unique_ptr<RenderThreads> makeRenderThreads(const DrawOptions& o);

}  // namespace krello::tool
