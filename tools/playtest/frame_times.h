// Frame times as a player's machine gives them: about 70 frames a second, with seeded jitter.
#pragma once

#include <cstdint>

#include "playtest/bot_random.h"

namespace krello::playtest {

// The milliseconds each update of a game gets. A display at about 70 frames a second whose
// frames come a little early or late (a normal spread of 1.2 ms), with a rare longer hitch
// (a frame in 400, 15 to 45 ms late). The clock reads whole milliseconds, so the steps are the
// differences of the rounded-down running time, which keeps their sum true to the running time.
class FrameTimes {
public:
    explicit FrameTimes(uint64_t seed) : random_(seed) {}

    uint16_t next() {
        double interval = 1000.0 / 70.0 + 1.2 * random_.normal();
        if (interval < 8.0) interval = 8.0;
        if (random_.below(400) == 0) interval += 15.0 + 30.0 * random_.uniform();
        elapsed_ += interval;
        const int64_t now = static_cast<int64_t>(elapsed_);
        const int64_t dt = now - shown_;
        shown_ = now;
        return static_cast<uint16_t>(dt < 1 ? 1 : dt);
    }

private:
    BotRandom random_;
    double elapsed_ = 0.0;  // the display's running time, ms
    int64_t shown_ = 0;     // the clock reading handed out last
};

}  // namespace krello::playtest
