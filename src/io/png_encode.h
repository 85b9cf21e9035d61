// Pictures encoded as PNG in memory, through stb_image_write: one encoder on every platform.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace krello::io {

// A PNG file's bytes, or why there are none.
struct PngBytes {
    std::vector<uint8_t> bytes;
    std::string error;  // empty when the picture was encoded
};

// width x height colour-map indices, row-major, with a colour map of 1..256 RGB entries (three
// bytes each). The picture is written in the colours the indices pick, as an RGB PNG (the encoder
// has no indexed type); an index past the map's end is an error.
PngBytes encodeIndexedPng(int width, int height, const uint8_t* indices, std::span<const uint8_t> rgbColourMap);

// width x height pixels of three bytes (red, green, blue), row-major.
PngBytes encodeRgbPng(int width, int height, const uint8_t* rgb);

}  // namespace krello::io
