// Benchmarks of whole frames: every tour view of the built-in level drawn still (no update), and
// the tour's recorded game played and drawn frame by frame as the timedemo does; on one thread
// and on two, each alone and beside a busy loop of the benchmark's own on one core.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "competing_load.h"
#include "game/frame.h"
#include "game/start_level.h"
#include "level/builtin_level.h"
#include "min_statistic.h"
#include "render/render_threads.h"
#include "render/render_view.h"
#include "replay/headless_platform.h"
#include "replay/input_script.h"
#include "tour_games.h"

namespace {

using krello::bench::CompetingLoad;
using krello::bench::minOf;
using krello::bench::tourGames;

// Arguments of the frame benchmarks: threads drawing the columns, and whether the busy loop runs.
void threadsAndLoad(benchmark::internal::Benchmark* b) {
    b->ArgNames({"threads", "busy"});
    for (int busy : {0, 1})
        for (int threads : {1, 2}) b->Args({threads, busy});
}

// How the frames' columns were shared, summed frame by frame and reported as counters: the share
// of frames handed out to the other threads, of those with a worker asleep when handed out, and
// with the caller asleep waiting; the share of frames whose idle workers waited busily; the
// caller's columns, its wait after its own pieces and how late a worker's first piece came
// (microseconds, means over the frames handed out); and the frames (from one to the next, on the
// clock on the wall) that took over 3 times the median, per 10,000.
class SharingCounters {
public:
    SharingCounters() { frameTicks_.reserve(MOST_TIMED); }

    void add(const krello::FrameSharing& s) {
        const Clock::time_point now = Clock::now();
        if (frames_ > 0 && frameTicks_.size() < MOST_TIMED) frameTicks_.push_back((now - last_).count());
        last_ = now;
        ++frames_;
        busily_ += s.workersWaitedBusily;
        callerColumns_ += s.callerColumns;
        if (!s.shared) return;
        ++shared_;
        workerSlept_ += s.workerSlept;
        callerSlept_ += s.callerSlept;
        waitNanos_ += static_cast<double>(s.waitNanos);
        if (s.workerLateNanos >= 0) {
            ++helped_;
            lateNanos_ += static_cast<double>(s.workerLateNanos);
        }
    }
    // Between two frames the benchmark's own pauses are no frame's time.
    void paused() { last_ = Clock::now(); }

    void report(benchmark::State& state) {
        if (frames_ == 0) return;
        if (!frameTicks_.empty()) {
            auto middle = frameTicks_.begin() + static_cast<std::ptrdiff_t>(frameTicks_.size() / 2);
            std::nth_element(frameTicks_.begin(), middle, frameTicks_.end());
            const auto median = *middle;
            const auto over = std::count_if(frameTicks_.begin(), frameTicks_.end(), [&](auto n) { return n > 3 * median; });
            state.counters["over3x"] = 1e4 * static_cast<double>(over) / static_cast<double>(frameTicks_.size());
        }
        state.counters["busyWait"] = busily_ / frames_;
        const double shared = std::max(shared_, 1.0);
        state.counters["shared"] = shared_ / frames_;
        state.counters["slept"] = workerSlept_ / shared;
        state.counters["waitedAsleep"] = callerSlept_ / shared;
        state.counters["callerCols"] = callerColumns_ / frames_;
        state.counters["waitUs"] = waitNanos_ / shared / 1000.0;
        state.counters["lateUs"] = lateNanos_ / std::max(helped_, 1.0) / 1000.0;
    }

private:
    using Clock = std::chrono::steady_clock;
    static constexpr size_t MOST_TIMED = size_t{1} << 20;
    Clock::time_point last_;
    std::vector<Clock::rep> frameTicks_;
    double frames_ = 0, shared_ = 0, workerSlept_ = 0, callerSlept_ = 0, helped_ = 0, busily_ = 0;
    double callerColumns_ = 0, waitNanos_ = 0, lateNanos_ = 0;
};

// One item is one frame; items per second is the frame rate of the renderer alone. Timed by the
// clock on the wall, since the other threads' time is not the caller's.
void BM_RenderTourFrame(benchmark::State& state) {
    auto games = tourGames();
    std::vector<uint8_t> frame(krello::FRAME_BYTES, 0);
    krello::RenderThreads threads(static_cast<int>(state.range(0)), krello::bestRenderPath());
    krello::ViewDrawer drawer(&threads);
    const CompetingLoad load(state.range(1) != 0);
    SharingCounters sharing;
    size_t next = 0;
    for (auto _ : state) {
        krello::drawStill(*games[next], {&drawer, frame.data()});
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
        sharing.add(threads.lastSharing());
        next = (next + 1) % games.size();
    }
    state.SetItemsProcessed(state.iterations());
    sharing.report(state);
}
BENCHMARK(BM_RenderTourFrame)->ComputeStatistics("min", minOf)->Apply(threadsAndLoad)->UseRealTime()->Unit(benchmark::kMicrosecond);

// The tour's recorded game, update and drawing, one frame per item: the timedemo's work without
// its clock. The game starts again when the recording ends (not timed).
void BM_TourTimedemo(benchmark::State& state) {
    std::vector<krello::ScriptStep> steps;
    std::string error;
    if (!krello::readInputScriptFile(std::string(KRELLO_SOURCE_DIR) + "/tests/data/tour.input", steps, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    auto started = std::make_unique<krello::GameState>();
    krello::loadBuiltinLevel(*started);
    krello::HeadlessPlatform startPlatform;
    krello::startLevel(*started, startPlatform);
    auto g = std::make_unique<krello::GameState>(*started);
    krello::HeadlessPlatform platform;
    std::vector<uint8_t> frame(krello::FRAME_BYTES, 0);
    krello::RenderThreads threads(static_cast<int>(state.range(0)), krello::bestRenderPath());
    krello::ViewDrawer drawer(&threads);
    const krello::FrameOutput output{&drawer, frame.data()};
    const CompetingLoad load(state.range(1) != 0);
    SharingCounters sharing;
    size_t next = 0;
    for (auto _ : state) {
        if (next == steps.size()) {
            state.PauseTiming();
            *g = *started;
            platform = krello::HeadlessPlatform{};
            next = 0;
            state.ResumeTiming();
            sharing.paused();
        }
        platform.apply(steps[next]);
        krello::runFrame(*g, platform, &output);
        benchmark::DoNotOptimize(frame.data());
        sharing.add(threads.lastSharing());
        ++next;
    }
    state.SetItemsProcessed(state.iterations());
    sharing.report(state);
}
BENCHMARK(BM_TourTimedemo)->ComputeStatistics("min", minOf)->Apply(threadsAndLoad)->UseRealTime()->Unit(benchmark::kMicrosecond);

// Each view on its own, to find the slow ones.
void BM_RenderView(benchmark::State& state) {
    auto games = tourGames();
    auto& g = *games[static_cast<size_t>(state.range(0))];
    std::vector<uint8_t> frame(krello::FRAME_BYTES, 0);
    state.SetLabel(krello::tourViews()[static_cast<size_t>(state.range(0))].name);
    krello::RenderThreads threads(1, krello::bestRenderPath());
    krello::ViewDrawer drawer(&threads);
    for (auto _ : state) {
        krello::drawStill(g, {&drawer, frame.data()});
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RenderView)->ComputeStatistics("min", minOf)->DenseRange(0, static_cast<int>(krello::tourViews().size()) - 1)->Unit(benchmark::kMicrosecond);

}  // namespace
