#include "generate/KVErosion.h"

#include "generate/KVFilter.h"
#include "runtime/Ini.h"
#include "runtime/Numbers.h"
#include "runtime/Rnd.h"
#include "runtime/Ui.h"
#include "terrain/KVTools2Scale.h"
#include "terrain/STDIO.h"
#include "terrain/clsTerrain.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <vector>

namespace KVErosion {

namespace {

const QString kSection = QStringLiteral("Erosion");
// Stands for a missing key: no file can hold a control character as value.
const QString kMissing = QStringLiteral("\x01");

// A key, its slider's range and the value a file without it gives.
struct KeySpec {
    const char* key;
    int32_t ErosionSettings::*field;
    int32_t lo;
    int32_t hi;
    const char* readDefault;
};
const KeySpec kKeys[] = {
    {"DropCount", &ErosionSettings::dropCount, 1000, 50000, "1000"},
    {"Dropwith", &ErosionSettings::dropWith, 1, 20, "1"},
    {"LLDepht", &ErosionSettings::landslide, 1, 10, "1"},
    {"EroDepht", &ErosionSettings::depth, 1, 8, "4"},
};

bool isNumber(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^[-+]?(\\d+\\.?\\d*|\\.\\d+)([eEdD][-+]?\\d+)?$"));
    return re.match(text).hasMatch();
}

// One drop from (x, y): digs at each point it leaves, at most Size times, and
// ends in a pit, when it reaches column or row x0 / y0 or x0 + extent /
// y0 + extent, or when it steps off the terrain into the spare rows and
// columns. Heights are read with clamping and digs beyond the allocated grid
// are dropped; a hollow dug at the terrain's edge reaches into the spare
// columns.
void runOneDrop(clsTerrain& ter, const ErosionSettings& s, int64_t x0, int64_t y0, int64_t extent, int32_t x,
                int32_t y)
{
    const int32_t steps = std::max<int32_t>(ter.Size(), 0);
    for (int32_t step = 0; step < steps; ++step) {
        const int32_t hPrev = ter.GetPoint(x, y);
        rt::DoEvents();
        const int32_t px = x, py = y;
        const int32_t hLow = FindLowestNeighbour(ter, x, y);
        if (x == px && y == py) return;
        // Reaching the edge ends the drop before it digs; so does a step onto
        // the spare rows and columns, which the whole-grid extent reaches.
        if (x <= x0 || x >= x0 + extent || y <= y0 || y >= y0 + extent) return;
        if (x > ter.Size() || y > ter.Size()) return;
        // The hollow goes where the drop has just left, deeper the further it fell.
        const double amount = std::abs(s.depth * ((double(hPrev) - double(hLow)) / 20.0));
        DigGaussBrush(ter, px, py, s.landslide, amount);
    }
}

// Digs of up to this width (the settings allow 10) take their bell from a
// table; wider ones work it out point by point.
constexpr int32_t kLargestTabledDig = 64;

// Gauss2D over a dig square r + 1 points wide at each offset from its first
// corner, row by row: the bell depends on nothing else, so one table serves
// every dig of that width.
const float* digBell(int32_t r)
{
    static int32_t tabled = -1;
    static std::vector<float> bell;
    if (tabled != r) {
        const int32_t n = r + 1;
        bell.resize(size_t(n) * size_t(n));
        for (int32_t dy = 0; dy < n; ++dy)
            for (int32_t dx = 0; dx < n; ++dx)
                bell[size_t(dy) * size_t(n) + size_t(dx)] = KVFilter::Gauss2D(dx, dy, 0, 0, r, r);
        tabled = r;
    }
    return bell.data();
}

// h + CLng(-w), saturated like IncrPoint. Adding and removing 1.5 x 2^52
// rounds halves to even like CLng's nearbyint, inline, for every w that fits
// 32 bits; the rest (and NaN) take CLng itself.
inline int32_t dugHeight(int32_t h, double w)
{
    constexpr double kRound = 6755399441055744.0;
    const double v = -w;
    const int64_t dv = (v > -2147483648.0 && v < 2147483647.0) ? int64_t((v + kRound) - kRound) : rt::CLng(v);
    return rt::saturateToInt32(int64_t(h) + dv);
}

// DigGaussBrush for the square ax..bx by ay..by (r + 1 points a side) through
// row pointers, clipped once to the points IncrPoint would write; the
// min/max cache is widened once by what was written.
void digFromTable(clsTerrain& ter, int64_t ax, int64_t ay, int64_t bx, int64_t by, int32_t r, double amount)
{
    const int64_t last = KVFilter::lastPoint(ter);
    const int64_t x0 = std::max<int64_t>(ax, 0), x1 = std::min<int64_t>(bx, last);
    const int64_t y0 = std::max<int64_t>(ay, 0), y1 = std::min<int64_t>(by, last);
    if (x0 > x1 || y0 > y1) return;
    const float* bell = digBell(r);
    const size_t n = size_t(r) + 1;
    int32_t lo = INT32_MAX, hi = INT32_MIN;
    for (int64_t j = y0; j <= y1; ++j) {
        int32_t* line = ter.row(int32_t(j));
        const float* weights = bell + size_t(j - ay) * n;
        for (int64_t i = x0; i <= x1; ++i) {
            const int32_t h = dugHeight(line[i], amount * double(weights[i - ax]));
            line[i] = h;
            lo = std::min(lo, h);
            hi = std::max(hi, h);
        }
    }
    ter.widenRange(lo, hi);
}

} // namespace

int32_t FindLowestNeighbour(const clsTerrain& ter, int32_t& x, int32_t& y)
{
    int32_t best = ter.GetPoint(x, y);
    int32_t bx = x, by = y;
    for (int32_t i = x - 1; i <= x + 1; i += 2)
        for (int32_t j = y - 1; j <= y + 1; j += 2) {
            const int32_t h = ter.GetPoint(i, j);
            if (h < best) {
                best = h;
                bx = i;
                by = j;
            }
        }
    x = bx;
    y = by;
    return best;
}

void DigGaussBrush(clsTerrain& ter, int32_t x, int32_t y, int32_t r, double amount)
{
    const double half = double(r) / 2.0;
    const int64_t ax = int64_t(rt::Int(x - half));
    const int64_t ay = int64_t(rt::Int(y - half));
    const int64_t bx = int64_t(rt::Int(x + half));
    const int64_t by = int64_t(rt::Int(y + half));
    if (r >= 0 && r <= kLargestTabledDig) {
        digFromTable(ter, ax, ay, bx, by, r, amount);
        return;
    }
    // IncrPoint drops points off the allocated grid; the loops skip them.
    const int64_t last = int64_t(ter.allocatedSide()) - 1;
    for (int64_t i = std::max<int64_t>(ax, 0); i <= std::min<int64_t>(bx, last); ++i)
        for (int64_t j = std::max<int64_t>(ay, 0); j <= std::min<int64_t>(by, last); ++j) {
            const double w = amount * KVFilter::Gauss2D(double(i), double(j), double(ax), double(ay), r, r);
            ter.IncrPoint(int32_t(i), int32_t(j), rt::CLng(-w));
        }
}

void runDrops(clsTerrain& ter, const ErosionSettings& s, int32_t extent, int32_t x0, int32_t y0, int32_t zMin,
              int32_t zMax)
{
    // Starts far off the grid are kept away from the ends of the 32-bit range.
    constexpr int64_t kFar = int64_t(1) << 30;
    const int32_t n = s.dropCount;
    for (int32_t i = 1; i <= n; ++i) {
        // Two draws for every drop, x first, so the sequence does not depend on the terrain.
        const int64_t x = int64_t(x0) + int64_t(rt::Int(double(extent) * rt::Rnd())) + 2;
        const int64_t y = int64_t(y0) + int64_t(rt::Int(double(extent) * rt::Rnd())) + 2;
        const int32_t sx = int32_t(std::clamp<int64_t>(x, -kFar, kFar));
        const int32_t sy = int32_t(std::clamp<int64_t>(y, -kFar, kFar));
        // A start in the spare rows and columns has no height to be in the band.
        const bool onTerrain = sx <= ter.Size() && sy <= ter.Size();
        const int32_t h = ter.GetPoint(sx, sy);
        if (onTerrain && h > zMin && h < zMax) runOneDrop(ter, s, x0, y0, extent, sx, sy);
        ter.pProgress = int32_t(std::clamp<int64_t>(rt::roundHalfEven(i * (100.0 / n)), 0, 100));
        rt::DoEvents();
    }
}

bool WriteErosionSettings(const QString& path, const ErosionSettings& s, QString* error)
{
    rt::IniEntries entries;
    for (const KeySpec& k : kKeys) entries.emplace_back(QLatin1String(k.key), rt::Str(s.*k.field));
    QString why;
    if (rt::WritePrivateProfileStrings(kSection, entries, path, &why)) return true;
    if (error) *error = QStringLiteral("The erosion settings could not be written to %1: %2").arg(path, why);
    return false;
}

std::optional<ErosionSettings> ReadErosionSettings(const QString& path, QString* error)
{
    const auto fail = [error](const QString& why) {
        if (error) *error = why;
        return std::nullopt;
    };
    // Keys missing from the section take their defaults; a file without the
    // section is no erosion settings file at all.
    const rt::IniFile ini(path);
    if (!ini.error().isEmpty())
        return fail(QStringLiteral("The erosion settings cannot be read:\n%1").arg(ini.error()));
    if (!ini.hasSection(kSection)) return fail(QStringLiteral("%1 holds no erosion settings.").arg(path));
    ErosionSettings s;
    QStringList refused;
    for (const KeySpec& k : kKeys) {
        QString text = ini.value(kSection, QLatin1String(k.key), kMissing);
        text = text == kMissing ? QLatin1String(k.readDefault) : STDIO::CutAtNull(text);
        const int64_t v = isNumber(text) ? rt::roundHalfEven(rt::Val(text)) : int64_t(k.lo) - 1;
        if (v < k.lo || v > k.hi) refused << QLatin1String(k.key);
        else s.*k.field = int32_t(v);
    }
    if (!refused.isEmpty())
        return fail(QStringLiteral("These erosion settings are not valid, the file was not loaded: %1")
                        .arg(refused.join(QStringLiteral(", "))));
    return s;
}

} // namespace KVErosion

void ErodeDroplets(clsTerrain& ter, float& strength, std::optional<int32_t> extent, int32_t x0, int32_t y0,
                   int32_t zMin, int32_t zMax)
{
    rt::BusyGuard busy;
    // Rescaled first, as before every effect.
    RunScaleTerrain(ter);
    const int32_t ext = extent.value_or(ter.XPoints());
    ter.pProgress = 0;
    rt::ui().setStatusText(QStringLiteral("Terrain erode ..."));
    // A cancelled dialog gives no drops.
    const std::optional<KVErosion::ErosionSettings> settings = rt::ui().askErosionSettings();
    strength = settings ? float(settings->dropCount) : 0.0f;
    if (settings && settings->dropCount > 0) KVErosion::runDrops(ter, *settings, ext, x0, y0, zMin, zMax);
    ter.pProgress = 100;
    rt::DoEvents();
}
