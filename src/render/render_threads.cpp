// The column threads: made once, each with its own scratch, sharing out every frame's columns.
#include "render/render_threads.h"

#include <algorithm>
#include <chrono>

#include "render/render_view.h"

namespace krello {
namespace {

#ifndef KRELLO_NO_THREADS
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
    : count_(std::clamp(count, 1, MAX_RENDER_THREADS)), path_(path) {
#ifdef KRELLO_NO_THREADS
    count_ = 1;
#else
    // More threads than cores would spin on cores the drawing threads need.
    spinning_ = count_ <= static_cast<int>(std::thread::hardware_concurrency());
#endif
    scratch_.reset(new ColumnScratch[static_cast<size_t>(count_)]);
#ifndef KRELLO_NO_THREADS
    workers_.reserve(static_cast<size_t>(count_ - 1));
    for (int part = 1; part < count_; ++part) workers_.emplace_back([this, part] { work(part); });
#endif
}

RenderThreads::~RenderThreads() {
#ifndef KRELLO_NO_THREADS
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_.store(true, std::memory_order_release);
    }
    frameReady_.notify_all();
    for (std::thread& t : workers_) t.join();
#endif
}

void RenderThreads::drawFrame(const FrameView& view) {
#ifndef KRELLO_NO_THREADS
    if (!workers_.empty()) {
        const uint32_t frame = static_cast<uint32_t>(work_.load(std::memory_order_relaxed) >> 32) + 1;
        view_.store(&view, std::memory_order_relaxed);
        groupsDone_.store(0, std::memory_order_relaxed);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            work_.store(static_cast<uint64_t>(frame) << 32, std::memory_order_release);
        }
        frameReady_.notify_all();
        drawGroups(0, frame);
        // Only groups another thread took can still be in hand; they are short.
        for (int spin = 1; groupsDone_.load(std::memory_order_acquire) < GROUPS; ++spin) {
            relax();
            if (spin % 64 == 0) std::this_thread::yield();
        }
        return;
    }
#endif
    ColumnScratch& scratch = scratch_[0];
    scratch.startFrame();
    drawColumns(view, scratch, 0, SCREEN_WIDTH);
}

#ifndef KRELLO_NO_THREADS
void RenderThreads::drawGroups(int part, uint32_t frame) {
    bool started = false;
    uint64_t w = work_.load(std::memory_order_acquire);
    for (;;) {
        if (static_cast<uint32_t>(w >> 32) != frame || static_cast<int>(w & 0xFFFFFFFFu) >= GROUPS) return;
        if (!work_.compare_exchange_weak(w, w + 1, std::memory_order_acquire, std::memory_order_acquire)) continue;
        // The group is this frame's, and the frame cannot end before the group is drawn, so
        // the view is this frame's and stays alive while it is drawn.
        ColumnScratch& scratch = scratch_[static_cast<size_t>(part)];
        if (!started) {
            scratch.startFrame();
            started = true;
        }
        const int first = firstColumn(static_cast<int>(w & 0xFFFFFFFFu));
        drawColumns(*view_.load(std::memory_order_relaxed), scratch, first, first + GROUP_COLUMNS);
        groupsDone_.fetch_add(1, std::memory_order_release);
        w = work_.load(std::memory_order_acquire);
    }
}

void RenderThreads::work(int part) {
    uint32_t seen = 0;
    while (waitForFrame(seen)) {
        seen = static_cast<uint32_t>(work_.load(std::memory_order_acquire) >> 32);
        drawGroups(part, seen);
    }
}

bool RenderThreads::waitForFrame(uint32_t seen) {
    auto ready = [&] {
        return stopping_.load(std::memory_order_acquire) ||
               static_cast<uint32_t>(work_.load(std::memory_order_acquire) >> 32) != seen;
    };
    if (spinning_) {
        const auto until = std::chrono::steady_clock::now() + SPIN_TIME;
        for (int i = 1; !ready(); ++i) {
            relax();
            if (i % 64 == 0 && std::chrono::steady_clock::now() > until) break;
        }
    }
    std::unique_lock<std::mutex> lock(mutex_);
    frameReady_.wait(lock, ready);
    return !stopping_.load(std::memory_order_acquire);
}
#endif

}  // namespace krello
