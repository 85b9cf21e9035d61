// Where the 320x200 frame lands in a window or screen of any size.
#include "platform/common/display_layout.h"

#include <algorithm>
#include <cstdint>

namespace krello {

int shownFrameHeight(LayoutChoice choice) { return choice.fourByThree ? 240 : 200; }

int fitWindowScale(int scale, LayoutChoice choice, int deskW, int deskH) {
    if (deskW <= 0 || deskH <= 0) return scale;
    const int fits = std::min(deskW / 320, deskH / shownFrameHeight(choice));
    return std::max(1, std::min(scale, fits));
}

ScreenRect fitFrame(int outW, int outH, LayoutChoice choice) {
    if (outW <= 0 || outH <= 0) return {};
    const int shapeW = 320;
    const int shapeH = shownFrameHeight(choice);
    int w = 0;
    int h = 0;
    const int whole = std::min(outW / shapeW, outH / shapeH);
    if (choice.integerScale && whole >= 1) {
        w = shapeW * whole;
        h = shapeH * whole;
    } else if (int64_t{outW} * shapeH <= int64_t{outH} * shapeW) {
        // The width limits: full width, height by the shape (64-bit so huge outputs cannot overflow).
        w = outW;
        h = static_cast<int>(int64_t{outW} * shapeH / shapeW);
    } else {
        h = outH;
        w = static_cast<int>(int64_t{outH} * shapeW / shapeH);
    }
    return ScreenRect{(outW - w) / 2, (outH - h) / 2, w, h};
}

}  // namespace krello
