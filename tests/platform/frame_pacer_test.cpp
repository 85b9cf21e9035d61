// The frame-rate cap, measured on a clock the test moves by hand.
#include "platform/common/frame_pacer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace krello {
namespace {

// Time passes only when the pacer sleeps or the test says a frame took so long.
class FakeClock final : public PacerClock {
public:
    uint64_t now = 1000000;
    std::vector<uint64_t> sleeps;
    uint64_t nowMicros() override { return now; }
    void sleepMicros(uint64_t micros) override {
        sleeps.push_back(micros);
        now += micros;
    }
};

// Runs frames that each cost `work` microseconds; returns the start time of each frame.
std::vector<uint64_t> runFrames(FakeClock& clock, FramePacer& pacer, int frames, uint64_t work) {
    std::vector<uint64_t> starts;
    for (int i = 0; i < frames; ++i) {
        pacer.waitForNextFrame();
        starts.push_back(clock.now);
        clock.now += work;
    }
    return starts;
}

TEST(FramePacer, FreeFramesAreHeldTo70ASecond) {
    FakeClock clock;
    FramePacer pacer(clock, 70);
    const std::vector<uint64_t> starts = runFrames(clock, pacer, 71, 0);
    // 70 intervals of 1/70 s: the 71st frame starts one second after the first, not sooner.
    EXPECT_GE(starts.back() - starts.front(), 70u * (1000000u / 70u));
    EXPECT_LE(starts.back() - starts.front(), 1000000u);
    for (size_t i = 1; i < starts.size(); ++i) EXPECT_GE(starts[i] - starts[i - 1], 1000000u / 70u);
}

TEST(FramePacer, SlowFramesAreNeverDelayed) {
    FakeClock clock;
    FramePacer pacer(clock, 70);
    runFrames(clock, pacer, 20, 20000);  // 50 frames a second: below the cap
    EXPECT_TRUE(clock.sleeps.empty());
}

TEST(FramePacer, WorkIsSubtractedFromTheWait) {
    FakeClock clock;
    FramePacer pacer(clock, 50);  // 20 ms a frame
    runFrames(clock, pacer, 5, 15000);
    ASSERT_EQ(clock.sleeps.size(), 4u);
    for (uint64_t s : clock.sleeps) EXPECT_EQ(s, 5000u);
}

TEST(FramePacer, AfterAStallFramesDoNotRushToCatchUp) {
    FakeClock clock;
    FramePacer pacer(clock, 50);
    runFrames(clock, pacer, 3, 0);
    clock.now += 500000;  // half a second in which no frame ran (say, a dragged window)
    const std::vector<uint64_t> after = runFrames(clock, pacer, 5, 0);
    for (size_t i = 1; i < after.size(); ++i) EXPECT_EQ(after[i] - after[i - 1], 20000u);
}

// A display calling back `hz` times a second for `seconds`, every `lateEvery`-th callback
// `lateMicros` late (a busy machine); each callback produces the frames that are due, at most
// two, as a browser's shell does. Returns the frames produced.
int framesOnDisplay(FakeClock& clock, FramePacer& pacer, int hz, int seconds, int lateEvery = 0,
                    uint64_t lateMicros = 0) {
    int frames = 0;
    for (int tick = 0; tick < hz * seconds; ++tick) {
        clock.now = 1000000 + static_cast<uint64_t>(tick) * 1000000u / static_cast<uint64_t>(hz);
        if (lateEvery > 0 && tick % lateEvery == 0) clock.now += lateMicros;
        for (int i = 0; i < 2 && pacer.frameDue(3); ++i) ++frames;
    }
    return frames;
}

TEST(FramePacer, DisplayCallbacksGiveTheCapWhateverTheirRate) {
    // A 60 Hz display is owed a second frame now and then; faster ones skip callbacks. A display
    // starved of callbacks (a busy machine) gets two frames a callback at most, and the frames
    // its callbacks had no room for are counted as dropped: made and dropped, 70 a second.
    struct Case {
        int hz;
        int lateEvery;
        uint64_t lateMicros;
        bool starved;
    };
    for (const Case c : {Case{60, 0, 0, false}, Case{75, 0, 0, false}, Case{120, 0, 0, false},
                         Case{144, 0, 0, false}, Case{240, 0, 0, false}, Case{60, 10, 30000, false},
                         Case{144, 7, 25000, false}, Case{30, 0, 0, true}, Case{20, 0, 0, true},
                         Case{7, 0, 0, true}, Case{10, 3, 60000, true}}) {
        FakeClock clock;
        FramePacer pacer(clock, 70);
        const int frames = framesOnDisplay(clock, pacer, c.hz, 10, c.lateEvery, c.lateMicros);
        const auto owed = static_cast<uint64_t>(frames) + pacer.dropped();
        // The clock's frames from the first callback to the last; up to 4 may still be owed.
        const uint64_t due = (clock.now - 1000000u) * 70u / 1000000u + 1;
        const std::string what = std::to_string(c.hz) + " Hz, late every " + std::to_string(c.lateEvery);
        EXPECT_LE(frames, 2 * c.hz * 10) << what;
        EXPECT_GE(owed + 4, due) << what;
        EXPECT_LE(owed, due + 1) << what;
        if (c.starved) {
            EXPECT_GT(pacer.dropped(), 0u) << what;
        } else {
            EXPECT_GE(frames, 695) << what;
        }
        EXPECT_TRUE(clock.sleeps.empty());
    }
}

TEST(FramePacer, DisplayCallbacksAfterAStallStartANewGrid) {
    FakeClock clock;
    FramePacer pacer(clock, 50);
    EXPECT_TRUE(pacer.frameDue(3));
    clock.now += 500000;  // a hidden tab: no callbacks for half a second
    EXPECT_TRUE(pacer.frameDue(3));
    EXPECT_FALSE(pacer.frameDue(3)) << "the missed frames are not rushed";
    clock.now += 20000;
    EXPECT_TRUE(pacer.frameDue(3));
}

TEST(FramePacer, ZeroMeansNoCap) {
    FakeClock clock;
    FramePacer pacer(clock, 0);
    const std::vector<uint64_t> starts = runFrames(clock, pacer, 100, 0);
    EXPECT_EQ(starts.back(), starts.front());
    EXPECT_TRUE(clock.sleeps.empty());
}

}  // namespace
}  // namespace krello

namespace krello {
namespace {

TEST(ReplayPacer, FramesWaitForTheRecordedGameTime) {
    FakeClock clock;
    ReplayPacer pacer(clock);
    const uint64_t start = clock.now;
    pacer.waitForGameTime(0);
    EXPECT_EQ(clock.now, start);
    pacer.waitForGameTime(16);
    EXPECT_EQ(clock.now, start + 16000);
    clock.now += 50000;  // a slow frame: the replay is behind, so it does not wait
    pacer.waitForGameTime(32);
    EXPECT_EQ(clock.now, start + 66000);
    pacer.waitForGameTime(100);
    EXPECT_EQ(clock.now, start + 100000);
}

}  // namespace
}  // namespace krello
