// The drawing options every krello-tool command that draws frames takes: --threads (the render
// path is the renderer's choice).
#include "krello_tool/render_options.h"

#include <string>

#include "cli/option_words.h"
#include "krello_tool/commands.h"

namespace krello::tool {

void addDrawOptions(CLI::App* cmd, DrawOptions& o) {
    cmd->add_option("--threads", o.threads,
                    "threads drawing each frame's columns (default: the machine's cores, at most " +
                        std::to_string(MAX_RENDER_THREADS) + ")")
        ->type_name("N")
        ->check(cli::wholeNumber(1, MAX_RENDER_THREADS));
}

std::unique_ptr<RenderThreads> makeRenderThreads(const DrawOptions& o) {
    std::string error;
    std::unique_ptr<RenderThreads> threads = startRenderThreads(o.threads, error);
    if (!threads) throw ToolError{error};
    return threads;
}

}  // namespace krello::tool
