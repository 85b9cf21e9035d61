// Whether the caller shares the next frame's columns with the other threads or draws it alone,
// chosen from what the frames cost.
#pragma once

namespace krello {

// The other threads help only when they have cores to draw on: on a machine where another
// program holds a core, a frame shared with a thread that is off its core costs more than the
// caller drawing it alone. So the caller times every frame and keeps two running estimates, of a
// shared frame and of a frame drawn alone, and shares only while sharing is the cheaper by
// MARGIN. While sharing, one frame in PROBE_EVERY is drawn alone to keep the other estimate
// fresh. When sharing saves less (or a frame made the caller sleep for a piece another thread
// held), the caller draws a stretch of frames alone, twice as long each time in a row, then tries
// sharing again for a few frames. Only the choice of who draws depends on it: never a byte of
// the frame.
//
// It also chooses how an idle worker waits for the next frame. Waiting busily, a worker is there
// within a microsecond, but beside another program that holds a core, a thread that is always
// runnable makes three for two cores, and the system then takes the caller off its core for a
// whole scheduling slice (milliseconds) now and then; a sleeping worker wakes in a few
// microseconds there and takes no time of the caller's. A busy-waiting worker that often comes late
// (or not at all) to a frame, or shared frames that cost many times the usual (the caller taken off
// its core), show that the cores are contested: then the worker sleeps between frames for a
// stretch, twice as long each time in a row, and waits busily again on trial.
class SharingChoice {
public:
    static constexpr int ALONE_FIRST = 4;    // the first stretch of frames drawn alone
    static constexpr int ALONE_MOST = 1024;  // the longest stretch
    static constexpr int TRIAL = 8;          // shared frames tried after a stretch alone
    static constexpr int PROBE_EVERY = 64;   // shared frames between two drawn alone to compare
    // Sharing must save at least this share of a frame drawn alone to be kept: beside another
    // program a shared frame risks stalls that its running cost shows only after they hit, so a
    // saving smaller than that risk is no saving.
    static constexpr double MARGIN = 0.08;
    static constexpr int LATE_WINDOW = 128;  // prompt or late arrivals judged together
    static constexpr int LATE_MOST = 3;      // late arrivals in a window that free cores allow
    static constexpr int STALL_LATE = 2;     // late arrivals a shared frame's stall counts as
    static constexpr double STALL_TIMES = 8.0;  // a stall: a shared frame this many times the usual
    static constexpr int SLEEP_FIRST = 256;  // the first stretch of frames with a sleeping worker
    static constexpr int SLEEP_MOST = 8192;  // the longest stretch

    // Whether the next frame is to be shared.
    bool shareNext() const { return aloneLeft_ == 0 && sinceProbe_ < PROBE_EVERY; }
    // Whether the frame after the next one may be shared: false inside a stretch drawn alone,
    // where the other threads had better sleep than wait busily beside the caller.
    bool shareSoon() const { return aloneLeft_ <= 1; }

    // The frame just drawn: whether it was shared, what it cost (any unit, the same every time),
    // and whether the caller had to sleep for a piece another thread held.
    void drawn(bool shared, double cost, bool stalled);

    // Whether an idle worker waits busily for the next frame (true) or sleeps until it comes.
    bool waitBusily() const { return sleepLeft_ == 0; }
    // A shared frame handed out while a worker waited busily: whether a worker took a piece of it
    // promptly. Call before drawn().
    void workerCame(bool prompt);

private:
    void judgeWaiting(int late, int arrivals);
    void goAlone();
    static void fold(double& estimate, double cost, double weight);

    int aloneLeft_ = 0;              // frames still to draw alone in this stretch
    int aloneNext_ = ALONE_FIRST;    // the next stretch's length
    int trialLeft_ = 0;              // shared frames before the trial's estimate is judged
    int sinceProbe_ = 0;             // shared frames since the last one drawn alone
    double aloneCost_ = -1.0;        // running estimate of a frame drawn alone; < 0: none yet
    double sharedCost_ = -1.0;       // running estimate of a shared frame; < 0: none yet
    int sleepLeft_ = 0;              // frames still to draw with the workers sleeping between them
    int sleepNext_ = SLEEP_FIRST;    // the next such stretch's length
    int arrivals_ = 0;               // busy-waiting arrivals judged in this window
    int lateArrivals_ = 0;           // of those, late ones
};

}  // namespace krello
