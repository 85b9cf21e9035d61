// F12 screenshots: the shown frame as an indexed PNG with its palette, numbered krello-NNNN.png.
#pragma once

#include <cstdint>
#include <string>

#include "world/palette.h"

namespace krello {

// Writes a 320x200 frame of palette indices and its palette to path as an 8-bit indexed PNG.
// Returns an empty string on success, else a one-line reason.
std::string writeIndexedPng(const std::string& path, const uint8_t* frame, const Palette& palette);

// Numbers the shots of a session: each one takes the next number whose file does not exist
// yet, so earlier shots (of this session or an earlier one) are never overwritten.
class ScreenshotTaker {
public:
    explicit ScreenshotTaker(std::string dir) : dir_(std::move(dir)) {}

    struct Result {
        bool ok = false;
        std::string path;     // the file written
        std::string reason;   // why not, when ok is false
    };
    Result take(const uint8_t* frame, const Palette& palette);

private:
    std::string dir_;
    int nextNumber_ = 1;
};

}  // namespace krello
