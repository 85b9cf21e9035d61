// The frame clock: each update's frameDt from the platform's millisecond clock.
#include "game/frame_clock.h"

namespace krello {

void advanceFrameClock(GameState& g, PlatformSeam& platform) {
    const uint32_t now = platform.readClock();
    // Only the low 16 bits of the gap count: a clock that stepped back wraps to a large gap
    // and is cut to 200 like any long pause.
    uint16_t dt = static_cast<uint16_t>(now - g.lastTime);
    g.lastTime = now;
    if (dt == 0) {
        dt = 1;
    } else if (dt > 200) {
        dt = 200;
    }
    g.frameDt = static_cast<int16_t>(dt);
}

}  // namespace krello
