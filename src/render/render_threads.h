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

#include "render/render_path.h"
#include "render/render_state.h"

namespace krello {

struct FrameView;

constexpr int MAX_RENDER_THREADS = 8;

// Whether this build draws on several threads at all (KRELLO_THREADS=OFF builds do not).
#ifdef KRELLO_NO_THREADS
constexpr bool RENDER_THREADS_BUILT = false;
#else
constexpr bool RENDER_THREADS_BUILT = true;
#endif

// The machine's cores, at most MAX_RENDER_THREADS; 1 in a build without threads.
int defaultRenderThreads();

// Draws frames with `count` threads: the caller's own and count - 1 made here, once. A frame's
// columns go out in groups to whichever thread asks first; each thread draws with its own marks
// and shades, so a frame is the same whatever thread drew which column. The caller draws too and
// waits only for groups another thread has taken, never for a thread that is late to wake (on a
// busy machine the caller may draw the whole frame). With a count of 1 no thread is made and a
// frame is a plain loop over the columns.
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

    // Thread part's scratch as the last frame it drew left it (part 0 is the caller's).
    const ColumnScratch& scratch(int part) const { return scratch_[static_cast<size_t>(part)]; }

private:
    int count_;
    RenderPath path_;
    std::unique_ptr<ColumnScratch[]> scratch_;  // one per thread

#ifndef KRELLO_NO_THREADS
    void work(int part);
    bool waitForFrame(uint32_t seen);
    void drawGroups(int part, uint32_t frame);

    std::vector<std::thread> workers_;
    std::atomic<const FrameView*> view_{nullptr};  // the frame being drawn
    // The frame's number in the high half and the next group nobody has taken in the low half,
    // so a thread can only take a group of the frame it woke for.
    std::atomic<uint64_t> work_{0};
    std::atomic<int> groupsDone_{0};          // groups of the current frame drawn so far
    std::mutex mutex_;                        // guards the sleep of idle workers
    std::condition_variable frameReady_;      // a new frame, or the end
    std::atomic<bool> stopping_{false};       // set (under the mutex) to end the workers
    bool spinning_ = true;                    // whether idle workers wait busily a while
#endif
};

}  // namespace krello
