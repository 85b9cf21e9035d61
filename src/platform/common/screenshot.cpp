// Screenshots: the shown frame encoded as an indexed PNG with its palette, numbered krello-NNNN.png.
#include "platform/common/screenshot.h"

#include <cstdio>

#include "io/atomic_file.h"
#include "world/screen.h"

namespace krello {
namespace {

constexpr int LAST_SHOT_NUMBER = 9999;

}  // namespace

io::PngBytes encodeScreenshot(const uint8_t* frame, const Palette& palette) {
    return io::encodeIndexedPng(SCREEN_WIDTH, SCREEN_HEIGHT, frame, rgbColourMap(palette));
}

ScreenshotTaker::Result ScreenshotTaker::take(const uint8_t* frame, const Palette& palette) {
    Result result;
    const io::PngBytes png = encodeScreenshot(frame, palette);
    if (!png.error.empty()) {
        result.reason = dir_ + ": " + png.error;
        return result;
    }
    for (; nextNumber_ <= LAST_SHOT_NUMBER; ++nextNumber_) {
        char name[32];
        std::snprintf(name, sizeof name, "krello-%04d.png", nextNumber_);
        const std::string path = dir_ == "." ? std::string(name) : dir_ + "/" + name;
        bool exists = false;
        result.reason = io::writeNewFile(path, png.bytes, exists);
        if (exists) continue;
        ++nextNumber_;
        result.ok = result.reason.empty();
        result.path = path;
        return result;
    }
    result.reason = dir_ + ": all screenshot numbers up to 9999 are taken";
    return result;
}

}  // namespace krello
