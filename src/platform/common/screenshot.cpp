// F12 screenshots: the shown frame as an indexed PNG with its palette, numbered krello-NNNN.png.
#include "platform/common/screenshot.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "world/screen.h"

namespace krello {
namespace {

constexpr int LAST_SHOT_NUMBER = 9999;

// libpng reports failures by longjmp; everything that needs cleaning up is owned outside the
// jump's reach (the FILE and the png structs are released by the caller's scope below).
std::string encodePng(FILE* file, const uint8_t* frame, const Palette& palette) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return "cannot start the PNG encoder";
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return "cannot start the PNG encoder";
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return "the PNG encoder failed (disk full?)";
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, SCREEN_WIDTH, SCREEN_HEIGHT, 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color colours[256];
    for (int i = 0; i < 256; ++i) colours[i] = png_color{palette[i].red, palette[i].green, palette[i].blue};
    png_set_PLTE(png, info, colours, 256);
    png_write_info(png, info);
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        png_write_row(png, const_cast<png_bytep>(frame + y * SCREEN_WIDTH));
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return {};
}

}  // namespace

std::string writeIndexedPng(const std::string& path, const uint8_t* frame, const Palette& palette) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return path + ": " + std::strerror(errno);
    std::string reason = encodePng(file, frame, palette);
    if (std::fclose(file) != 0 && reason.empty()) reason = std::string("cannot finish writing: ") + std::strerror(errno);
    if (!reason.empty()) {
        std::remove(path.c_str());
        return path + ": " + reason;
    }
    return {};
}

ScreenshotTaker::Result ScreenshotTaker::take(const uint8_t* frame, const Palette& palette) {
    Result result;
    for (; nextNumber_ <= LAST_SHOT_NUMBER; ++nextNumber_) {
        char name[32];
        std::snprintf(name, sizeof name, "krello-%04d.png", nextNumber_);
        const std::string path = dir_ + "/" + name;
        // "x": create only, so a file that appeared meanwhile is never overwritten.
        FILE* probe = std::fopen(path.c_str(), "wx");
        if (probe == nullptr) {
            if (errno == EEXIST) continue;
            result.reason = path + ": " + std::strerror(errno);
            return result;
        }
        std::fclose(probe);
        ++nextNumber_;
        result.reason = writeIndexedPng(path, frame, palette);
        result.ok = result.reason.empty();
        result.path = path;
        return result;
    }
    result.reason = dir_ + ": all screenshot numbers up to 9999 are taken";
    return result;
}

}  // namespace krello
