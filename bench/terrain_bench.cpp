// TER and backup files, rescaling and range scan on a 2049-point terrain,
// each against a plain QFile write or read of the same number of bytes.

#include "bench/QuietUi.h"
#include "runtime/ByteIO.h"
#include "runtime/Ui.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/clsTerrain.h"
#include "terrain/mTerLoad.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kPoints = 2049;
constexpr qint64 kTerBytes = 80 + 2 * qint64(kPoints) * kPoints + 4;
constexpr qint64 kBackupBytes = 80 + 4 * qint64(kPoints + 2) * (kPoints + 2);

// Shared set-up: a quiet user interface, a current terrain and a folder.
struct Fixture {
    Fixture()
    {
        rt::setUi(&ui);
        CurrentTerrain = &current;
        pattern.Init(kPoints);
        for (int y = 0; y < pattern.allocatedSide(); ++y) {
            int32_t* r = pattern.row(y);
            for (int x = 0; x < pattern.allocatedSide(); ++x) r[x] = (x * 131 + y * 977) % 60001 - 30000;
        }
        pattern.Range();
        pattern.SaveT(ter);
        pattern.SaveBackup(backup);
        QFile f(plain);
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(kBackupBytes, 'x'));
    }
    QuietUi ui{rt::vbNo};
    QTemporaryDir dir;
    clsTerrain current;
    clsTerrain pattern;
    QString ter = dir.filePath(QStringLiteral("bench.ter"));
    QString backup = dir.filePath(QStringLiteral("bench.kvt"));
    QString plain = dir.filePath(QStringLiteral("plain.bin"));
    QString out = dir.filePath(QStringLiteral("out.bin"));
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void plainWrite(benchmark::State& state, qint64 bytes)
{
    fixture();
    const QByteArray data(bytes, 'y');
    for (auto _ : state) {
        QFile f(fixture().out);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        benchmark::DoNotOptimize(f.write(data));
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}

void plainRead(benchmark::State& state, qint64 bytes)
{
    fixture();
    for (auto _ : state) {
        QFile f(fixture().plain);
        f.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(f.read(bytes));
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}

// What rt::writeFileAtomic adds: a temporary file, flushed to disk, renamed.
void atomicWrite(benchmark::State& state, qint64 bytes)
{
    fixture();
    const QByteArray data(bytes, 'y');
    for (auto _ : state) benchmark::DoNotOptimize(rt::writeFileAtomic(fixture().out, data));
    state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_PlainWriteTerBytes(benchmark::State& state) { plainWrite(state, kTerBytes); }
void BM_AtomicWriteTerBytes(benchmark::State& state) { atomicWrite(state, kTerBytes); }
void BM_AtomicWriteBackupBytes(benchmark::State& state) { atomicWrite(state, kBackupBytes); }
void BM_PlainReadTerBytes(benchmark::State& state) { plainRead(state, kTerBytes); }
void BM_PlainWriteBackupBytes(benchmark::State& state) { plainWrite(state, kBackupBytes); }
void BM_PlainReadBackupBytes(benchmark::State& state) { plainRead(state, kBackupBytes); }

void BM_SaveT(benchmark::State& state)
{
    clsTerrain& t = fixture().pattern;
    for (auto _ : state) benchmark::DoNotOptimize(t.SaveT(fixture().out));
    state.SetBytesProcessed(state.iterations() * kTerBytes);
}

void BM_LoadTerFile(benchmark::State& state)
{
    fixture();
    for (auto _ : state) benchmark::DoNotOptimize(mTerLoad::LoadTerFile(fixture().ter));
    state.SetBytesProcessed(state.iterations() * kTerBytes);
}

void BM_SaveBackup(benchmark::State& state)
{
    clsTerrain& t = fixture().pattern;
    for (auto _ : state) benchmark::DoNotOptimize(t.SaveBackup(fixture().out));
    state.SetBytesProcessed(state.iterations() * kBackupBytes);
}

void BM_LoadBackup(benchmark::State& state)
{
    fixture();
    clsTerrain t;
    for (auto _ : state) benchmark::DoNotOptimize(t.LoadBackup(fixture().backup));
    state.SetBytesProcessed(state.iterations() * kBackupBytes);
}

void BM_ScaleTerrain(benchmark::State& state)
{
    // The pattern spans 60000 steps, so every run really rescales.
    fixture();
    clsTerrain t;
    for (auto _ : state) {
        state.PauseTiming();
        t = fixture().pattern;
        state.ResumeTiming();
        benchmark::DoNotOptimize(t.ScaleTerrain());
    }
}

void BM_Range(benchmark::State& state)
{
    clsTerrain& t = fixture().pattern;
    for (auto _ : state) benchmark::DoNotOptimize(t.Range());
}

} // namespace

BENCHMARK(BM_PlainWriteTerBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AtomicWriteTerBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveT)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainReadTerBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadTerFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWriteBackupBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AtomicWriteBackupBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveBackup)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainReadBackupBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBackup)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScaleTerrain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Range)->Unit(benchmark::kMillisecond);
