// Benchmarks: placeholder until the texture builder lands.
#include <benchmark/benchmark.h>

#include <memory>

#include "world/builtin_level.h"

static void BM_LoadBuiltinLevel(benchmark::State& state) {
    auto g = std::make_unique<krello::GameState>();
    for (auto _ : state) {
        krello::loadBuiltinLevel(*g);
        benchmark::DoNotOptimize(g->walls[0].x);
    }
}
BENCHMARK(BM_LoadBuiltinLevel);
