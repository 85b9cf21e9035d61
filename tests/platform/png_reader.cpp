// Test helper: reads a PNG into 8-bit RGB pixels, keeping the palette indices of indexed ones.
#include "png_reader.h"

#include <png.h>

#include <cstdio>

namespace krello::testing {
namespace {

bool decode(FILE* file, PngImage& image, std::string& reason) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        reason = "cannot start the PNG decoder";
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        reason = "not a readable PNG";
        return false;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    image.width = static_cast<int>(png_get_image_width(png, info));
    image.height = static_cast<int>(png_get_image_height(png, info));
    const int colourType = png_get_color_type(png, info);
    image.indexed = colourType == PNG_COLOR_TYPE_PALETTE && png_get_bit_depth(png, info) == 8;
    if (image.indexed) {
        png_colorp colours = nullptr;
        int count = 0;
        png_get_PLTE(png, info, &colours, &count);
        for (int i = 0; i < count; ++i) image.palette.insert(image.palette.end(), {colours[i].red, colours[i].green, colours[i].blue});
    } else {
        png_set_expand(png);
        png_set_strip_16(png);
        png_set_strip_alpha(png);
        png_set_gray_to_rgb(png);
    }
    png_read_update_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    std::vector<uint8_t> rows(rowBytes * image.height);
    for (int y = 0; y < image.height; ++y) png_read_row(png, rows.data() + y * rowBytes, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    const size_t pixels = static_cast<size_t>(image.width) * image.height;
    if (image.indexed) {
        image.indices.assign(rows.begin(), rows.begin() + static_cast<ptrdiff_t>(pixels));
        image.rgb.resize(pixels * 3);
        for (size_t i = 0; i < pixels; ++i) {
            for (int c = 0; c < 3; ++c) image.rgb[i * 3 + c] = image.palette[image.indices[i] * 3 + c];
        }
    } else {
        image.rgb = std::move(rows);
    }
    return true;
}

}  // namespace

bool readPng(const std::string& path, PngImage& image, std::string& reason) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        reason = path + ": cannot open";
        return false;
    }
    const bool ok = decode(file, image, reason);
    std::fclose(file);
    if (!ok) reason = path + ": " + reason;
    return ok;
}

}  // namespace krello::testing
