// Writing pictures as PNG files through libpng's simplified interface (no longjmp handling).
#include "krello_tool/png_file.h"

#include <png.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "krello_tool/commands.h"

namespace krello::tool {
namespace {

void checkSize(const std::string& path, int width, int height, const void* pixels) {
    if (width <= 0 || height <= 0 || pixels == nullptr)
        throw ToolError{"cannot write " + path + ": empty picture"};
}

void writeImage(const std::string& path, png_image& image, const void* pixels, int rowStride,
                const void* colormap) {
    const int ok = png_image_write_to_file(&image, path.c_str(), 0, pixels, rowStride, colormap);
    const std::string why = image.message[0] != '\0' ? image.message : std::strerror(errno);
    png_image_free(&image);
    if (!ok) throw ToolError{"cannot write " + path + ": " + why};
}

}  // namespace

void writeIndexedPng(const std::string& path, int width, int height, const uint8_t* indices,
                     const Palette& palette) {
    checkSize(path, width, height, indices);
    std::array<uint8_t, 256 * 3> colormap{};
    for (size_t i = 0; i < palette.size(); ++i) {
        colormap[i * 3 + 0] = palette[i].red;
        colormap[i * 3 + 1] = palette[i].green;
        colormap[i * 3 + 2] = palette[i].blue;
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB_COLORMAP;
    image.colormap_entries = 256;
    writeImage(path, image, indices, width, colormap.data());
}

void writeRgbPng(const std::string& path, int width, int height, const uint8_t* rgb) {
    checkSize(path, width, height, rgb);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    writeImage(path, image, rgb, width * 3, nullptr);
}

}  // namespace krello::tool
