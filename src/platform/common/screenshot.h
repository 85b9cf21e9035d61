// Screenshots: the shown frame as a PNG in the palette in force, numbered krello-NNNN.png.
#pragma once

#include <cstdint>
#include <string>

#include "io/png_encode.h"
#include "world/palette.h"

namespace krello {

// The bytes of a screenshot: a 320x200 frame of palette indices as a PNG of the colours the
// palette in force gives them. A shell that keeps no files may hand these bytes on as they are.
io::PngBytes encodeScreenshot(const uint8_t* frame, const Palette& palette);

// Where a session's screenshots go: files where a shell has files, a download in the browser.
class ScreenshotSink {
public:
    struct Result {
        bool ok = false;
        std::string path;     // the file written
        std::string reason;   // why not, when ok is false
    };
    virtual Result take(const uint8_t* frame, const Palette& palette) = 0;

protected:
    ~ScreenshotSink() = default;
};

// Numbers the shots of a session: each one takes the next number whose file does not exist
// yet, so earlier shots (of this session or an earlier one) are never overwritten. A shot is
// written under a temporary name and then takes its number, so no half-written PNG ever
// carries one.
class ScreenshotTaker final : public ScreenshotSink {
public:
    explicit ScreenshotTaker(std::string dir) : dir_(std::move(dir)) {}

    Result take(const uint8_t* frame, const Palette& palette) override;

private:
    std::string dir_;     // where the shots go
    int nextNumber_ = 1;  // the first number not yet known to be taken
};

}  // namespace krello
