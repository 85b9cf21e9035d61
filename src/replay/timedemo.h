// Timing whole frames played as fast as they go, and the one line that reports it.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "replay/game_run.h"

namespace krello {

// The time of every frame, from one frameDone() to the next (the first from construction, or
// from the start of the game it watches). Watching a run, it marks each step as a frame done.
class TimedemoClock final : public StepObserver {
public:
    using Clock = std::chrono::steady_clock;

    // Room for the frames expected is made now, so timing allocates nothing while frames run.
    explicit TimedemoClock(size_t expectedFrames = 0) : last_(Clock::now()), start_(last_) {
        frameMicros_.reserve(expectedFrames);
    }

    void frameDone() { frameDone(Clock::now()); }
    void frameDone(Clock::time_point now);

    // Timing begins (again) now: the frames so far are forgotten. A shell calls it just before
    // its first frame, so opening the window is no frame's time.
    void begin();
    // Timing begins when the game has started, so the start-up's textures are not a frame's time.
    void started(const GameRun&) override { begin(); }
    void stepped(const GameRun&) override { frameDone(); }

    // "timedemo: N frames in S s: F fps (min/median/max frame A/B/C ms)", measured up to `now`,
    // or to the end of the last frame.
    std::string report() const { return report(last_); }
    std::string report(Clock::time_point now) const;

private:
    Clock::time_point last_;           // when the previous frame ended
    Clock::time_point start_;          // when timing began
    std::vector<double> frameMicros_;  // each frame's time
};

// "timedemo: final state checksum 0x1234abcd": the game as the replay left it, so a timedemo on
// one platform can be compared with the same demo's on another.
std::string timedemoStateLine(uint32_t stateChecksum);

}  // namespace krello
