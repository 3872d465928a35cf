// Speed goals, each as a ratio against a reference timed in the same run:
// the elevator shift and the gamma shift against one rescale pass of the same
// 2049-point terrain, the program's random sequence against a bare loop over a
// trivial generator, and the terrain drawing and the tuned picture filters against a memcpy of
// the same 2049 x 2049 picture. Counters: ratio (routine / reference), goal.

#include "bench/BenchPictures.h"
#include "bench/QuietUi.h"
#include "bench/RatioBench.h"
#include "generate/Elevator.h"
#include "generate/KVFilterEffects.h"
#include "picfilter/mFilterG.h"
#include "runtime/Rnd.h"
#include "runtime/Ui.h"
#include "terrain/Palette.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/TerrainPicture.h"
#include "terrain/clsTerrain.h"

#include <QImage>

#include <cstring>

namespace {

constexpr int kSide = 2049;

struct Setup {
    Setup()
    {
        rt::setUi(&ui);
        CurrentTerrain = &current;
        LoadPalette();
        pattern.Init(kSide);
        for (int y = 0; y < pattern.allocatedSide(); ++y) {
            int32_t* r = pattern.row(y);
            for (int x = 0; x < pattern.allocatedSide(); ++x) r[x] = (x * 131 + y * 977) % 60001 - 30000;
        }
        pattern.Range();
        picture = benchpictures::filterPicture(kSide);
        work = picture.copy();
    }
    QuietUi ui;
    clsTerrain current;
    clsTerrain pattern;
    QImage picture;
    QImage work;
};

Setup& setup()
{
    static Setup s;
    return s;
}

void copyPicture()
{
    Setup& s = setup();
    std::memcpy(s.work.bits(), s.picture.constBits(), size_t(s.picture.sizeInBytes()));
}

// --- elevator shift ---------------------------------------------------------------

void BM_GoalElevatorShift(benchmark::State& state)
{
    Setup& s = setup();
    clsTerrain t;
    ratiobench::measure(
        state, 10,
        [&] {
            t = s.pattern;
            resetElevatorGrid();
            for (int32_t c = 0; c <= ElevatorGridSize; c += 3) drawElevatorPoint(c, (c * 37) % 257);
            elevatorCell(0, 0) = 1;
        },
        [&] {
            t.SetPoint(5, 5, 100000);
            benchmark::DoNotOptimize(t.ScaleTerrain());
        },
        [&] {
            float strength = 0;
            ElevatorShift(t, strength, std::nullopt, 0, 0, -32768, 32768);
        });
}
BENCHMARK(BM_GoalElevatorShift)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

// --- gamma shift --------------------------------------------------------------------

// The gamma shift spreads the heights, measures its curve and writes it: with
// the curve from a table filled once per call it stays within a few rescale
// passes of the same terrain.
void BM_GoalGammaShift(benchmark::State& state)
{
    Setup& s = setup();
    clsTerrain t;
    ratiobench::measure(
        state, 6, [&] { t = s.pattern; },
        [&] {
            t.SetPoint(5, 5, 100000);
            benchmark::DoNotOptimize(t.ScaleTerrain());
        },
        [&] {
            float strength = 2.5f;
            KVFilter::ApplyFilter(KVFilter::EffectGamma, t, strength, std::nullopt, 0, 0, -32768, 32768);
        });
}
BENCHMARK(BM_GoalGammaShift)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

// --- random sequence ----------------------------------------------------------------

constexpr int kDraws = 1 << 22;

// Both loops count their draws below one half, as a caller tests them; the
// reference makes the same floats from a linear congruential step. (A float
// sum would measure the compiler instead: around the rare refill call it
// keeps the sum in memory, and the loop then waits on its own stores.)
void BM_GoalRnd(benchmark::State& state)
{
    ratiobench::measure(
        state, 1.5, [] { rt::Randomize(7.0); },
        [] {
            uint32_t x = 7;
            int below = 0;
            for (int i = 0; i < kDraws; ++i) {
                x = x * 1664525u + 1013904223u;
                below += static_cast<float>(x >> 8) * (1.0f / 16777216.0f) < 0.5f;
            }
            benchmark::DoNotOptimize(below);
        },
        [] {
            int below = 0;
            for (int i = 0; i < kDraws; ++i) below += rt::Rnd() < 0.5f;
            benchmark::DoNotOptimize(below);
        });
}
BENCHMARK(BM_GoalRnd)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);

// --- drawing and picture filters against memcpy ---------------------------------------

void BM_GoalDrawTerrain(benchmark::State& state)
{
    Setup& s = setup();
    QImage view(kSide, kSide, QImage::Format_RGB32);
    ratiobench::measure(
        state, 4, [] {}, copyPicture,
        [&] {
            DrawTerrainToPicture(view, s.pattern, 0, 0, -1, -1, 1);
        });
}
BENCHMARK(BM_GoalDrawTerrain)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);

void BM_GoalFilter(benchmark::State& state, int32_t filter, int32_t param, double goal)
{
    Setup& s = setup();
    QImage target = s.picture.copy();
    ratiobench::measure(
        state, goal,
        [&] {
            std::memcpy(target.bits(), s.picture.constBits(), size_t(s.picture.sizeInBytes()));
            rt::Randomize(3.0);
        },
        copyPicture,
        [&] {
            int32_t progress = 0;
            mFilterG::ApplyPictureFilter(filter, target, param, progress);
            benchmark::DoNotOptimize(progress);
        });
}

#define KV_GOAL_FILTER(number, name, param, goal)                                              \
    BENCHMARK_CAPTURE(BM_GoalFilter, number##_##name, number, param, goal)->UseManualTime()   \
        ->Iterations(10)->Unit(benchmark::kMillisecond)

KV_GOAL_FILTER(4, Diffuse, 10, 50);
KV_GOAL_FILTER(29, Noise, 13, 50);
KV_GOAL_FILTER(17, Contrast, 100, 10);
KV_GOAL_FILTER(19, DitherCarry, 0, 14);
KV_GOAL_FILTER(21, DitherFloydSteinberg, 10, 14);
KV_GOAL_FILTER(22, DitherBurkes, 10, 14);
KV_GOAL_FILTER(23, DitherStucki, 10, 14);
KV_GOAL_FILTER(24, Aqua, 0, 6);

} // namespace
