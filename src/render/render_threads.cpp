// The column threads: made once, each with its own scratch, sharing out every frame's columns.
#include "render/render_threads.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "render/render_view.h"

namespace krello {
namespace {

// Columns a thread takes at a time: enough groups to even out uneven columns and to lose
// little when a thread is held up in one.
constexpr int GROUP_COLUMNS = 16;
constexpr int GROUPS = SCREEN_WIDTH / GROUP_COLUMNS;
static_assert(SCREEN_WIDTH % GROUP_COLUMNS == 0 && GROUPS % 2 == 0);

// The first column of the k-th group handed out. Groups alternate between the screen's halves,
// so two threads taking groups one after the other write to cache lines far apart.
int firstColumn(int k) { return ((k % 2) * (GROUPS / 2) + k / 2) * GROUP_COLUMNS; }

// How long an idle worker waits busily for the next frame before it sleeps. Frames back to
// back (a timedemo) come sooner than a sleeping thread would wake; a paced game sleeps for most
// of each frame.
constexpr std::chrono::microseconds SPIN_TIME{100};

inline void relax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

}  // namespace

struct RenderThreads::Workers {
    std::vector<std::thread> threads;
    std::atomic<const FrameView*> view{nullptr};  // the frame being drawn
    // The frame's number in the high half and the next group nobody has taken in the low half,
    // so a thread can only take a group of the frame it woke for.
    std::atomic<uint64_t> work{0};
    std::atomic<int> groupsDone{0};      // groups of the current frame drawn so far
    std::mutex mutex;                    // guards the sleep of idle workers
    std::condition_variable frameReady;  // a new frame, or the end
    std::atomic<bool> stopping{false};   // set (under the mutex) to end the workers
    bool spinning = true;                // whether idle workers wait busily a while

    // Draws groups of `frame` with scratch until none is left to take.
    void drawGroups(ColumnScratch& scratch, uint32_t frame);
    // A worker's life: wait for a frame, help draw it, again until the end.
    void work_(ColumnScratch& scratch);
    bool waitForFrame(uint32_t seen);
};

int renderThreadsBuilt() { return MAX_RENDER_THREADS; }

int defaultRenderThreads() {
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(cores, 1, MAX_RENDER_THREADS);
}

RenderThreads::RenderThreads(int count, RenderPath path)
    : count_(std::clamp(count, 1, MAX_RENDER_THREADS)), path_(path), scratch_(new ColumnScratch[static_cast<size_t>(count_)]) {
    if (count_ == 1) return;
    workers_ = std::make_unique<Workers>();
    // More threads than cores would spin on cores the drawing threads need.
    workers_->spinning = count_ <= static_cast<int>(std::thread::hardware_concurrency());
    workers_->threads.reserve(static_cast<size_t>(count_ - 1));
    for (int part = 1; part < count_; ++part)
        workers_->threads.emplace_back([w = workers_.get(), s = &scratch_[static_cast<size_t>(part)]] { w->work_(*s); });
}

RenderThreads::~RenderThreads() {
    if (!workers_) return;
    {
        std::lock_guard<std::mutex> lock(workers_->mutex);
        workers_->stopping.store(true, std::memory_order_release);
    }
    workers_->frameReady.notify_all();
    for (std::thread& t : workers_->threads) t.join();
}

void RenderThreads::drawFrame(const FrameView& view) {
    if (!workers_) {
        ColumnScratch& scratch = scratch_[0];
        scratch.startFrame();
        drawColumns(view, scratch, 0, SCREEN_WIDTH);
        return;
    }
    Workers& w = *workers_;
    const uint32_t frame = static_cast<uint32_t>(w.work.load(std::memory_order_relaxed) >> 32) + 1;
    w.view.store(&view, std::memory_order_relaxed);
    w.groupsDone.store(0, std::memory_order_relaxed);
    {
        std::lock_guard<std::mutex> lock(w.mutex);
        w.work.store(static_cast<uint64_t>(frame) << 32, std::memory_order_release);
    }
    w.frameReady.notify_all();
    w.drawGroups(scratch_[0], frame);
    // Only groups another thread took can still be in hand; they are short.
    for (int spin = 1; w.groupsDone.load(std::memory_order_acquire) < GROUPS; ++spin) {
        relax();
        if (spin % 64 == 0) std::this_thread::yield();
    }
}

void RenderThreads::Workers::drawGroups(ColumnScratch& scratch, uint32_t frame) {
    bool started = false;
    uint64_t w = work.load(std::memory_order_acquire);
    for (;;) {
        if (static_cast<uint32_t>(w >> 32) != frame || static_cast<int>(w & 0xFFFFFFFFu) >= GROUPS) return;
        if (!work.compare_exchange_weak(w, w + 1, std::memory_order_acquire, std::memory_order_acquire)) continue;
        // The group is this frame's, and the frame cannot end before the group is drawn, so
        // the view is this frame's and stays alive while it is drawn.
        if (!started) {
            scratch.startFrame();
            started = true;
        }
        const int first = firstColumn(static_cast<int>(w & 0xFFFFFFFFu));
        drawColumns(*view.load(std::memory_order_relaxed), scratch, first, first + GROUP_COLUMNS);
        groupsDone.fetch_add(1, std::memory_order_release);
        w = work.load(std::memory_order_acquire);
    }
}

void RenderThreads::Workers::work_(ColumnScratch& scratch) {
    uint32_t seen = 0;
    while (waitForFrame(seen)) {
        seen = static_cast<uint32_t>(work.load(std::memory_order_acquire) >> 32);
        drawGroups(scratch, seen);
    }
}

bool RenderThreads::Workers::waitForFrame(uint32_t seen) {
    auto ready = [&] {
        return stopping.load(std::memory_order_acquire) ||
               static_cast<uint32_t>(work.load(std::memory_order_acquire) >> 32) != seen;
    };
    if (spinning) {
        const auto until = std::chrono::steady_clock::now() + SPIN_TIME;
        for (int i = 1; !ready(); ++i) {
            relax();
            if (i % 64 == 0 && std::chrono::steady_clock::now() > until) break;
        }
    }
    std::unique_lock<std::mutex> lock(mutex);
    frameReady.wait(lock, ready);
    return !stopping.load(std::memory_order_acquire);
}

}  // namespace krello
