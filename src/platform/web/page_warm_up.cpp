// The timedemo page's warm-up: the renderer drawing the opening view until the browser has
// compiled it with its optimising compiler, before the demo's first timed frame.
#include "platform/web/page_warm_up.h"

#include <algorithm>

namespace krello {
namespace {

constexpr int HEADINGS = 16;
constexpr int ANGLE_UNITS = 2048;

}  // namespace

void WarmUpGauge::turnEnded(uint64_t fastestFrameMicros) {
    ++turns_;
    if (static_cast<double>(fastestFrameMicros) < static_cast<double>(best_) * (1.0 - GAIN)) stale_ = 0;
    else ++stale_;
    best_ = std::min(best_, fastestFrameMicros);
}

PageWarmUp::PageWarmUp(const GameState& opening)
    : view_(std::make_unique<GameState>(opening)),
      frame_(std::make_unique<std::array<uint8_t, FRAME_BYTES>>()),
      openingAngle_(opening.player.angle) {}

bool PageWarmUp::turn(FrameDrawer& drawer, PacerClock& clock, uint64_t sliceMicros) {
    if (done()) return true;
    const uint64_t start = clock.nowMicros();
    uint64_t fastest = UINT64_MAX;
    uint64_t now = start;
    do {
        view_->player.angle = static_cast<int16_t>((openingAngle_ + heading_ * (ANGLE_UNITS / HEADINGS)) % ANGLE_UNITS);
        heading_ = (heading_ + 1) % HEADINGS;
        const uint64_t before = now;
        drawer.draw(*view_, frame_->data());
        now = clock.nowMicros();
        fastest = std::min(fastest, now - before);
    } while (now - start < sliceMicros);
    gauge_.turnEnded(fastest);
    return done();
}

}  // namespace krello
