// Writing pictures as PNG files: paletted frames and textures, or plain RGB images.
#pragma once

#include <cstdint>
#include <string>

#include "world/palette.h"

namespace krello::tool {

// Writes width x height palette indices, row-major, as a paletted PNG with all 256 colours.
// Throws ToolError naming the file if it cannot be written.
void writeIndexedPng(const std::string& path, int width, int height, const uint8_t* indices,
                     const Palette& palette);

// Writes width x height pixels of three bytes (red, green, blue), row-major.
// Throws ToolError naming the file if it cannot be written.
void writeRgbPng(const std::string& path, int width, int height, const uint8_t* rgb);

}  // namespace krello::tool
