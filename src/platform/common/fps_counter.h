// The frame-rate counter: frames per second and the time a frame takes, measured over half seconds.
#pragma once

#include <cstdint>
#include <string>

namespace krello {

// The shell marks when each frame's work starts and ends (microseconds of any steady clock).
// Every half second the text is renewed: frames shown in that time as a rate, and the mean work
// time of a frame, so the headroom under the cap shows too.
class FpsCounter {
public:
    static constexpr uint64_t WINDOW_MICROS = 500000;

    void frameStarted(uint64_t nowMicros);
    void frameEnded(uint64_t nowMicros);

    // "70 fps 2.1 ms"; empty until the first half second has passed.
    const std::string& text() const { return text_; }

private:
    uint64_t windowStart_ = 0;  // when the current half second began
    uint64_t frameStart_ = 0;   // when the frame under way began
    uint64_t workMicros_ = 0;   // work time of the frames in this half second
    int frames_ = 0;            // frames ended in this half second
    bool started_ = false;
    std::string text_;
};

}  // namespace krello
