// Benchmark of whole frames: renderView over every tour view of the built-in level, no update,
// on one thread and on two.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "min_statistic.h"
#include "render/render_threads.h"
#include "render/render_view.h"
#include "tour_games.h"

namespace {

using krello::bench::tourGames;
using krello::bench::minOf;

// One item is one frame; items per second is the frame rate of the renderer alone. The
// argument is the number of threads drawing the columns (timed by the clock on the wall, since
// the other threads' time is not the caller's).
void BM_RenderTourFrame(benchmark::State& state) {
    auto games = tourGames();
    std::vector<uint8_t> frame(krello::FRAME_BYTES, 0);
    krello::RenderThreads threads(static_cast<int>(state.range(0)), krello::bestRenderPath());
    size_t next = 0;
    for (auto _ : state) {
        krello::renderView(*games[next], frame.data(), nullptr, &threads);
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
        next = (next + 1) % games.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RenderTourFrame)->ComputeStatistics("min", minOf)->ArgName("threads")->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMicrosecond);

// Each view on its own, to find the slow ones.
void BM_RenderView(benchmark::State& state) {
    auto games = tourGames();
    auto& g = *games[static_cast<size_t>(state.range(0))];
    std::vector<uint8_t> frame(krello::FRAME_BYTES, 0);
    state.SetLabel(krello::tourViews()[static_cast<size_t>(state.range(0))].name);
    for (auto _ : state) {
        krello::renderView(g, frame.data(), nullptr);
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RenderView)->ComputeStatistics("min", minOf)->DenseRange(0, static_cast<int>(krello::tourViews().size()) - 1)->Unit(benchmark::kMicrosecond);

}  // namespace
