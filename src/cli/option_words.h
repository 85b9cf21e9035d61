// Command lines in the programs' own words: value checks that say what was expected, and one-line errors.
#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <string>

namespace krello::cli {

// Checks for option values. Each names what it expects in its failure ("expected a whole number
// from 1 to 16, got 'abc'") and shows nothing in --help, where the option's placeholder (N, FILE,
// DIR) says enough. Values are checked as text, before any conversion, so a non-number never
// reaches the library's own wording.
CLI::Validator wholeNumber(int64_t lo, int64_t hi);  // hi = INT64_MAX: "from LO up"
CLI::Validator existingFile();
CLI::Validator existingFolder();

// One line for a failed command line, without the program's name:
//   "--scale: expected a whole number from 1 to 16, got 'abc'"
//   "--scale: expected a whole number from 1 to 16, got nothing"
//   "--view: expected 5 values (X Y Z ANGLE SECTOR), got 2"
//   "unknown option '--sclae' (see --help)"
//   "--record and --play cannot be used together"
//   "textures: which one? dump or sheet (see krello-tool textures --help)"
// An option is looked for in the command that was given, so a subcommand's options are named
// in the same words as the program's own.
std::string describeParseError(CLI::App& app, const CLI::ParseError& error);

// --help in the programs' words: an option's first column holds its names and its value's
// placeholder only; what it needs and what it cannot be used with follow its description
// ("(not with --play, --timedemo)"), so the notes never run into the names. Set it on the app
// before its subcommands are added; they take it over.
void useOurHelp(CLI::App& app);

}  // namespace krello::cli
