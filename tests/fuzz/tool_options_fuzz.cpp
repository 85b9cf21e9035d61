// Fuzzes krello-tool's command line: every command's options read as the tool reads them, with
// the commands' work left out (nothing is drawn, run or written). Help, the version and the
// manual page print and stop with 0; a command line that reads stops with 0 and prints nothing;
// anything else stops with 2 and one short line naming the program.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz_arguments.h"
#include "fuzz_check.h"
#include "krello_tool/commands.h"
#include "krello_tool/tool_command_line.h"

namespace {

// The commands' work is their callbacks, which run once the whole command line has been read
// and checked; the program's own callback runs first, and ends the reading there with status 0.
void leaveOutTheWork(CLI::App& app) {
    app.parse_complete_callback([] { throw krello::tool::ToolStatus{0}; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace krello;
    const fuzz::Arguments args("krello-tool", data, size);
    // The command tree is made once a process (making it was most of an input's time); each parse
    // starts by clearing what the one before it read.
    static bool manPage = false;
    static const auto app = [] {
        auto made = std::make_unique<CLI::App>();
        tool::describeTool(*made, manPage);
        leaveOutTheWork(*made);
        return made;
    }();
    const tool::ToolOutcome outcome = tool::runToolCommandLine(*app, manPage, args.argc(), args.argv.data());
    if (outcome.status == 0) {
        fuzz::require(outcome.error.empty(), "a command line that reads gives no error");
        return 0;
    }
    fuzz::require(outcome.status == 2, "a bad command line stops with status 2");
    fuzz::require(outcome.out.empty(), "a bad command line prints nothing on stdout");
    fuzz::requireErrorLine(outcome.error, "krello-tool");
    return 0;
}
