// The column threads: made once, each with its own scratch, sharing out every frame's columns.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#ifndef KRELLO_NO_THREADS
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#endif

#include "render/render_state.h"
#include "render/render_path.h"

namespace krello {

struct FrameView;

constexpr int MAX_RENDER_THREADS = 8;

// The machine's cores, at most MAX_RENDER_THREADS; 1 in a build without threads.
int defaultRenderThreads();

// Draws frames with `count` threads: the caller's own and count - 1 made here, once. A frame's
// columns go out in groups to whichever thread is free; each thread draws with its own marks
// and shades, so a frame is the same whatever thread drew which column. With a count of 1 no
// thread is made and a frame is a plain loop over the columns.
class RenderThreads {
public:
    // count is clamped to 1..MAX_RENDER_THREADS (to 1 in a build without threads).
    RenderThreads(int count, RenderPath path);
    ~RenderThreads();
    RenderThreads(const RenderThreads&) = delete;
    RenderThreads& operator=(const RenderThreads&) = delete;

    int count() const { return count_; }
    RenderPath renderPath() const { return path_; }

    // Draws every column of the frame and returns when all are drawn.
    void drawFrame(const FrameView& view);

    // Thread part's scratch as the last frame left it (part 0 is the caller's).
    const ColumnScratch& scratch(int part) const { return scratch_[static_cast<size_t>(part)]; }

private:
    void drawShare(int part);

    int count_;
    RenderPath path_;
    std::unique_ptr<ColumnScratch[]> scratch_;  // one per thread
    const FrameView* view_ = nullptr;           // the frame being drawn

#ifndef KRELLO_NO_THREADS
    void work(int part);
    void waitForFrame(uint64_t seen);
    void waitForWorkers();

    std::vector<std::thread> workers_;
    std::mutex mutex_;                     // guards the sleeps on the two conditions
    std::condition_variable frameReady_;  // a new frame, or the end
    std::condition_variable framesDone_;  // the last worker finished its share
    std::atomic<uint64_t> frame_{0};      // frames handed out so far
    std::atomic<int> busy_{0};            // workers still drawing the current frame
    std::atomic<int> nextGroup_{0};       // the next group of columns nobody has taken
    std::atomic<bool> stopping_{false};   // set (under the mutex) to end the workers
#endif
};

}  // namespace krello
