// The object maker's Preview computation (257 x 257 cells, one mask read
// each) beside one plain pass over the same mask picture, its floor.

#include "objects/ObjektMaker.h"

#include <QImage>

#include <benchmark/benchmark.h>

namespace {

const QImage& maskPicture()
{
    static const QImage img = [] {
        QImage p(256, 256, QImage::Format_RGB32);
        for (int y = 0; y < 256; ++y) {
            auto* row = reinterpret_cast<QRgb*>(p.scanLine(y));
            for (int x = 0; x < 256; ++x) {
                const int g = (x * 7 + y * 3) & 255;
                row[x] = qRgb(g, g, g);
            }
        }
        return p;
    }();
    return img;
}

ObjektMaker::Profile ramp()
{
    ObjektMaker::Profile p{};
    for (int i = 0; i <= 256; ++i) p[size_t(i)] = int16_t(i);
    return p;
}

// The floor: every mask value read once by scanline and summed.
void BM_MaskPlainPass(benchmark::State& state)
{
    const QImage& mask = maskPicture();
    for (auto _ : state) {
        double sum = 0;
        for (int y = 0; y < 256; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
            for (int x = 0; x < 256; ++x)
                sum += double(qRed(row[x]) | (qGreen(row[x]) << 8) | (qBlue(row[x]) << 16)) / 65536.0;
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_MaskPlainPass);

void BM_ObjektMakerPreview(benchmark::State& state)
{
    ObjektMaker::Grid grid;
    const ObjektMaker::Profile x = ramp();
    const ObjektMaker::Profile y = ramp();
    const ObjektMaker::ComputeOptions options{int16_t(state.range(0)), 0, false, false};
    for (auto _ : state) {
        ObjektMaker::computeResult(grid, x, y, maskPicture(), options);
        benchmark::DoNotOptimize(grid.cells().data());
    }
}
BENCHMARK(BM_ObjektMakerPreview)->Arg(ObjektMaker::ModeAdd)->Arg(ObjektMaker::ModeMod)->Arg(ObjektMaker::ModeImplication);

} // namespace
