// Test helper: reads a PNG into 8-bit RGB pixels, keeping the palette indices of indexed ones.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace krello::testing {

struct PngImage {
    int width = 0;
    int height = 0;
    bool indexed = false;
    std::vector<uint8_t> indices;  // width*height, only when indexed
    std::vector<uint8_t> rgb;      // width*height*3, always
    std::vector<uint8_t> palette;  // 3 bytes per entry, only when indexed
};

// Returns false (with a reason) when the file cannot be read as a PNG.
bool readPng(const std::string& path, PngImage& image, std::string& reason);

}  // namespace krello::testing
