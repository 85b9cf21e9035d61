// Keeps the frame rate at or below a cap, with a clock that tests can replace.
#pragma once

#include <cstdint>

#include "platform/common/shell_options.h"

namespace krello {

// Where the pacer gets its time and how it waits.
class PacerClock {
public:
    virtual uint64_t nowMicros() = 0;
    virtual void sleepMicros(uint64_t micros) = 0;

protected:
    ~PacerClock() = default;
};

// The real clock: a monotonic clock and a thread sleep.
class SteadyPacerClock final : public PacerClock {
public:
    uint64_t nowMicros() override;
    void sleepMicros(uint64_t micros) override;
};

// The game advances by the measured time between frames and jumps by one fixed impulse per
// frame, so a faster machine would jump higher; the cap keeps frames at most `fps` a second.
class FramePacer {
public:
    // fps 0 means no cap.
    FramePacer(PacerClock& clock, int fps);

    // Call before each frame: returns once the frame may start. Frames are scheduled on a
    // fixed grid so small sleep overshoots do not lower the average rate; after a stall longer
    // than one frame the grid restarts from now instead of rushing frames to catch up.
    void waitForNextFrame();

    // The same grid without waiting, for a shell called back by its display (a browser's
    // animation frames): true when a frame may start now, and it is counted as started.
    // A display slower than the cap gets a second frame in a callback when a whole interval has
    // built up; `catchUp` frames may be owed before the grid restarts from now.
    bool frameDue(int catchUp);

    // Frames the grid passed over at its restarts so far: with the frames started, they make
    // the cap's rate by the clock however seldom the display called back.
    uint64_t dropped() const { return interval_ != 0 ? droppedMicros_ / interval_ : 0; }

private:
    PacerClock& clock_;
    uint64_t interval_;  // microseconds between frame starts; 0 = no cap
    uint64_t nextStart_ = 0;
    uint64_t droppedMicros_ = 0;  // grid time passed over at restarts, whole and partial frames
    bool started_ = false;
};

// Shows a replay at the speed it was played: a frame waits until as much real time has passed
// since the first frame as the game time the replay has used.
class ReplayPacer {
public:
    explicit ReplayPacer(PacerClock& clock) : clock_(clock) {}
    void waitForGameTime(uint64_t gameMillis);
    // Without waiting: whether the replay's game time has come (the reckoning starts at the first).
    bool gameTimeDue(uint64_t gameMillis);
    // After a pause: the next frame starts a new reckoning from the game time it has reached.
    void restart() { started_ = false; }

private:
    PacerClock& clock_;
    uint64_t startMicros_ = 0;  // real time of the first frame of this reckoning
    uint64_t startMillis_ = 0;  // game time it had reached then
    bool started_ = false;
};

// Holds each frame back as the session's mode asks: to the frame-rate cap while playing, to
// the recorded game time while replaying, and not at all in a timedemo.
class SessionPacer {
public:
    static constexpr int STILL_FPS = 30;  // enough for messages to come and go; the CPU rests

    SessionPacer(PacerClock& clock, DemoMode mode, int fps)
        : mode_(mode), cap_(clock, fps), still_(clock, STILL_FPS), replay_(clock) {}

    // replayedMillis: the game time a replay has used so far (see DemoSession). A still frame
    // (paused, asking to quit) runs at STILL_FPS whatever the mode.
    void waitBeforeFrame(uint64_t replayedMillis, bool still = false);
    // The same decision without waiting (see FramePacer::frameDue): a frame may start now.
    bool frameDue(uint64_t replayedMillis, bool still = false);

    // The game went on after standing still: a replay goes on at its pace from where it stands.
    void resumed() { replay_.restart(); }
    // Frames the cap's grid dropped while playing (see FramePacer::dropped).
    uint64_t droppedFrames() const { return cap_.dropped(); }

private:
    DemoMode mode_;            // playing, recording, replaying or timing a replay
    FramePacer cap_;           // the frame-rate cap of a played session
    FramePacer still_;         // the pace of still frames
    ReplayPacer replay_;       // a replay's own pace
};

}  // namespace krello
