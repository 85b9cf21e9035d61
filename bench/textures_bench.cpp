// Benchmark of the start-up texture build: 149,856 draws and 100 in-place blur passes.
#include <benchmark/benchmark.h>

#include <memory>

#include "level/builtin_level.h"
#include "world/textures.h"

static void BM_BuildTextures(benchmark::State& state) {
    auto g = std::make_unique<krello::GameState>();
    krello::loadBuiltinLevel(*g);
    for (auto _ : state) {
        g->randomState = 1;
        g->textures.fill(0);  // the build expects an empty bank
        krello::buildTextures(*g);
        benchmark::DoNotOptimize(g->textures.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BuildTextures)->Unit(benchmark::kMillisecond);

static void BM_LoadBuiltinLevel(benchmark::State& state) {
    auto g = std::make_unique<krello::GameState>();
    for (auto _ : state) {
        krello::loadBuiltinLevel(*g);
        benchmark::DoNotOptimize(g->walls[0].x);
    }
}
BENCHMARK(BM_LoadBuiltinLevel);
