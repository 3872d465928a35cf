// The brush routines over a whole 2049-point terrain, each against a plain
// row-order pass that reads and writes the same points (the reference).

#include "bench/QuietUi.h"
#include "generate/KVFilter.h"
#include "runtime/Ui.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/clsTerrain.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kPoints = 2049;

struct Terrain {
    Terrain()
    {
        rt::setUi(&ui);
        t.Init(kPoints);
        for (int32_t y = 0; y < kPoints; ++y)
            for (int32_t x = 0; x < kPoints; ++x) t.row(y)[x] = (x * 37 + y * 101) % 20000 - 10000;
    }
    ~Terrain() { rt::setUi(nullptr); }
    QuietUi ui;
    clsTerrain t;
};

// Reference: the five-point diagonal mean of every point in row order.
void BM_ReferenceDiagonalMean2049(benchmark::State& state)
{
    Terrain f;
    for (auto _ : state) {
        for (int32_t y = 1; y < kPoints - 1; ++y) {
            int32_t* r = f.t.row(y);
            const int32_t* a = f.t.row(y - 1);
            const int32_t* b = f.t.row(y + 1);
            for (int32_t x = 1; x < kPoints - 1; ++x)
                r[x] = int32_t((int64_t(r[x]) + a[x - 1] + a[x + 1] + b[x - 1] + b[x + 1]) / 5);
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ReferenceDiagonalMean2049)->Unit(benchmark::kMillisecond);

void BM_SmoothTerrain2049(benchmark::State& state)
{
    Terrain f;
    for (auto _ : state) {
        float d = 5;
        KVFilter::SmoothTerrain(f.t, d, kPoints - 1, 0, 0, -32768, 32768);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SmoothTerrain2049)->Unit(benchmark::kMillisecond);

void BM_AddNoise2049(benchmark::State& state)
{
    Terrain f;
    for (auto _ : state) {
        float s = 2;
        KVFilter::AddNoise(f.t, s, kPoints - 1, 0, 0, -32768, 32768);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_AddNoise2049)->Unit(benchmark::kMillisecond);

} // namespace
