// Pictures encoded as PNG in memory, through stb_image_write, the same bytes on every platform.
#include "io/png_encode.h"

#include <zlib.h>

#include <cstdlib>
#include <limits>

namespace krello::io {
namespace {

// zlib's deflate at its best for the picture's data, in a buffer the encoder frees.
unsigned char* deflateWithZlib(unsigned char* data, int length, int* outLength, int) {
    uLongf size = compressBound(static_cast<uLong>(length));
    auto* out = static_cast<unsigned char*>(std::malloc(size));
    if (out == nullptr || compress2(out, &size, data, static_cast<uLong>(length), Z_BEST_COMPRESSION) != Z_OK) {
        std::free(out);
        return nullptr;
    }
    *outLength = static_cast<int>(size);
    return out;
}

}  // namespace
}  // namespace krello::io

#define STBIW_ZLIB_COMPRESS krello::io::deflateWithZlib
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace krello::io {
namespace {

constexpr int RGB = 3;

// The encoder hands its output over in pieces; they go to the end of the vector `context`.
void append(void* context, void* data, int size) {
    auto& out = *static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out.insert(out.end(), bytes, bytes + size);
}

// Why a picture of this size cannot be encoded, or nothing. The encoder counts bytes in int.
std::string sizeFault(int width, int height, const void* pixels) {
    if (width <= 0 || height <= 0 || pixels == nullptr) return "empty picture";
    if (static_cast<long long>(width) * height * (RGB + 1) > std::numeric_limits<int>::max()) return "picture too large";
    return {};
}

}  // namespace

PngBytes encodeIndexedPng(int width, int height, const uint8_t* indices, std::span<const uint8_t> rgbColourMap) {
    const size_t entries = rgbColourMap.size() / 3;
    if (std::string fault = sizeFault(width, height, indices); !fault.empty()) return {{}, fault};
    if (entries < 1 || entries > 256 || rgbColourMap.size() % 3 != 0) return {{}, "a colour map needs 1 to 256 RGB entries"};
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::vector<uint8_t> rgb(pixels * RGB);
    for (size_t i = 0; i < pixels; ++i) {
        if (indices[i] >= entries) {
            return {{}, "pixel " + std::to_string(i) + " uses colour " + std::to_string(indices[i]) +
                            " of a colour map of " + std::to_string(entries)};
        }
        for (int c = 0; c < RGB; ++c) rgb[i * RGB + c] = rgbColourMap[indices[i] * RGB + c];
    }
    return encodeRgbPng(width, height, rgb.data());
}

PngBytes encodeRgbPng(int width, int height, const uint8_t* rgb) {
    if (std::string fault = sizeFault(width, height, rgb); !fault.empty()) return {{}, fault};
    PngBytes out;
    if (stbi_write_png_to_func(append, &out.bytes, width, height, RGB, rgb, width * RGB) == 0) {
        out.bytes.clear();
        out.error = "the PNG encoder failed";
    }
    return out;
}

}  // namespace krello::io
