#include "generate/KVFilterEffects.h"

#include "generate/Elevator.h"
#include "generate/KVErosion.h"
#include "runtime/Numbers.h"
#include "runtime/Ui.h"
#include "terrain/KVTools2Scale.h"
#include "terrain/clsTerrain.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

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

// The curve for every height of the band, worked out once: after the spread
// every height lies in it, and a lookup costs far less than a power or a sine.
// Heights beyond it (a terrain that filled the range already may hold some)
// are worked out on their own. Small grids skip the table.
class CurveTable {
public:
    CurveTable(Curve curve, double s, int64_t points) : m_curve(curve), m_s(s)
    {
        if (curve == Curve::SignedSquare || points < kValues) return;
        m_values.resize(kValues);
        for (int32_t h = kBandLow; h <= kBandHigh; ++h) m_values[size_t(h - kBandLow)] = curveAt(curve, s, h);
    }
    double operator()(int32_t h) const
    {
        const uint64_t k = uint64_t(int64_t(h) - kBandLow);
        return k < m_values.size() ? m_values[k] : curveAt(m_curve, m_s, h);
    }

private:
    static constexpr int64_t kValues = int64_t(kBandHigh) - kBandLow + 1;
    Curve m_curve;
    double m_s;
    std::vector<double> m_values;
};

// The frame the three range filters share: spread the heights over the raw
// range, measure the curve over the band, then spread it over -32765..32765.
// Only points measured in the first pass are written, so points outside the
// band keep their heights. Rows and columns beyond Size are no heights: they
// neither decide the curve's range nor take it.
void rangeFilter(clsTerrain& ter, Curve curve, double s, Extent extent, int32_t x0, int32_t y0, int32_t zMin,
                 int32_t zMax, const QString& status)
{
    const int32_t ext = extent.value_or(ter.XPoints());
    ter.pProgress = 0;
    rt::ui().setStatusText(status);
    rt::BusyGuard busy;
    ter.ScaleTerrain();
    // Infinite start values: a curve beyond +-100000 still finds its ends.
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    // The power shift measures one point short of the window's far ends.
    const int64_t measured = curve == Curve::Power ? int64_t(ext) - 1 : int64_t(ext);
    GridWindow span = clipWindow(ter, measured, x0, y0);
    span.xLast = std::min<int32_t>(span.xLast, ter.Size());
    span.yLast = std::min<int32_t>(span.yLast, ter.Size());
    if (span.empty()) {
        ter.pProgress = 100;
        rt::DoEvents();
        return;
    }
    const CurveTable curveOf(curve, s, int64_t(span.columns()) * (int64_t(span.yLast) - span.yFirst + 1));
    // The curve is looked up again in the second pass rather than kept: a
    // point's height is unchanged until that pass writes it.
    const auto inBand = [&](int32_t h) { return zMin < h && h < zMax; };
    for (int32_t y = span.yFirst; y <= span.yLast; ++y) {
        ter.pProgress = stepProgress(int64_t(y) - y0, ext, 0, 50);
        rt::DoEvents();
        const int32_t* line = ter.row(y);
        for (int32_t x = span.xFirst; x <= span.xLast; ++x) {
            const int32_t h = line[x];
            if (!inBand(h)) continue;
            const double v = curveOf(h);
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
            if (inBand(line[x])) line[x] = rt::CInt((curveOf(line[x]) - c) * f);
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
