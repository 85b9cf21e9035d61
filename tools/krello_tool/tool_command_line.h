// krello-tool's command line: its commands and options, and a command line read against them.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

namespace krello::tool {

// Adds every command and the program's own options to `app`; --manpage sets `manPage`.
void describeTool(CLI::App& app, bool& manPage);

// How a command line ended: what to print and the exit status.
struct ToolOutcome {
    int status = 0;
    std::string out;    // help, the version or the manual page, for stdout
    std::string error;  // one line for stderr, with the program's or the command's name first
};

// Reads the command line against the commands of `app` (describeTool) and runs the one it names
// (its callback). A bad argument, a misspelt command or a failed command gives one line and
// status 2, whatever it throws; a command's own verdict gives its status.
ToolOutcome runToolCommandLine(CLI::App& app, const bool& manPage, int argc, const char* const* argv);

}  // namespace krello::tool
