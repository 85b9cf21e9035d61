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
//   "unknown option '--sclae' (see --help)"
//   "--record and --play cannot be used together"
std::string describeParseError(CLI::App& app, const CLI::ParseError& error);

}  // namespace krello::cli
