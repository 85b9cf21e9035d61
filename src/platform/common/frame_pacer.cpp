// Keeps the frame rate at or below a cap, with a clock that tests can replace.
#include "platform/common/frame_pacer.h"

#include <chrono>
#include <thread>

namespace krello {

uint64_t SteadyPacerClock::nowMicros() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(since).count());
}

void SteadyPacerClock::sleepMicros(uint64_t micros) {
    std::this_thread::sleep_for(std::chrono::microseconds(micros));
}

FramePacer::FramePacer(PacerClock& clock, int fps)
    : clock_(clock), interval_(fps > 0 ? 1000000u / static_cast<uint64_t>(fps) : 0) {}

void FramePacer::waitForNextFrame() {
    if (interval_ != 0 && started_) {
        const uint64_t now = clock_.nowMicros();
        if (now < nextStart_) {
            clock_.sleepMicros(nextStart_ - now);
            nextStart_ += interval_;
            return;
        }
    }
    frameDue(0);
}

bool FramePacer::frameDue(int catchUp) {
    if (interval_ == 0) return true;
    const uint64_t now = clock_.nowMicros();
    if (!started_) {
        started_ = true;
        nextStart_ = now + interval_;
        return true;
    }
    if (now < nextStart_) return false;
    if (now - nextStart_ >= interval_ * static_cast<uint64_t>(1 + catchUp)) {
        droppedMicros_ += now - nextStart_;  // this frame takes the slot at nextStart_
        nextStart_ = now + interval_;          // a stall: start a new grid
    } else {
        nextStart_ += interval_;
    }
    return true;
}

void SessionPacer::waitBeforeFrame(uint64_t replayedMillis, bool still) {
    if (still) {
        still_.waitForNextFrame();
        return;
    }
    if (mode_ == DemoMode::Timedemo) return;
    if (mode_ == DemoMode::Play) {
        replay_.waitForGameTime(replayedMillis);
    } else {
        cap_.waitForNextFrame();
    }
}

bool SessionPacer::frameDue(uint64_t replayedMillis, bool still) {
    // A display at 60 Hz owes the 70 fps cap a second frame in one callback now and then; a
    // callback late by a few frames (a busy machine) is caught up, a longer gap is a stall.
    constexpr int DISPLAY_CATCH_UP = 3;
    if (still) return still_.frameDue(0);
    if (mode_ == DemoMode::Timedemo) return true;
    if (mode_ == DemoMode::Play) return replay_.gameTimeDue(replayedMillis);
    return cap_.frameDue(DISPLAY_CATCH_UP);
}

bool ReplayPacer::gameTimeDue(uint64_t gameMillis) {
    const uint64_t now = clock_.nowMicros();
    if (!started_) {
        started_ = true;
        startMicros_ = now;
        startMillis_ = gameMillis;
    }
    return now >= startMicros_ + (gameMillis - startMillis_) * 1000;
}

void ReplayPacer::waitForGameTime(uint64_t gameMillis) {
    const uint64_t now = clock_.nowMicros();
    if (!started_) {
        started_ = true;
        startMicros_ = now;
        startMillis_ = gameMillis;
    }
    const uint64_t due = startMicros_ + (gameMillis - startMillis_) * 1000;
    if (now < due) clock_.sleepMicros(due - now);
}

}  // namespace krello
