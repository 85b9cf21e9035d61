// Where the 320x200 frame lands in a window or screen of any size.
#pragma once

namespace krello {

struct ScreenRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

struct LayoutChoice {
    bool fourByThree = true;    // show 320x200 in a 4:3 shape, as a 320x200 display mode looked
    bool integerScale = false;  // only whole multiples of the frame's shape
};

// The largest rectangle of the frame's shape centred in an output of outW x outH pixels; the
// rest is black bars. With integer scaling it is the largest whole multiple that fits, or the
// plain fit when not even one whole multiple does. Empty when the output is empty.
ScreenRect fitFrame(int outW, int outH, LayoutChoice choice);

// The shape the frame is shown in: 320x240 for 4:3, else 320x200 (square pixels).
int shownFrameHeight(LayoutChoice choice);

// The largest window scale, at most `scale`, whose window (scale times the frame's shape) fits
// a desktop of deskW x deskH; at least 1. A desktop of unknown size (0) leaves the scale alone.
int fitWindowScale(int scale, LayoutChoice choice, int deskW, int deskH);

}  // namespace krello
