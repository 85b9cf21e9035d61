// Benchmark of whole frames: every tour view of the built-in level drawn still, no update.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "game/frame.h"
#include "game/start_level.h"
#include "level/builtin_level.h"
#include "render/render_view.h"
#include "replay/headless_platform.h"
#include "tour/tour_views.h"

namespace {

// The level after start-up, one copy per view with the viewer placed.
std::vector<std::unique_ptr<krello::GameState>> tourGames() {
    auto started = std::make_unique<krello::GameState>();
    krello::loadBuiltinLevel(*started);
    krello::HeadlessPlatform platform;
    krello::startLevel(*started, platform);
    std::vector<std::unique_ptr<krello::GameState>> games;
    for (const krello::TourView& view : krello::tourViews()) {
        auto g = std::make_unique<krello::GameState>(*started);
        if (krello::placeViewer(*g, view)) games.push_back(std::move(g));
    }
    return games;
}

// One item is one frame; items per second is the frame rate of the renderer alone.
void BM_RenderTourFrame(benchmark::State& state) {
    auto games = tourGames();
    std::vector<uint8_t> frame(krello::FRAME_BYTES, 0);
    size_t next = 0;
    for (auto _ : state) {
        krello::drawStill(*games[next], {krello::renderView, frame.data()});
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
        next = (next + 1) % games.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RenderTourFrame)->Unit(benchmark::kMicrosecond);

// Each view on its own, to find the slow ones.
void BM_RenderView(benchmark::State& state) {
    auto games = tourGames();
    auto& g = *games[static_cast<size_t>(state.range(0))];
    std::vector<uint8_t> frame(krello::FRAME_BYTES, 0);
    state.SetLabel(krello::tourViews()[static_cast<size_t>(state.range(0))].name);
    for (auto _ : state) {
        krello::drawStill(g, {krello::renderView, frame.data()});
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RenderView)->DenseRange(0, static_cast<int>(krello::tourViews().size()) - 1)->Unit(benchmark::kMicrosecond);

}  // namespace
