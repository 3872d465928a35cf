#include "app/Panels.h"

#include "generate/KVFilterEffects.h"
#include "runtime/Numbers.h"
#include "terrain/ResizeTerrain.h"
#include "terrain/clsTerrain.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace Panels {

namespace {

constexpr int kMaxResizePasses = 5;

// The unit range scaled by k from the header's exact ends: the whole units
// the panels show would move every point by up to half a unit.
void scaleUnits(clsTerrain& t, double k)
{
    t.setUnitRange(t.exactMinTU() * k, t.exactMaxTU() * k, true);
}

} // namespace

void applyPlanetPreset(clsTerrain& t, Planet p)
{
    switch (p) {
    case Planet::Mars:
        t.setCRAD(3390.0f);
        break;
    case Planet::Moon:
        t.setCRAD(1738.0f);
        break;
    case Planet::Earth:
        t.setCRAD(6370.0f);
        break;
    case Planet::Complete:
        t.setCRAD(6.0f);
        t.setCRVM(1);
        t.setScaleT(5.0f);
        break;
    }
}

bool hasLeadingNumber(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*[-+]?\\s*(\\d|[.,]\\d)"));
    return number.match(text).hasMatch();
}

std::optional<int16_t> metresToTerrainUnits(const QString& text, double scaleT)
{
    if (!hasLeadingNumber(text) || !(scaleT > 0) || !std::isfinite(scaleT)) return std::nullopt;
    return rt::CInt(rt::Val(text) / scaleT);
}

bool setHeightFromMetres(clsTerrain& t, const QString& text, bool top)
{
    const auto tu = metresToTerrainUnits(text, t.ScaleT());
    if (!tu) return false;
    if (top) t.setMaxTU(*tu);
    else t.setMinTU(*tu);
    return true;
}

double clampedSideLength(const QString& text, int32_t size)
{
    const double v = rt::Val(text);
    const double low = double(size) + 1.0;
    if (std::isnan(v)) return low;
    return std::clamp(v, low, std::max(low, kMaxSideMetres));
}

void applySideLength(clsTerrain& t, double metres, bool keepUnits)
{
    const double oldScale = t.ScaleT();
    // A one-point terrain has Size 0: count it as one spacing.
    const double size = std::max<double>(t.Size(), 1.0);
    t.setScaleT(float(metres / size));
    if (keepUnits) return;
    // The exact ends in metres, not the boxes' whole metres: those would move
    // every point.
    const double k = oldScale / double(t.ScaleT());
    t.setUnitRange(t.exactMinTU() * k, t.exactMaxTU() * k, true);
}

double fineHeightMetres(const QString& maxMetres, const QString& minMetres, int32_t f)
{
    return (rt::Val(maxMetres) - rt::Val(minMetres)) / 65535.0 * double(f);
}

bool resizeReaches(int32_t size, int32_t target)
{
    // The same passes as resizeGrid, on the sizes alone: halving gives
    // Size / 2 + 1 points (halves to even), doubling 2 Size + 1.
    int64_t s = size;
    for (int passes = 0; passes < kMaxResizePasses && s != target; ++passes)
        s = target < s ? rt::roundHalfEven(double(s) / 2.0 + 1.0) - 1 : 2 * s;
    return s == target;
}

int resizeGrid(clsTerrain& t, int32_t target, bool adjustUnits, int16_t mode, int roughness)
{
    int passes = 0;
    // Halving.
    while (target < t.Size() && passes < kMaxResizePasses) {
        ResizeTerrainAlt(t);
        if (adjustUnits) scaleUnits(t, 0.5);
        ++passes;
    }
    // Doubling.
    while (target > t.Size() && passes < kMaxResizePasses) {
        ResizeTerrain(t, mode, roughness);
        if (adjustUnits) scaleUnits(t, 2.0);
        ++passes;
    }
    return passes;
}

void newFlatGrid(clsTerrain& t, int32_t target)
{
    t.Init(target + 1);
    t.setUnitRange(-10, 10, true);
}

int16_t effectCode(int effectFilter)
{
    return int16_t(std::clamp(effectFilter, -1, 98) + 1);
}

void storeEffectFactor(std::array<int16_t, 100>& factors, int effectFilter, int value)
{
    const int code = effectFilter + 1;
    if (code < 1 || code >= 100) return;
    factors[size_t(code)] = int16_t(std::clamp(value, 0, 10));
}

int16_t effectFactor(const std::array<int16_t, 100>& factors, int effectFilter)
{
    const int code = effectFilter + 1;
    if (code < 1 || code >= 100) return 0;
    return factors[size_t(code)];
}

bool runEffect(clsTerrain& t, int effectFilter, const std::array<int16_t, 100>& factors, int32_t zMinSlider,
               int32_t zMaxSlider, const QString& seedText, QString* error)
{
    // The sliders hold raw height + 32768.
    const int16_t code = effectCode(effectFilter);
    float strength = float(effectFactor(factors, effectFilter));
    const int32_t lower = zMinSlider - 32768;
    const int32_t upper = zMaxSlider - 32768;
    // The whole terrain, between the sliders' heights.
    return KVFilter::ApplyFilter(code, t, strength, int32_t(t.XPoints()), 0, 0, lower, upper, error, seedText);
}

} // namespace Panels
