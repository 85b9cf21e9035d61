// The frame-rate counter: nothing until half a second has passed, then the rate and the mean work
// time of the frames of each half second.
#include "platform/common/fps_counter.h"

#include <gtest/gtest.h>

#include <string>

namespace krello {
namespace {

// The counter's text after `frames` frames started `interval` µs apart, each working `work` µs.
std::string textAfter(int frames, uint64_t interval, uint64_t work, uint64_t start = 1000000) {
    FpsCounter fps;
    for (int i = 0; i < frames; ++i) {
        fps.frameStarted(start + static_cast<uint64_t>(i) * interval);
        fps.frameEnded(start + static_cast<uint64_t>(i) * interval + work);
    }
    return fps.text();
}

TEST(FpsCounter, EachHalfSecondGivesTheRateAndTheMeanWorkOfItsFrames) {
    const struct {
        int frames;
        uint64_t interval;
        uint64_t work;
        const char* text;
    } cases[] = {
        {25, 20000, 5000, ""},                 // 485 ms: not yet half a second
        {60, 20000, 5000, "50 fps 5.0 ms"},    // the second half second, a steady 50 fps
        {80, 14286, 2100, "70 fps 2.1 ms"},    // the cap
        {5, 250000, 100000, "4 fps 100.0 ms"},  // a slow machine: two frames a half second
    };
    for (const auto& c : cases) EXPECT_EQ(textAfter(c.frames, c.interval, c.work), c.text) << c.frames << " frames";
    // The clock may be far from zero (a machine up for months): only differences count.
    EXPECT_EQ(textAfter(60, 20000, 5000, uint64_t{1} << 50), "50 fps 5.0 ms");
}

TEST(FpsCounter, AFrameEndedBeforeAnyStartedIsNotCounted) {
    FpsCounter fps;
    fps.frameEnded(900000);
    EXPECT_EQ(fps.text(), "");
    fps.frameStarted(1000000);
    fps.frameEnded(1600000);
    EXPECT_EQ(fps.text(), "2 fps 600.0 ms");
}

}  // namespace
}  // namespace krello
