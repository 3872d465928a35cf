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

// First step k >= 0 for which first + k is 0 or more: an object far left of
// or above the grid does not walk the empty distance.
int64_t firstStepOnGrid(int64_t first)
{
    return first < 0 ? -first : 0;
}

// The last whole step k with k <= room; -1 when there is none (NaN included).
int64_t lastStepWithin(double room)
{
    if (!(room >= 0.0)) return -1;
    return int64_t(std::floor(std::min(room, 1e12)));
}
} // namespace

void MergeObject(clsTerrain& terrain, const QImage& picture, const ObjectRecord& record)
{
    // Busy while stamping; a mode outside 0..6 writes nothing.
    if (record.Mode < ModeAdd || record.Mode > ModeLowest) return;
    rt::BusyGuard busy;
    rt::DoEvents();
    const QImage pic = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
                           ? picture
                           : picture.convertToFormat(QImage::Format_RGB32);
    const int32_t size = terrain.Size();

    // Mode 4 stands the object level on the height under its centre.
    double base = 0;
    if (record.Mode == ModePutOnTerrain)
        base = terrain.GetPoint(rt::CLng(record.X + record.XSpread / 2), rt::CLng(record.Y + record.YSpread / 2));

    // Columns one past the object's extent, but only while X + i, unrounded,
    // has not passed the last grid column; rows likewise. The position is
    // rounded once: rounding X + i for each column (halves to even) would skip
    // or repeat every other column of an object at a half point.
    constexpr int64_t kFar = int64_t(1) << 40;  // beyond any grid, still safe to negate
    const int64_t left = std::clamp(rt::roundHalfEven(record.X), -kFar, kFar);
    const int64_t top = std::clamp(rt::roundHalfEven(record.Y), -kFar, kFar);
    const int64_t lastColumn = std::min(lastStepWithin(record.XSpread + 1), lastStepWithin(size - record.X));
    const int64_t lastRow = std::min(lastStepWithin(record.YSpread + 1), lastStepWithin(size - record.Y));
    for (int64_t i = firstStepOnGrid(left); i <= lastColumn; ++i) {
        rt::DoEvents();
        const int64_t px = left + i;
        for (int64_t j = firstStepOnGrid(top); j <= lastRow; ++j) {
            // Black and near-black pixels, and values of 1 or less, are transparent.
            const int64_t c = colourAt(pic, i, j);
            if (c < 6) continue;
            const double v = double(c) / 16777216.0 * record.H1;
            if (!(v > 1)) continue;
            const int64_t py = top + j;
            if (px < 0 || py < 0 || px > size || py > size) continue;
            const double h = terrain.GetPoint(int32_t(px), int32_t(py));
            terrain.SetPoint(int32_t(px), int32_t(py), storeValue(combine(record.Mode, v, h, base, record.H2)));
        }
    }
}

} // namespace mdlObjects
