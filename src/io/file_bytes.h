// Whole files in and out: reading one into memory, writing bytes out whole or not at all.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace krello::io {

// Reads the whole file into `bytes`. On failure returns false and sets `error` to one line
// naming the file: "PATH: cannot open WHAT" or "PATH: cannot read WHAT", WHAT saying what the
// file was to be ("the demo", "the input script").
bool readFile(const std::string& path, std::string_view what, std::string& bytes, std::string& error);

// Writes `bytes` as the whole content of the file at `path`, replacing it. The bytes go to a
// file beside it first, which then takes the path's place, so a failed write leaves no half
// file behind. Returns an empty string, or one line: "PATH: cannot be written: REASON".
std::string writeFile(const std::string& path, std::span<const uint8_t> bytes);
std::string writeFile(const std::string& path, std::string_view text);

}  // namespace krello::io
