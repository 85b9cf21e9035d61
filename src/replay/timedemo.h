// Timing whole frames played as fast as they go, and the one line that reports it.
#pragma once

#include <chrono>
#include <string>

namespace krello {

// Started at construction; each finished frame is counted.
class TimedemoClock {
public:
    void frameDone() { ++frames_; }

    // "timedemo: N frames in S s: F frames per second"
    std::string report() const;

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();  // the first frame's start
    long frames_ = 0;  // frames finished so far
};

}  // namespace krello
