// The frame-rate counter: frames per second and the time a frame takes, measured over half seconds.
#include "platform/common/fps_counter.h"

#include <cstdint>
#include <cstdio>

namespace krello {

void FpsCounter::frameStarted(uint64_t nowMicros) {
    if (!started_) {
        started_ = true;
        windowStart_ = nowMicros;
    }
    frameStart_ = nowMicros;
}

void FpsCounter::frameEnded(uint64_t nowMicros) {
    if (!started_) return;
    workMicros_ += nowMicros - frameStart_;
    ++frames_;
    const uint64_t elapsed = nowMicros - windowStart_;
    if (elapsed < WINDOW_MICROS) return;
    char text[48];
    // Through signed integers: an unsigned 64-bit one becomes a double by x87 arithmetic on i686.
    const auto real = [](uint64_t v) { return static_cast<double>(static_cast<int64_t>(v)); };
    std::snprintf(text, sizeof text, "%.0f fps %.1f ms", frames_ * 1e6 / real(elapsed),
                  real(workMicros_) / frames_ / 1000.0);
    text_ = text;
    windowStart_ = nowMicros;
    workMicros_ = 0;
    frames_ = 0;
}

}  // namespace krello
