// The column threads: made once, each with its own scratch, sharing out every frame's columns.
#include "render/render_threads.h"

#include <algorithm>
#include <chrono>

#include "render/render_view.h"

namespace krello {
namespace {

#ifndef KRELLO_NO_THREADS
// Columns a thread takes at a time. Groups this wide keep two threads mostly out of each
// other's cache lines and still leave enough groups to even out uneven columns.
constexpr int GROUP_COLUMNS = 16;
constexpr int GROUPS = SCREEN_WIDTH / GROUP_COLUMNS;
static_assert(SCREEN_WIDTH % GROUP_COLUMNS == 0);

// How long a thread waits busily before it sleeps. Frames back to back (a timedemo) come
// sooner than a sleeping thread would wake; a paced game sleeps for most of each frame.
constexpr std::chrono::microseconds SPIN_TIME{100};

inline void relax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

// Spins until ready() or the spin time is up; true if ready.
template <typename Ready>
bool spinUntil(Ready ready) {
    const auto until = std::chrono::steady_clock::now() + SPIN_TIME;
    for (int i = 1;; ++i) {
        if (ready()) return true;
        relax();
        if (i % 64 == 0 && std::chrono::steady_clock::now() > until) return false;
    }
}
#endif

}  // namespace

int defaultRenderThreads() {
#ifdef KRELLO_NO_THREADS
    return 1;
#else
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(cores, 1, MAX_RENDER_THREADS);
#endif
}

RenderThreads::RenderThreads(int count, RenderPath path)
    : count_(std::clamp(count, 1, MAX_RENDER_THREADS)), path_(path), scratch_(new ColumnScratch[static_cast<size_t>(count_)]) {
#ifdef KRELLO_NO_THREADS
    count_ = 1;
#else
    workers_.reserve(static_cast<size_t>(count_ - 1));
    for (int part = 1; part < count_; ++part) workers_.emplace_back([this, part] { work(part); });
#endif
}

RenderThreads::~RenderThreads() {
#ifndef KRELLO_NO_THREADS
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_.store(true, std::memory_order_release);
        frame_.fetch_add(1, std::memory_order_release);
    }
    frameReady_.notify_all();
    for (std::thread& t : workers_) t.join();
#endif
}

void RenderThreads::drawFrame(const FrameView& view) {
    view_ = &view;
#ifndef KRELLO_NO_THREADS
    if (!workers_.empty()) {
        nextGroup_.store(0, std::memory_order_relaxed);
        busy_.store(static_cast<int>(workers_.size()), std::memory_order_relaxed);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            frame_.fetch_add(1, std::memory_order_release);
        }
        frameReady_.notify_all();
        drawShare(0);
        waitForWorkers();
        view_ = nullptr;
        return;
    }
#endif
    drawShare(0);
    view_ = nullptr;
}

void RenderThreads::drawShare(int part) {
    ColumnScratch& scratch = scratch_[static_cast<size_t>(part)];
    scratch.startFrame();
#ifndef KRELLO_NO_THREADS
    if (!workers_.empty()) {
        for (int group = nextGroup_.fetch_add(1, std::memory_order_relaxed); group < GROUPS;
             group = nextGroup_.fetch_add(1, std::memory_order_relaxed)) {
            drawColumns(*view_, scratch, group * GROUP_COLUMNS, (group + 1) * GROUP_COLUMNS);
        }
        return;
    }
#endif
    drawColumns(*view_, scratch, 0, SCREEN_WIDTH);
}

#ifndef KRELLO_NO_THREADS
void RenderThreads::work(int part) {
    uint64_t seen = 0;
    for (;;) {
        waitForFrame(seen);
        seen = frame_.load(std::memory_order_acquire);
        if (stopping_.load(std::memory_order_acquire)) return;
        drawShare(part);
        if (busy_.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            // Taking the mutex orders this against the caller's check before it sleeps.
            std::lock_guard<std::mutex> lock(mutex_);
            framesDone_.notify_one();
        }
    }
}

void RenderThreads::waitForFrame(uint64_t seen) {
    auto arrived = [&] { return frame_.load(std::memory_order_acquire) != seen; };
    if (spinUntil(arrived)) return;
    std::unique_lock<std::mutex> lock(mutex_);
    frameReady_.wait(lock, arrived);
}

void RenderThreads::waitForWorkers() {
    auto finished = [&] { return busy_.load(std::memory_order_acquire) == 0; };
    if (spinUntil(finished)) return;
    std::unique_lock<std::mutex> lock(mutex_);
    framesDone_.wait(lock, finished);
}
#endif

}  // namespace krello
