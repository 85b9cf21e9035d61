// Benchmark of whole frames: every tour view of the built-in level drawn still, no update, on one
// thread and on two.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "game/frame.h"
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
    krello::ViewDrawer drawer(&threads);
    size_t next = 0;
    for (auto _ : state) {
        krello::drawStill(*games[next], {&drawer, frame.data()});
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
    krello::ViewDrawer drawer;
    for (auto _ : state) {
        krello::drawStill(g, {&drawer, frame.data()});
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RenderView)->ComputeStatistics("min", minOf)->DenseRange(0, static_cast<int>(krello::tourViews().size()) - 1)->Unit(benchmark::kMicrosecond);

}  // namespace
