// The files krello-tool writes: pictures as PNG, raw bytes and text, each whole or not at all.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "world/palette.h"

namespace krello::tool {

// Each throws ToolError with one line naming the file when it cannot be written.

// Writes width x height palette indices, row-major, as a paletted PNG with all 256 colours.
void writeIndexedPng(const std::string& path, int width, int height, const uint8_t* indices,
                     const Palette& palette);

// Writes width x height pixels of three bytes (red, green, blue), row-major.
void writeRgbPng(const std::string& path, int width, int height, const uint8_t* rgb);

void writeOutputFile(const std::string& path, std::span<const uint8_t> bytes);
void writeOutputFile(const std::string& path, std::string_view text);

}  // namespace krello::tool
