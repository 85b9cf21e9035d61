// Pictures encoded as PNG in memory, through libpng's simplified interface (no longjmp handling).
#include "io/png_encode.h"

#include <png.h>

namespace krello::io {
namespace {

PngBytes encode(png_image& image, const void* pixels, int rowStride, const void* colourMap) {
    PngBytes out;
    png_alloc_size_t size = 0;
    // The first call only measures; the second writes into a buffer of that size.
    if (png_image_write_to_memory(&image, nullptr, &size, 0, pixels, rowStride, colourMap)) {
        out.bytes.resize(size);
        if (!png_image_write_to_memory(&image, out.bytes.data(), &size, 0, pixels, rowStride, colourMap))
            out.bytes.clear();
        out.bytes.resize(size);
    }
    if (out.bytes.empty()) out.error = image.message[0] != '\0' ? image.message : "the PNG encoder failed";
    png_image_free(&image);
    return out;
}

png_image describe(int width, int height, png_uint_32 format) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = format;
    return image;
}

bool empty(int width, int height, const void* pixels) { return width <= 0 || height <= 0 || pixels == nullptr; }

}  // namespace

PngBytes encodeIndexedPng(int width, int height, const uint8_t* indices, std::span<const uint8_t> rgbColourMap) {
    const size_t entries = rgbColourMap.size() / 3;
    if (empty(width, height, indices)) return {{}, "empty picture"};
    if (entries < 1 || entries > 256 || rgbColourMap.size() % 3 != 0) return {{}, "a colour map needs 1 to 256 RGB entries"};
    png_image image = describe(width, height, PNG_FORMAT_RGB_COLORMAP);
    image.colormap_entries = static_cast<png_uint_32>(entries);
    return encode(image, indices, width, rgbColourMap.data());
}

PngBytes encodeRgbPng(int width, int height, const uint8_t* rgb) {
    if (empty(width, height, rgb)) return {{}, "empty picture"};
    png_image image = describe(width, height, PNG_FORMAT_RGB);
    return encode(image, rgb, width * 3, nullptr);
}

}  // namespace krello::io
