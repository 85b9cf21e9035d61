// Whether the caller shares the next frame's columns with the other threads or draws it alone,
// chosen from what the frames cost.
#pragma once

namespace krello {

// The other threads help only when they have cores to draw on: on a machine where another
// program holds a core, a frame shared with a thread that is off its core costs more than the
// caller drawing it alone. So the caller times every frame and keeps two running estimates, of a
// shared frame and of a frame drawn alone, and shares only while sharing is the cheaper. While
// sharing, one frame in PROBE_EVERY is drawn alone to keep the other estimate fresh. When sharing
// is the dearer (or a frame made the caller sleep for a piece another thread held), the caller
// draws a stretch of frames alone, twice as long each time in a row, then tries sharing again for
// a few frames. Only the choice of who draws depends on it: never a byte of the frame.
class SharingChoice {
public:
    static constexpr int ALONE_FIRST = 4;    // the first stretch of frames drawn alone
    static constexpr int ALONE_MOST = 1024;  // the longest stretch
    static constexpr int TRIAL = 8;          // shared frames tried after a stretch alone
    static constexpr int PROBE_EVERY = 64;   // shared frames between two drawn alone to compare

    // Whether the next frame is to be shared.
    bool shareNext() const { return aloneLeft_ == 0 && sinceProbe_ < PROBE_EVERY; }
    // Whether the frame after the next one may be shared: false inside a stretch drawn alone,
    // where the other threads had better sleep than wait busily beside the caller.
    bool shareSoon() const { return aloneLeft_ <= 1; }

    // The frame just drawn: whether it was shared, what it cost (any unit, the same every time),
    // and whether the caller had to sleep for a piece another thread held.
    void drawn(bool shared, double cost, bool stalled);

private:
    void goAlone();
    static void fold(double& estimate, double cost, double weight);

    int aloneLeft_ = 0;              // frames still to draw alone in this stretch
    int aloneNext_ = ALONE_FIRST;    // the next stretch's length
    int trialLeft_ = 0;              // shared frames before the trial's estimate is judged
    int sinceProbe_ = 0;             // shared frames since the last one drawn alone
    double aloneCost_ = -1.0;        // running estimate of a frame drawn alone; < 0: none yet
    double sharedCost_ = -1.0;       // running estimate of a shared frame; < 0: none yet
};

}  // namespace krello
