// The files krello-tool writes: pictures as PNG, raw bytes and text; all of a command's files together or none.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

#include "io/staged_outputs.h"
#include "world/palette.h"

namespace krello::tool {

// A command's outputs, staged beside their targets and put in place together by commit()
// (io::StagedOutputs): a command that throws first leaves every file as it was. Each call
// throws ToolError with one line naming the file when it cannot be done.
class OutputFiles {
public:
    // Names a file the command reads (an empty path names none): no output may be that file.
    void input(const std::string& path) {
        if (!path.empty()) staged_.input(path);
    }
    // Checks an output's path before any work is done (see io::StagedOutputs::check).
    void check(const std::string& path);
    // Lets outputs go into `folder`, made by commit() if it does not exist.
    void createFolder(const std::string& folder);

    void add(const std::string& path, std::span<const uint8_t> bytes);
    void add(const std::string& path, std::string_view text);
    // Width x height palette indices, row-major, as a paletted PNG with all 256 colours.
    void addIndexedPng(const std::string& path, int width, int height, const uint8_t* indices,
                       const Palette& palette);
    // Width x height pixels of three bytes (red, green, blue), row-major.
    void addRgbPng(const std::string& path, int width, int height, const uint8_t* rgb);
    // A stream that becomes `path` at commit(); it stays this object's.
    std::FILE* open(const std::string& path);

    void commit();

private:
    io::StagedOutputs staged_;
};

// A command with one output: the file staged and committed at once.
void writeIndexedPng(const std::string& path, int width, int height, const uint8_t* indices,
                     const Palette& palette);
void writeRgbPng(const std::string& path, int width, int height, const uint8_t* rgb,
                 const std::string& input = "");
void writeOutputFile(const std::string& path, std::span<const uint8_t> bytes);
void writeOutputFile(const std::string& path, std::string_view text);

}  // namespace krello::tool
