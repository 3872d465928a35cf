#include "generate/KVFilterEffects.h"

#include "generate/Elevator.h"
#include "generate/KVErosion.h"
#include "runtime/Numbers.h"
#include "runtime/Ui.h"
#include "terrain/KVTools2Scale.h"
#include "terrain/clsTerrain.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

namespace KVFilter {

namespace {

// The band every whole-grid shift works in: all heights.
constexpr int32_t kBandLow = -32768;
constexpr int32_t kBandHigh = 32768;
// The range filters spread their curve over 65530 steps around 0.
constexpr double kSpread = 65530.0;

enum class Curve { SignedSquare, Sine, Power };

// Progress base..base+scale through `done` of `total` steps; a window of no
// width counts as done.
int32_t stepProgress(int64_t done, int64_t total, int32_t base, int32_t scale)
{
    if (total <= 0) return base + scale;
    return base + int32_t(std::clamp<int64_t>(scale * done / total, 0, scale));
}

double curveAt(Curve curve, double s, int32_t h)
{
    switch (curve) {
    case Curve::SignedSquare:
        return std::abs(s * double(h)) * double(h);
    case Curve::Sine:
        return std::sin(s * (double(h) + 32768.0));
    case Curve::Power: {
        const double a = std::pow(std::abs(double(h)), s);
        return h < 0 ? -a : a;
    }
    }
    return 0.0;
}

// The frame the three range filters share: rescale, measure the curve over
// the band, then spread it over -32765..32765. Only points measured in the
// first pass are written, so points outside the band keep their heights.
void rangeFilter(clsTerrain& ter, Curve curve, double s, Extent extent, int32_t x0, int32_t y0, int32_t zMin,
                 int32_t zMax, const QString& status)
{
    const int32_t ext = extent.value_or(ter.XPoints());
    ter.pProgress = 0;
    rt::ui().setStatusText(status);
    rt::BusyGuard busy;
    // The rescale keeps the heights in their units, so they may fill only
    // part of the raw range; the curves are drawn for heights spread over
    // all of it around their centre, so they read them spread that way.
    ter.ScaleTerrain();
    const auto spread = KVTools2::fullRangeSpread(ter);
    // Infinite start values: a curve beyond +-100000 still finds its ends.
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    // The power shift measures one point short of the window's far ends.
    const int64_t measured = curve == Curve::Power ? int64_t(ext) - 1 : int64_t(ext);
    const GridWindow span = clipWindow(ter, measured, x0, y0);
    if (span.empty()) {
        ter.pProgress = 100;
        rt::DoEvents();
        return;
    }
    // The curve is worked out again in the second pass rather than kept: a
    // grid of it would cost more to allocate than to recompute, and a point's
    // height is unchanged until that pass writes it.
    const auto inBand = [&](int32_t h) { return zMin < h && h < zMax; };
    for (int32_t y = span.yFirst; y <= span.yLast; ++y) {
        ter.pProgress = stepProgress(int64_t(y) - y0, ext, 0, 50);
        rt::DoEvents();
        const int32_t* line = ter.row(y);
        for (int32_t x = span.xFirst; x <= span.xLast; ++x) {
            const int32_t h = line[x];
            if (!inBand(h)) continue;
            const double v = curveAt(curve, s, spread(h));
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    }
    // Nothing in the band: nothing to spread.
    ter.pProgress = 50;
    if (!(lo <= hi)) {
        ter.pProgress = 100;
        rt::DoEvents();
        return;
    }
    // Dividing by the span itself puts the curve's ends on -32765 and 32765
    // whatever its own scale, the sine's span below 1 included; a flat terrain
    // has no span and stays at 0.
    const double r = hi - lo;
    const double f = r > 0 ? kSpread / r : kSpread;
    const double c = hi - r / 2.0;
    // Second pass: only the points measured in the band are written.
    for (int32_t y = span.yFirst; y <= span.yLast; ++y) {
        ter.pProgress = stepProgress(int64_t(y) - y0, ext, 50, 50);
        rt::DoEvents();
        int32_t* line = ter.row(y);
        for (int32_t x = span.xFirst; x <= span.xLast; ++x)
            if (inBand(line[x])) line[x] = rt::CInt((curveAt(curve, s, spread(line[x])) - c) * f);
    }
    ter.pProgress = 100;
    rt::DoEvents();
}

// The constant of the square and the sine, as the single the caller gets back.
float fixedCurveConstant()
{
    return float(1.7 / 65536.0);
}

} // namespace

void StretchTerrain(clsTerrain& ter, float& strength, Extent extent, int32_t x0, int32_t y0, int32_t zMin,
                    int32_t zMax)
{
    strength = fixedCurveConstant();
    rangeFilter(ter, Curve::SignedSquare, double(strength), extent, x0, y0, zMin, zMax,
                QStringLiteral("Terrain stretched..."));
}

void ShiftTerrainSine(clsTerrain& ter, float& strength, Extent extent, int32_t x0, int32_t y0, int32_t zMin,
                      int32_t zMax)
{
    strength = fixedCurveConstant();
    rangeFilter(ter, Curve::Sine, double(strength), extent, x0, y0, zMin, zMax, QStringLiteral("Terrain Shift..."));
}

void ShiftTerrainPower(clsTerrain& ter, float& strength, Extent extent, int32_t x0, int32_t y0, int32_t zMin,
                       int32_t zMax)
{
    // A negative exponent makes 0 infinite and a huge one every other point:
    // the curve could then not be spread.
    const float p = strength / 4.0f;
    strength = std::isnan(p) ? 0.0f : std::clamp(p, 0.0f, 64.0f);
    rangeFilter(ter, Curve::Power, double(strength), extent, x0, y0, zMin, zMax, QStringLiteral("Terrain Shift..."));
}

void ReverseTerrain(clsTerrain& ter, float&, Extent, int32_t, int32_t, int32_t, int32_t)
{
    rt::ui().setStatusText(QStringLiteral("reversale..."));
    ter.pProgress = 0;
    rt::DoEvents();
    // Saturating: the lowest 32-bit height has no negative.
    const GridWindow span = clipWindow(ter, ter.XPoints(), 0, 0);
    for (int32_t y = span.yFirst; y <= span.yLast; ++y) {
        ter.pProgress = stepProgress(y, ter.XPoints(), 0, 100);
        rt::DoEvents();
        int32_t* line = ter.row(y);
        for (int32_t x = span.xFirst; x <= span.xLast; ++x) line[x] = rt::saturateToInt32(-int64_t(line[x]));
    }
    ter.pProgress = 100;
}

bool ApplyFilter(int16_t code, clsTerrain& ter, float& strength, Extent extent, int32_t x0, int32_t y0,
                 int32_t zMin, int32_t zMax, QString* error, const QString& seedText)
{
    // No extent: a window a little beyond the whole terrain.
    const int32_t ext = extent.value_or(int32_t(ter.XPoints()) + 10);
    // Busy for every code, the empty ones included.
    rt::BusyGuard busy;
    // The gamma shifts take a negative factor as 0: the root and the
    // reciprocal would otherwise have no value.
    const double factor = std::max(0.0, double(strength));
    float size = 0.0f;
    float p = 0.0f;
    switch (code) {
    case EffectSmooth:
        size = strength + 2.0f;
        SmoothTerrain(ter, size, ext, x0, y0, zMin, zMax);
        break;
    case EffectNoise:
        AddNoise(ter, strength, ext, x0, y0, zMin, zMax);
        break;
    case EffectInvers:
        ReverseTerrain(ter, strength, ext, x0, y0, zMin, zMax);
        break;
    case EffectElevatorShift:
        ElevatorShift(ter, strength, ext, x0, y0, zMin, zMax);
        size = 8.0f;
        SmoothTerrain(ter, size, ext, x0, y0, zMin, zMax);
        break;
    case EffectErosionRiver:
        ErosionPatternFile = QStringLiteral("erode0.flt");
        return ErodeWithBitmap(ter, strength, ext, x0, y0, zMin, zMax, error, seedText);
    case EffectInversGamma:
        p = float(std::sqrt(factor + 1.0));
        ShiftTerrainPower(ter, p, std::nullopt, 0, 0, kBandLow, kBandHigh);
        break;
    case EffectGamma:
        p = float(1.0 / (factor + 1.0));
        ShiftTerrainPower(ter, p, std::nullopt, 0, 0, kBandLow, kBandHigh);
        break;
    case EffectSinus:
        p = 1.0f;
        ShiftTerrainSine(ter, p, std::nullopt, 0, 0, kBandLow, kBandHigh);
        break;
    case EffectStretch:
        StretchTerrain(ter, strength, std::nullopt, 0, 0, kBandLow, kBandHigh);
        break;
    case EffectOptimized:
        RunScaleTerrain(ter);
        break;
    case EffectNaturalErosion:
        ErodeDroplets(ter, strength, ext, 0, 0, kBandLow, kBandHigh);
        break;
    default:  // 9 ("Erosion (Rain)") and unknown codes
        break;
    }
    return true;
}

} // namespace KVFilter
