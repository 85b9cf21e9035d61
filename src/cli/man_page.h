// Manual pages written from the same option tables that --help prints.
#pragma once

#include <CLI/CLI.hpp>

#include <string>
#include <utility>
#include <vector>

namespace krello::cli {

struct ManPage {
    std::string name;     // the program, as typed ("krello")
    int section = 1;      // 1 for commands, 6 for games
    std::string summary;  // one line after the name: "a small first-person action game"
    std::string version;  // "krello 0.1.0"
    std::vector<std::pair<std::string, std::string>> sections;  // extra (HEADING, text) after the options
};

// The page as roff (man(7)): NAME, SYNOPSIS, DESCRIPTION (the app's description), OPTIONS
// (every option --help lists, with its placeholder), a COMMANDS section per subcommand with its
// own options, then the extra sections. Lines of a text are filled; a blank line starts a new
// paragraph.
std::string writeManPage(const CLI::App& app, const ManPage& page);

}  // namespace krello::cli
