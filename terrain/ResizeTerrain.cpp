#include "terrain/ResizeTerrain.h"

#include "terrain/clsTerrain.h"
#include "runtime/Numbers.h"
#include "runtime/Rnd.h"
#include "runtime/Ui.h"

#include <algorithm>

namespace KVTools2 {

namespace {

void setProgress(clsTerrain& ter, double value)
{
    ter.pProgress = rt::CLng(value);
}

// The new grid replaces src's; progress runs from 50 to 100.
void copyBack(clsTerrain& src, const clsTerrain& generated)
{
    src.Init(generated.Size() + 1);
    const int32_t last = generated.Size() + 2;
    const int32_t xPoints = generated.XPoints();
    for (int32_t x = 0; x <= last; ++x) {
        for (int32_t y = 0; y <= last; ++y) src.SetPoint(x, y, generated.GetPoint(x, y));
        setProgress(src, 50.0 + 50.0 * std::min(x, xPoints) / xPoints);
        rt::DoEvents();
    }
}

void finish(clsTerrain& src)
{
    setProgress(src, 100);
    rt::DoEvents();
}

// The four new points of source point (x, y): (2x, 2y), (2x+1, 2y), (2x+1, 2y+1), (2x, 2y+1).
void writeBlock(clsTerrain& g, int32_t x, int32_t y, const double v[4])
{
    g.SetPoint(2 * x, 2 * y, rt::CLng(v[0]));
    g.SetPoint(2 * x + 1, 2 * y, rt::CLng(v[1]));
    g.SetPoint(2 * x + 1, 2 * y + 1, rt::CLng(v[2]));
    g.SetPoint(2 * x, 2 * y + 1, rt::CLng(v[3]));
}

} // namespace

void ResizeTerrain(clsTerrain& src, int16_t mode, int roughness)
{
    // Scratch grid of twice the size.
    clsTerrain g;
    rt::ui().setStatusText(QStringLiteral("Resize Terrain..."));
    rt::BusyGuard busy;
    const int32_t newPoints = 2 * int32_t(src.Size()) + 1;
    if (newPoints > 32767) return;  // the caller keeps the grid within 16 bits
    g.Init(newPoints);
    setProgress(src, 0);

    // Roughness and a fresh random sequence.
    double s = roughness / 200.0;
    rt::Randomize();
    rt::DoEvents();

    // Every source point, spare row and column included, fills a 2 x 2 block.
    const int32_t xPoints = src.XPoints();
    const int32_t yPoints = src.YPoints();
    for (int32_t x = 0; x <= xPoints; ++x) {
        for (int32_t y = 0; y <= yPoints; ++y) {
            const double f = 1.0 + rt::Rnd() * s;
            const double h = src.GetPoint(x, y);
            const double n[3] = {double(src.GetPoint(x + 1, y)), double(src.GetPoint(x + 1, y + 1)),
                                 double(src.GetPoint(x, y + 1))};
            double v[4];
            if (mode == ResizeMean) {
                v[0] = f * h;
                for (int i = 0; i < 3; ++i) v[i + 1] = f * (h + n[i]) / 2.0;
            } else if (mode == ResizeRepeat) {
                std::fill(v, v + 4, h);
            } else if (mode == ResizeRandomStep) {
                // A new divisor term before every write; it also becomes the
                // roughness of the next point.
                for (int i = 0; i < 4; ++i) {
                    const double d = f * rt::Rnd() * 0.1;
                    s = d;
                    v[i] = i == 0 ? h : h + (n[i - 1] - h) / (2.0 + d);
                }
            } else {
                continue;
            }
            writeBlock(g, x, y, v);
        }
        setProgress(src, 50.0 * x / xPoints);
        rt::DoEvents();
    }

    copyBack(src, g);
    finish(src);
}

void ResizeTerrainAlt(clsTerrain& src)
{
    // Scratch grid of half the size.
    clsTerrain g;
    rt::ui().setStatusText(QStringLiteral("Terrain resize..."));
    rt::BusyGuard busy;
    g.Init(rt::CLng(src.Size() / 2.0 + 1.0));
    setProgress(src, 0);
    rt::DoEvents();

    // Means of 2 x 2 blocks. Reads stay within the terrain proper (0..Size):
    // the spare rows and columns hold no heights of their own and must not
    // leak into the new border.
    const int32_t last = src.Size();
    auto at = [&](int64_t x, int64_t y) {
        return int64_t(src.GetPoint(int32_t(std::clamp<int64_t>(x, 0, last)),
                                    int32_t(std::clamp<int64_t>(y, 0, last))));
    };
    const int32_t gLast = g.Size() + 2;
    const int32_t xPoints = g.XPoints();
    for (int32_t x = 0; x <= gLast; ++x) {
        for (int32_t y = 0; y <= gLast; ++y) {
            const int64_t sum = at(2 * x, 2 * y) + at(2 * x, 2 * y + 1) + at(2 * x + 1, 2 * y + 1) +
                                at(2 * x + 1, 2 * y);
            g.SetPoint(x, y, rt::CLng(double(sum) / 4.0));
        }
        setProgress(src, 50.0 * std::min(x, xPoints) / xPoints);
        rt::DoEvents();
    }

    copyBack(src, g);
    finish(src);
}

} // namespace KVTools2
