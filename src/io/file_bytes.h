// Whole files in and out: reading one into memory, writing bytes out whole or not at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace krello::io {

// The most an input file may hold. No input of the game comes near (a level image is 49,180
// bytes, an hour's demo about a megabyte); the bound keeps a wrong path, such as a disk image
// or a device that never ends, from filling the memory.
constexpr size_t MAX_INPUT_BYTES = size_t{64} << 20;

// Reads the whole file into `bytes`. On failure returns false and sets `error` to one line
// naming the file, WHAT saying what the file was to be ("the demo", "the input script"):
//   "PATH: cannot open WHAT: REASON"  (missing, not permitted, ...: the system's reason)
//   "PATH: cannot read WHAT: it is a folder" (or "not a regular file", "the file is empty",
//   "it holds more than N bytes", or the system's reason for a failed read).
// A device, pipe or socket is refused before it is opened, so reading never waits on one.
bool readFile(const std::string& path, std::string_view what, std::string& bytes, std::string& error);

// Writes `bytes` as the whole content of the file at `path`, replacing it: one file staged
// and committed through StagedOutputs (io/staged_outputs.h), whose rules apply. Returns an
// empty string, or one line: "PATH: cannot be written: REASON". Commands that write more than
// one file use StagedOutputs directly, so that all of them appear together or none does.
std::string writeFile(const std::string& path, std::span<const uint8_t> bytes);
std::string writeFile(const std::string& path, std::string_view text);

}  // namespace krello::io
