// Screenshots: the shown frame as a PNG in the palette in force, numbered krello-NNNN.png.
#include "platform/common/screenshot.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "io/file_bytes.h"
#include "world/screen.h"

namespace krello {
namespace {

constexpr int LAST_SHOT_NUMBER = 9999;

// Writes the shot over the empty file that claimed its number; a failed shot leaves no file.
std::string writeShot(const std::string& path, const uint8_t* frame, const Palette& palette) {
    const io::PngBytes png = encodeScreenshot(frame, palette);
    std::string reason = png.error.empty() ? io::writeFile(path, png.bytes) : path + ": " + png.error;
    if (!reason.empty()) std::remove(path.c_str());
    return reason;
}

}  // namespace

io::PngBytes encodeScreenshot(const uint8_t* frame, const Palette& palette) {
    return io::encodeIndexedPng(SCREEN_WIDTH, SCREEN_HEIGHT, frame, rgbColourMap(palette));
}

ScreenshotTaker::Result ScreenshotTaker::take(const uint8_t* frame, const Palette& palette) {
    Result result;
    for (; nextNumber_ <= LAST_SHOT_NUMBER; ++nextNumber_) {
        char name[32];
        std::snprintf(name, sizeof name, "krello-%04d.png", nextNumber_);
        const std::string path = dir_ + "/" + name;
        // Create only, so a file that appeared meanwhile is never overwritten. Not fopen's "x":
        // Windows' msvcrt ignores it and opens the existing file.
        const int claimed = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (claimed < 0) {
            if (errno == EEXIST) continue;
            result.reason = path + ": " + std::strerror(errno);
            return result;
        }
        ::close(claimed);
        ++nextNumber_;
        result.reason = writeShot(path, frame, palette);
        result.ok = result.reason.empty();
        result.path = path;
        return result;
    }
    result.reason = dir_ + ": all screenshot numbers up to 9999 are taken";
    return result;
}

}  // namespace krello
