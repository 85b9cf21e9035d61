// The column threads: made once, each with its own scratch, sharing out every frame's columns.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "render/render_path.h"
#include "render/render_state.h"

namespace krello {

struct FrameView;

constexpr int MAX_RENDER_THREADS = 8;

// The most threads this build draws with: MAX_RENDER_THREADS, or 1 in a build without threads
// (KRELLO_THREADS=OFF, which compiles render_threads_none.cpp instead of render_threads.cpp).
int renderThreadsBuilt();

// The machine's cores, at most MAX_RENDER_THREADS; 1 in a build without threads.
int defaultRenderThreads();

// How the last frame's columns were shared: what a benchmark or a tool reports to explain a frame
// rate (none of it changes a frame).
struct FrameSharing {
    bool shared = false;         // the other threads were asked to help (false: drawn alone)
    bool workerSlept = false;    // a worker was asleep when the frame was handed out
    bool callerSlept = false;    // the caller slept waiting for a piece another thread held
    bool workersWaitedBusily = false;  // idle workers waited busily (not asleep) for frames
    int callerColumns = 0;       // columns the caller drew itself
    int64_t workerLateNanos = -1;  // from the hand-out to a worker's first piece; -1: none came
    int64_t waitNanos = 0;       // the caller's wait for others' pieces after its own ran out
};

// Draws frames with `count` threads: the caller's own and count - 1 made here, once. A frame's
// columns go out in pieces to whichever thread asks first; each thread draws with its own marks
// and shades, so a frame is the same whatever thread drew which column. The caller draws too and
// waits only for pieces another thread has taken, never for a thread that is late to wake. An
// idle worker waits busily while frames keep coming, so it is there when the next one is handed
// out. The caller times every frame and shares one only while shared frames cost less than frames
// drawn alone (SharingChoice); inside a stretch drawn alone the workers sleep. With a count of 1 no
// thread is made and a frame is a plain loop over the columns.
class RenderThreads {
public:
    // count is clamped to 1..renderThreadsBuilt().
    RenderThreads(int count, RenderPath path);
    ~RenderThreads();
    RenderThreads(const RenderThreads&) = delete;
    RenderThreads& operator=(const RenderThreads&) = delete;

    int count() const { return count_; }
    RenderPath renderPath() const { return path_; }

    // Draws every column of the frame and returns when all are drawn.
    void drawFrame(const FrameView& view);

    // Readies every thread's scratch for the game's frames: memory touched, tables made and the
    // textures turned, so the first frame costs what any other does. At start-up (it allocates a
    // frame to draw into), while no frame is being drawn; the frames drawn after it are the same.
    void warmUp(const GameState& g);

    // How the last frame's columns were shared.
    const FrameSharing& lastSharing() const { return sharing_; }

    // Thread part's scratch as the last frame it drew left it (part 0 is the caller's).
    const ColumnScratch& scratch(int part) const { return scratch_[static_cast<size_t>(part)]; }

private:
    struct Workers;  // the threads made here and what they share with the caller

    int count_;
    RenderPath path_;
    std::unique_ptr<ColumnScratch[]> scratch_;  // one per thread
    std::unique_ptr<Workers> workers_;          // none with a count of 1
    FrameSharing sharing_;                      // the last frame's
};

// The threads a program draws with: `count` of them on the render path that the environment
// variable KRELLO_RENDER_PATH names ("scalar", "sse2" or "avx2"; unset or empty: the best this
// machine has). The one place that reads the variable. Returns null and sets error to one line
// when it names no path, or a path this machine cannot run.
std::unique_ptr<RenderThreads> startRenderThreads(int count, std::string& error);

}  // namespace krello
