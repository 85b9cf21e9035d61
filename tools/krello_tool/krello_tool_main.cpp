// krello-tool: dumps, renders, runs and checks the game headless.
#include <cstdio>

#include "io/temporary_names.h"
#include "krello_tool/tool_command_line.h"

int main(int argc, char** argv) {
    // An interrupted command (Ctrl+C, a closed terminal, a reader of its output that went away)
    // leaves its targets as they were and none of its hidden temporary files.
    krello::io::removeTemporariesOnStop();
    CLI::App app;
    bool manPage = false;
    krello::tool::describeTool(app, manPage);
    const krello::tool::ToolOutcome outcome = krello::tool::runToolCommandLine(app, manPage, argc, argv);
    std::fputs(outcome.out.c_str(), stdout);
    if (!outcome.error.empty()) std::fprintf(stderr, "%s\n", outcome.error.c_str());
    return outcome.status;
}
