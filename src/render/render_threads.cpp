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

#if !defined(_WIN32)
#include <csignal>
#include <pthread.h>
#endif

#include "render/column_tile.h"
#include "render/sharing_choice.h"
#include "render/render_view.h"
#include "world/screen.h"

namespace krello {
namespace {

// Columns a thread takes at a time: one tile, a few microseconds of work, so a thread taken off
// its core holds little and a frame's last pieces even out between the threads. Pieces start on
// the tiles' grid: a piece narrower than a tile would copy a part-filled tile into the frame,
// which costs nearly as much memory traffic as a whole one (pieces of 4 columns made a frame
// drawn by the caller alone 40% slower than the same frame on one thread).
constexpr int PIECE = TILE_COLUMNS;
static_assert(SCREEN_WIDTH % PIECE == 0, "a frame is a whole number of pieces");
constexpr int PIECES = SCREEN_WIDTH / PIECE;

using Clock = std::chrono::steady_clock;
// An idle worker waits busily for the next frame while frames keep coming: until this long has
// passed since the caller last started one (shared, or alone just before a shared one). A
// timedemo's frames come every 50 to 100 us, so its worker never sleeps and is never late; a
// sleeping worker takes about as long as a whole frame to wake, which is what kept the second
// thread out of most frames. A paced game's worker sleeps for most of each frame.
constexpr Clock::duration KEEP_AWAKE = std::chrono::microseconds(400);
// While it waits busily, a worker gives its core away this often, so on a machine where another
// program wants the cores its waiting costs them little.
constexpr Clock::duration YIELD_EVERY = std::chrono::microseconds(20);
// How long the caller waits busily for pieces another thread holds while they make no progress;
// after that the caller sleeps, which frees its core for the thread it waits for. A piece can
// take tens of microseconds (textures turned, sectors projected for the first time), and a
// sleeping caller takes longer than that to wake, so the caller is patient.
constexpr Clock::duration CALLER_SPIN = std::chrono::microseconds(50);
// A busy-waiting worker that takes its first piece later than this after the hand-out was most
// likely off its core: another program wants it (SharingChoice::workerCame).
constexpr int64_t PROMPT_NANOS = 20000;

inline void relax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

// One thread's share of a frame's columns, on a cache line of its own: the frame's number, the
// first column nobody has taken and the end of the share. The owner takes pieces from the front,
// the others take back what is left from the end, so they meet only at the last piece.
struct alignas(64) Share {
    std::atomic<uint64_t> word{0};

    static uint64_t pack(uint32_t frame, int front, int end) {
        return static_cast<uint64_t>(frame) << 32 | static_cast<uint64_t>(front) << 16 | static_cast<uint64_t>(end);
    }
    // Takes a piece of `frame`'s share, from the front or from the end; false when none is left.
    bool take(uint32_t frame, bool fromFront, int& first, int& end) {
        uint64_t w = word.load(std::memory_order_acquire);
        for (;;) {
            const int front = static_cast<int>(w >> 16 & 0xFFFF);
            const int back = static_cast<int>(w & 0xFFFF);
            if (static_cast<uint32_t>(w >> 32) != frame || front >= back) return false;
            first = fromFront ? front : std::max(front, back - PIECE);  // shares lie on the grid
            end = fromFront ? std::min(back, front + PIECE) : back;
            const uint64_t taken = fromFront ? pack(frame, end, back) : pack(frame, front, first);
            if (word.compare_exchange_weak(w, taken, std::memory_order_acq_rel, std::memory_order_acquire)) return true;
        }
    }
};

Clock::rep ticks(Clock::time_point t) { return t.time_since_epoch().count(); }

}  // namespace

struct RenderThreads::Workers {
    explicit Workers(int count) : count(count), shares(new Share[static_cast<size_t>(count)]) {}

    const int count;
    std::unique_ptr<Share[]> shares;      // per thread: its share of the current frame
    const FrameView* view = nullptr;      // the current frame; set before its number is published
    std::vector<std::thread> threads;
    bool spinning = true;                 // false with more threads than cores
    SharingChoice choice;                 // whether the next frame is shared (caller only)

    alignas(64) std::atomic<uint32_t> frame{0};   // the number of the frame to draw
    std::atomic<bool> stopping{false};            // set (under the mutex) to end the workers
    std::atomic<bool> waitBusily{true};           // idle workers wait busily (else they sleep)
    std::atomic<int> sleepers{0};                 // workers asleep or about to sleep
    std::atomic<uint32_t> nudges{0};              // counts the caller's calls to wait busily again
    std::atomic<Clock::rep> frameStarted{0};      // when the caller last started a frame
    alignas(64) std::atomic<int> workerColumns{0};  // columns of the frame the workers have drawn
    std::atomic<bool> callerAsleep{false};        // the caller sleeps until the frame is drawn
    std::atomic<Clock::rep> firstPiece{0};        // when a worker took its first piece of the frame
    std::mutex mutex;                             // guards the sleeps
    std::condition_variable wake;                 // a new frame, or the end
    std::condition_variable drawn_;               // a piece drawn while the caller sleeps

    // Draws pieces of `frame`: thread part's own share from the front, then what is left of the
    // others' from their ends. Returns the columns drawn.
    int drawPieces(int part, uint32_t frame, ColumnScratch& scratch, bool worker);
    void work(int part, ColumnScratch& scratch);
    bool waitForFrame(uint32_t seen);
    bool waitUntilDrawn(int callerColumns);
    void wakeSleepers();
};

int renderThreadsBuilt() { return MAX_RENDER_THREADS; }

int defaultRenderThreads() {
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(cores, 1, MAX_RENDER_THREADS);
}

RenderThreads::RenderThreads(int count, RenderPath path)
    : count_(std::clamp(count, 1, MAX_RENDER_THREADS)), path_(path), scratch_(new ColumnScratch[static_cast<size_t>(count_)]) {
    if (count_ == 1) return;
    workers_ = std::make_unique<Workers>(count_);
    // More threads than cores would wait busily on cores the drawing threads need.
    workers_->spinning = count_ <= static_cast<int>(std::thread::hardware_concurrency());
    workers_->threads.reserve(static_cast<size_t>(count_ - 1));
#if !defined(_WIN32)
    // The drawing threads never take a stop signal: it goes to the program's own thread, whose
    // handler then sees every temporary file that thread made (a worker's handler could run
    // between a file's creation and its noting). The threads are born with the mask held here.
    sigset_t stops, saved;
    sigemptyset(&stops);
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) sigaddset(&stops, s);
    pthread_sigmask(SIG_BLOCK, &stops, &saved);
#endif
    for (int part = 1; part < count_; ++part)
        workers_->threads.emplace_back([w = workers_.get(), part, s = &scratch_[static_cast<size_t>(part)]] { w->work(part, *s); });
#if !defined(_WIN32)
    pthread_sigmask(SIG_SETMASK, &saved, nullptr);
#endif
}

RenderThreads::~RenderThreads() {
    if (!workers_) return;
    {
        std::lock_guard<std::mutex> lock(workers_->mutex);
        workers_->stopping.store(true);
    }
    workers_->wake.notify_all();
    for (std::thread& t : workers_->threads) t.join();
}

void RenderThreads::warmUp(const GameState& g) {
    std::vector<uint8_t> frame(FRAME_BYTES, 0);
    for (int part = 0; part < count_; ++part) warmUpColumns(g, path_, scratch_[static_cast<size_t>(part)], frame.data());
    if (!workers_) return;
    // The first frame comes soon: the workers wait for it busily instead of asleep, so they are
    // not late for it.
    workers_->frameStarted.store(ticks(Clock::now()), std::memory_order_relaxed);
    workers_->nudges.fetch_add(1);  // seq_cst: ordered before the look at the sleepers
    workers_->wakeSleepers();
}

void RenderThreads::Workers::wakeSleepers() {
    if (sleepers.load() == 0) return;
    { std::lock_guard<std::mutex> lock(mutex); }
    wake.notify_all();
}

void RenderThreads::drawFrame(const FrameView& view) {
    ColumnScratch& scratch = scratch_[0];
    sharing_ = FrameSharing{};
    if (workers_) {
        // Inside a stretch drawn alone the workers sleep at once, not after KEEP_AWAKE.
        const bool busily = workers_->choice.waitBusily() && workers_->choice.shareSoon();
        sharing_.workersWaitedBusily = busily;
        // Written only when it changes: the line is the one the waiting workers read.
        if (workers_->waitBusily.load(std::memory_order_relaxed) != busily)
            workers_->waitBusily.store(busily, std::memory_order_relaxed);
    }
    if (!workers_ || !workers_->choice.shareNext()) {
        const Clock::time_point start = Clock::now();
        // Inside a stretch drawn alone the workers sleep: waiting busily, they would take the
        // core from the caller on a machine where another program holds the other one. They are
        // woken a frame ahead of the next shared one, so they are not late for it.
        if (workers_ && workers_->choice.shareSoon()) {
            workers_->frameStarted.store(ticks(start), std::memory_order_relaxed);
            workers_->nudges.fetch_add(1);  // seq_cst: ordered before the look at the sleepers
            workers_->wakeSleepers();
        }
        scratch.startFrame();
        drawColumns(view, scratch, 0, SCREEN_WIDTH);
        sharing_.callerColumns = SCREEN_WIDTH;
        if (workers_) workers_->choice.drawn(false, static_cast<double>((Clock::now() - start).count()), false);
        return;
    }
    Workers& w = *workers_;
    const Clock::time_point start = Clock::now();
    w.frameStarted.store(ticks(start), std::memory_order_relaxed);
    w.firstPiece.store(0, std::memory_order_relaxed);
    const uint32_t frame = w.frame.load(std::memory_order_relaxed) + 1;
    w.view = &view;
    w.workerColumns.store(0, std::memory_order_relaxed);
    for (int part = 0; part < count_; ++part)
        w.shares[part].word.store(Share::pack(frame, PIECE * (PIECES * part / count_), PIECE * (PIECES * (part + 1) / count_)),
                                  std::memory_order_relaxed);
    w.frame.store(frame);  // seq_cst: ordered before the look at the sleepers
    sharing_.shared = true;
    sharing_.workerSlept = w.sleepers.load() > 0;
    w.wakeSleepers();
    const int mine = w.drawPieces(0, frame, scratch, false);
    const Clock::time_point ownDone = Clock::now();
    sharing_.callerSlept = w.waitUntilDrawn(mine);
    const Clock::time_point end = Clock::now();
    sharing_.callerColumns = mine;
    sharing_.waitNanos = std::chrono::duration_cast<std::chrono::nanoseconds>(end - ownDone).count();
    if (const Clock::rep first = w.firstPiece.load(std::memory_order_relaxed); first != 0)
        sharing_.workerLateNanos =
            std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::duration(first) - start.time_since_epoch()).count();
    if (!sharing_.workerSlept)
        w.choice.workerCame(sharing_.workerLateNanos >= 0 && sharing_.workerLateNanos <= PROMPT_NANOS);
    w.choice.drawn(true, static_cast<double>((end - start).count()), sharing_.callerSlept);
}

int RenderThreads::Workers::drawPieces(int part, uint32_t f, ColumnScratch& scratch, bool worker) {
    int drawn = 0;
    int first = 0;
    int end = 0;
    for (int k = 0; k < count; ++k) {
        Share& share = shares[(part + k) % count];
        while (share.take(f, k == 0, first, end)) {
            // The piece is this frame's, and the frame cannot end before the piece is drawn, so
            // the view is this frame's and stays alive while it is drawn.
            if (drawn == 0) {
                scratch.startFrame();
                Clock::rep none = 0;
                if (worker) firstPiece.compare_exchange_strong(none, ticks(Clock::now()), std::memory_order_relaxed);
            }
            drawColumns(*view, scratch, first, end);
            drawn += end - first;
            if (!worker) continue;
            workerColumns.fetch_add(end - first);  // seq_cst: ordered before the look at the caller
            if (callerAsleep.load()) {
                { std::lock_guard<std::mutex> lock(mutex); }
                drawn_.notify_one();
            }
        }
    }
    return drawn;
}

// Returns whether the caller had to sleep.
bool RenderThreads::Workers::waitUntilDrawn(int callerColumns) {
    auto allDrawn = [&] { return callerColumns + workerColumns.load() >= SCREEN_WIDTH; };
    if (allDrawn()) return false;
    // Wait busily while the pieces in other hands progress: they are short. A thread that makes
    // no progress for a while has most likely been taken off its core; sleeping then frees this
    // core for it.
    Clock::time_point lastProgress = Clock::now();
    const Clock::duration patience = CALLER_SPIN;
    int seen = workerColumns.load(std::memory_order_relaxed);
    for (int i = 1; !allDrawn(); ++i) {
        relax();
        if (i % 16 != 0) continue;
        const Clock::time_point now = Clock::now();
        const int columns = workerColumns.load(std::memory_order_relaxed);
        if (columns != seen) {
            seen = columns;
            lastProgress = now;
        } else if (now - lastProgress > patience) {
            break;
        }
    }
    if (allDrawn()) return false;
    callerAsleep.store(true);  // seq_cst: ordered before the look at the columns
    {
        std::unique_lock<std::mutex> lock(mutex);
        drawn_.wait(lock, allDrawn);
    }
    callerAsleep.store(false, std::memory_order_relaxed);
    return true;
}

void RenderThreads::Workers::work(int part, ColumnScratch& scratch) {
    uint32_t seen = 0;
    while (waitForFrame(seen)) {
        seen = frame.load(std::memory_order_acquire);
        drawPieces(part, seen, scratch, true);
    }
}

bool RenderThreads::Workers::waitForFrame(uint32_t seen) {
    auto ready = [&] { return stopping.load() || frame.load() != seen; };
    while (!ready()) {
        if (spinning && waitBusily.load(std::memory_order_relaxed)) {
            Clock::time_point yielded = Clock::now();
            for (int i = 1; !ready(); ++i) {
                relax();
                if (i % 32 != 0) continue;
                if (!waitBusily.load(std::memory_order_relaxed)) break;
                const Clock::time_point now = Clock::now();
                if (ticks(now) - frameStarted.load(std::memory_order_relaxed) > KEEP_AWAKE.count()) break;
                if (now - yielded > YIELD_EVERY) {
                    std::this_thread::yield();
                    yielded = now;
                }
            }
        }
        const uint32_t nudged = nudges.load();
        sleepers.fetch_add(1);  // seq_cst: ordered before the look at the frame
        {
            std::unique_lock<std::mutex> lock(mutex);
            wake.wait(lock, [&] { return ready() || nudges.load() != nudged; });
        }
        sleepers.fetch_sub(1, std::memory_order_relaxed);
    }
    return !stopping.load(std::memory_order_acquire);
}

}  // namespace krello
