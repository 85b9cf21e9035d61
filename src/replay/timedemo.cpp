// Timing whole frames played as fast as they go, and the one line that reports it.
#include "replay/timedemo.h"

#include <cstdio>

namespace krello {

std::string TimedemoClock::report() const {
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    const double fps = seconds > 0 ? static_cast<double>(frames_) / seconds : 0.0;
    char line[128];
    std::snprintf(line, sizeof line, "timedemo: %ld frames in %.3f s: %.1f frames per second", frames_, seconds, fps);
    return line;
}

}  // namespace krello
