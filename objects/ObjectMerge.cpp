// Stamping an object's grey picture into the terrain.

#include "objects/mdlObjects.h"

#include "runtime/Numbers.h"
#include "runtime/Ui.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace mdlObjects {

namespace {
// Colour value of pixel (x, y); -1 outside the picture.
int64_t colourAt(const QImage& pic, int64_t x, int64_t y)
{
    if (x < 0 || y < 0 || x >= pic.width() || y >= pic.height()) return -1;
    const QRgb p = reinterpret_cast<const QRgb*>(pic.constScanLine(int(y)))[x];
    return qRed(p) + 256 * int64_t(qGreen(p)) + 65536 * int64_t(qBlue(p));
}

// The combined height, rounded and kept within 32 bits (products and sums of
// large H1 values leave that range).
int32_t storeValue(double r)
{
    constexpr double lo = std::numeric_limits<int32_t>::min();
    constexpr double hi = std::numeric_limits<int32_t>::max();
    return rt::CLng(std::clamp(r, lo, hi));
}

double combine(int16_t mode, double v, double h, double base, int32_t h2)
{
    switch (mode) {
    case ModeAdd: return v + h;
    case ModeSubtract: return h - v;
    case ModeMultiply: return v * h;
    case ModeDivide: return h / v;  // v > 1 here
    case ModePutOnTerrain: return base + double(h2) + v;
    case ModeHighest: return std::max(v - 32768.0, h);
    case ModeLowest: return std::min(v - 32768.0, h);
    default: return h;
    }
}

// First step k >= 0 for which start + k rounds to 0 or more: an object far
// left of or above the grid does not walk the empty distance.
int64_t firstStepOnGrid(double start)
{
    if (start >= -0.5) return 0;
    return int64_t(std::floor(-start - 0.5));
}
} // namespace

void MergeObject(clsTerrain& terrain, const QImage& picture, const ObjectRecord& record)
{
    // 1. Busy while stamping; a mode outside 0..6 writes nothing.
    if (record.Mode < ModeAdd || record.Mode > ModeLowest) return;
    rt::BusyGuard busy;
    rt::DoEvents();
    const QImage pic = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
                           ? picture
                           : picture.convertToFormat(QImage::Format_RGB32);
    const int32_t size = terrain.Size();

    // 2. Mode 4 stands the object level on the height under its centre.
    double base = 0;
    if (record.Mode == ModePutOnTerrain)
        base = terrain.GetPoint(rt::CLng(record.X + record.XSpread / 2), rt::CLng(record.Y + record.YSpread / 2));

    // 3. Columns up to the last grid column, 4. rows likewise.
    const double xEnd = std::min(record.X + record.XSpread + 1, double(size));
    const double yEnd = std::min(record.Y + record.YSpread + 1, double(size));
    for (int64_t i = firstStepOnGrid(record.X); record.X + double(i) <= xEnd; ++i) {
        rt::DoEvents();
        const int64_t px = rt::roundHalfEven(record.X + double(i));
        for (int64_t j = firstStepOnGrid(record.Y); record.Y + double(j) <= yEnd; ++j) {
            // 5. Black and near-black pixels, and values of 1 or less, are transparent.
            const int64_t c = colourAt(pic, i, j);
            if (c < 6) continue;
            const double v = double(c) / 16777216.0 * record.H1;
            if (!(v > 1)) continue;
            const int64_t py = rt::roundHalfEven(record.Y + double(j));
            if (px < 0 || py < 0 || px > size || py > size) continue;
            const double h = terrain.GetPoint(int32_t(px), int32_t(py));
            terrain.SetPoint(int32_t(px), int32_t(py), storeValue(combine(record.Mode, v, h, base, record.H2)));
        }
    }
}

} // namespace mdlObjects
