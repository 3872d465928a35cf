// The perlin-set generator on a 2049-point terrain, against one rescale of the
// same terrain (a single pass over the grid) as the reference.

#include "bench/QuietUi.h"
#include "generate/kvGenerator.h"
#include "runtime/Ui.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/clsTerrain.h"

#include <QImage>

#include <benchmark/benchmark.h>

namespace {

constexpr int kPoints = 2049;

kvGenerator::LayerPictures noisePictures()
{
    kvGenerator::LayerPictures p;
    for (int k = 0; k < 5; ++k) {
        QImage img(1296, 1296, QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x) {
                const int g = (x * (k + 3) + y * 11 + x * y / 23) & 255;
                line[x] = qRgb(g, g, g);
            }
        }
        p[size_t(k)] = img;
    }
    return p;
}

struct Fixture {
    Fixture()
    {
        rt::setUi(&ui);
        CurrentTerrain = &terrain;
        terrain.Init(kPoints);
    }
    QuietUi ui;
    clsTerrain terrain;
    kvGenerator::LayerPictures pictures = noisePictures();
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
