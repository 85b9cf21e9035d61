// Timing whole frames played as fast as they go, and the one line that reports it.
#include "replay/timedemo.h"

#include <algorithm>
#include <cstdio>

namespace krello {

void TimedemoClock::frameDone(Clock::time_point now) {
    frameMicros_.push_back(std::chrono::duration<double, std::micro>(now - last_).count());
    last_ = now;
}

void TimedemoClock::begin() {
    frameMicros_.clear();
    last_ = start_ = Clock::now();
}

std::string TimedemoClock::report(Clock::time_point now) const {
    const double seconds = std::chrono::duration<double>(now - start_).count();
    const size_t frames = frameMicros_.size();
    const double fps = seconds > 0 ? static_cast<double>(frames) / seconds : 0.0;
    std::vector<double> sorted = frameMicros_;
    std::sort(sorted.begin(), sorted.end());
    const auto ms = [&](size_t i) { return sorted.empty() ? 0.0 : sorted[i] / 1000.0; };
    const size_t last = sorted.empty() ? 0 : sorted.size() - 1;
    char line[192];
    std::snprintf(line, sizeof line, "timedemo: %zu frames in %.3f s: %.1f fps (min/median/max frame %.2f/%.2f/%.2f ms)",
                  frames, seconds, fps, ms(0), ms(last / 2), ms(last));
    return line;
}

std::string timedemoStateLine(uint32_t stateChecksum) {
    char line[64];
    std::snprintf(line, sizeof line, "timedemo: final state checksum 0x%08x", static_cast<unsigned>(stateChecksum));
    return line;
}

}  // namespace krello
