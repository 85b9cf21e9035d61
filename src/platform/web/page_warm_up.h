// The timedemo page's warm-up: the renderer drawing the opening view until the browser has
// compiled it with its optimising compiler, before the demo's first timed frame.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "platform/common/frame_pacer.h"
#include "world/frame_drawer.h"
#include "world/game_state.h"
#include "world/screen.h"

namespace krello {

// A browser runs a module first as its quick compiler made it, and compiles each function again,
// optimised, in the background once that function has run a while; until then frames take about
// four times as long. Native code is at full speed from its first frame, so the timedemo page
// readies its renderer the same way krello-tool readies its own (the first view drawn, every
// texture turned) and then goes on until the frames are at the pace they will keep.
//
// The gauge tells when that is: each turn reports its fastest frame (the fastest is what the
// code can do; the others also hold whatever else the machine was doing). The frames have
// settled once STALE_TURNS turns in a row have not beaten the best so far by GAIN, after
// MIN_TURNS at least; MAX_TURNS ends the warm-up on a machine too busy to tell.
class WarmUpGauge {
public:
    static constexpr int MIN_TURNS = 4;
    static constexpr int STALE_TURNS = 3;
    static constexpr int MAX_TURNS = 40;
    static constexpr double GAIN = 0.05;

    void turnEnded(uint64_t fastestFrameMicros);
    bool settled() const { return turns_ >= MAX_TURNS || (turns_ >= MIN_TURNS && stale_ >= STALE_TURNS); }
    int turns() const { return turns_; }

private:
    uint64_t best_ = UINT64_MAX;  // the fastest frame of all turns so far
    int turns_ = 0;               // turns reported
    int stale_ = 0;               // turns in a row that did not beat best_ by GAIN
};

// The warm-up's frames: the opening view turned through the compass, a sixteenth of a turn each
// frame, so walls, floors and billboards seen from every side are drawn, into a frame of its
// own. Only the copy made at the start is drawn; the game is not touched.
class PageWarmUp {
public:
    explicit PageWarmUp(const GameState& opening);

    // Warm-up frames for `sliceMicros` of `clock` (one at least). Returns whether the frames
    // have settled: the warm-up is over and the demo may start.
    bool turn(FrameDrawer& drawer, PacerClock& clock, uint64_t sliceMicros);
    bool done() const { return gauge_.settled(); }
    const WarmUpGauge& gauge() const { return gauge_; }

private:
    std::unique_ptr<GameState> view_;                       // the opening view, its heading turned
    std::unique_ptr<std::array<uint8_t, FRAME_BYTES>> frame_;  // what the warm-up draws into
    int16_t openingAngle_;                                  // the game's own heading
    int heading_ = 0;                                       // the next frame's sixteenth of a turn
    WarmUpGauge gauge_;
};

}  // namespace krello
