// The perlin-set generator on a 2049-point terrain, against one rescale of the
// same terrain (a single pass over the grid) as the reference.

#include "bench/BenchPictures.h"
#include "bench/QuietUi.h"
#include "generate/kvGenerator.h"
#include "runtime/Ui.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/clsTerrain.h"

#include <QImage>

#include <benchmark/benchmark.h>

namespace {

constexpr int kPoints = 2049;

struct Fixture {
    Fixture()
    {
        rt::setUi(&ui);
        CurrentTerrain = &terrain;
        terrain.Init(kPoints);
    }
    QuietUi ui;
    clsTerrain terrain;
    kvGenerator::LayerPictures pictures = benchpictures::noisePictures(1296);
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void BM_GeneratePerlin2049(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        kvGenerator::GeneratorParams p;
        p.iteration = 11;
        p.resizeMode = int16_t(state.range(0));
        p.seed = QStringLiteral("123456");
        kvGenerator::GeneratePerlinTerrain(f.terrain, kPoints - 1, f.pictures, p);
        benchmark::DoNotOptimize(f.terrain.GetPoint(7, 7));
    }
}
BENCHMARK(BM_GeneratePerlin2049)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Reference: one rescale pass over the same grid.
void BM_RescaleReference2049(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        f.terrain.SetPoint(5, 5, 100000);
        benchmark::DoNotOptimize(f.terrain.ScaleTerrain());
    }
}
BENCHMARK(BM_RescaleReference2049)->Unit(benchmark::kMillisecond);

} // namespace
