#include "terrain/KVTools2Scale.h"

#include "runtime/Numbers.h"
#include "runtime/Ui.h"
#include "terrain/clsTerrain.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Full raw range, the pins of FixHeight included.
constexpr int32_t kPinHigh = 32767;
constexpr int32_t kPinLow = -32767;
// Where Range's scan starts, so what it leaves when there is nothing to scan.
constexpr int32_t kEmptyScanMin = 4000000;
constexpr int32_t kEmptyScanMax = -4000000;
// Largest table of new heights the rescale works out beforehand (4 MB).
constexpr int64_t kLargestUnitTable = int64_t(1) << 20;

// factor x (h - centre) rounded halves to even and saturated to 32 bits, for
// a whole row. Adding and removing 1.5 x 2^52 rounds in the default rounding
// mode (halves to even) for |v| < 2^51, which holds: |factor| <= 65535 / 2 and
// |h - centre| < 2^33. Unlike a call to nearbyint this vectorises.
inline int32_t rescaled(int32_t h, double factor, double centre)
{
    constexpr double kRound = 6755399441055744.0;
    double v = factor * (double(h) - centre);
    v = (v + kRound) - kRound;
    v = v < double(INT32_MIN) ? double(INT32_MIN) : (v > double(INT32_MAX) ? double(INT32_MAX) : v);
    return int32_t(v);
}

// Blocks of fixed length so the compiler vectorises at -O2.
void rescaleRow(int32_t* h, int32_t n, double factor, double centre)
{
    constexpr int32_t kBlock = 16;
    int32_t x = 0;
    for (; x + kBlock <= n; x += kBlock)
        for (int32_t i = 0; i < kBlock; ++i) h[x + i] = rescaled(h[x + i], factor, centre);
    for (; x < n; ++x) h[x] = rescaled(h[x], factor, centre);
}

struct UnitHeader {
    int16_t heightScale;
    int16_t baseHeight;
};

// The tightest header whose ends are whole units round tMin..tMax. The top
// lies above the highest point (raw 32768 does not exist); BaseHeight sits
// midway and is whole, so an odd span gets one more unit below. HeightScale
// and BaseHeight must fit 16 bits: the span stops at 32766 units around the
// middle of the data, and the middle at BaseHeight's own limits, so only
// heights no header can hold are cut.
UnitHeader enclosingHeader(double tMin, double tMax)
{
    constexpr double kWidest = 32766.0;
    double lo = std::floor(tMin);
    double hi = std::max(std::floor(tMax) + 1, lo + 1);
    if (std::fmod(hi - lo, 2.0) != 0) lo -= 1;
    if (hi - lo > kWidest) {
        lo = std::floor((lo + hi) / 2) - kWidest / 2;
        hi = lo + kWidest;
    }
    const double half = (hi - lo) / 2;
    const double base = std::clamp(lo + half, double(INT16_MIN), double(INT16_MAX));
    return {int16_t(2 * half), int16_t(base)};
}

// nearbyint and floor without a library call: adding and removing 1.5 x 2^52
// rounds halves to even for |v| < 2^51. Larger values and NaN take the
// library's own.
constexpr double kRoundingBound = 2251799813685248.0;

inline double nearestEven(double v)
{
    constexpr double kRound = 6755399441055744.0;
    return std::fabs(v) < kRoundingBound ? (v + kRound) - kRound : std::nearbyint(v);
}

inline double floorOf(double v)
{
    if (!(std::fabs(v) < kRoundingBound)) return std::floor(v);
    const double n = nearestEven(v);
    return n > v ? n - 1.0 : n;
}

// The raw height nearest to terrain units t under the header, within
// -32767..32767. It never crosses a whole unit (the step back stays within one
// raw step of t), so the header found again from the new heights is the same
// and a second rescale changes nothing.
int32_t rawForUnits(double t, double heightScale, double baseHeight)
{
    double r = nearestEven((t - baseHeight) * 65536.0 / heightScale);
    const double back = floorOf(r * heightScale / 65536.0 + baseHeight);
    const double whole = floorOf(t);
    if (back > whole) r -= 1;
    else if (back < whole) r += 1;
    return int32_t(std::clamp(r, double(kPinLow), double(kPinHigh)));
}

} // namespace

int32_t clsTerrain::Range()
{
    ScanMinMax(1);
    return rt::saturateToInt32(int64_t(m_max) - m_min);
}

int32_t clsTerrain::ScaleTerrain()
{
    if (!m_fixHeight) {
        // A flat terrain that the file can hold has nothing to spread.
        Range();
        const bool flatAndHeld = m_min == m_max && m_min >= -kPinHigh && m_max <= kPinHigh;
        if (m_max < m_min || flatAndHeld) return rt::saturateToInt32(int64_t(m_max) - m_min);
        return fitScannedToWholeUnits(m_header.HeightScale, 65536.0, m_header.BaseHeight);
    }
    // The pins make the range at least 65534, so only heights beyond
    // -32767..32767 get squeezed and the terrain-unit range stays.
    const int32_t kept11 = GetPoint(1, 1);
    const int32_t kept12 = GetPoint(1, 2);
    SetPoint(1, 1, kPinHigh);
    SetPoint(1, 2, kPinLow);
    // The remembered heights belong to the terrain too: an outlier under a
    // pin must not escape the squeeze.
    Range();
    widenCache(kept11);
    widenCache(kept12);
    const int64_t r = int64_t(m_max) - m_min;
    const double factor = 65535.0 / double(r + 1);
    const double centre = double(m_max) - double(r) / 2.0;
    // r = 65534: every height already fits, nothing to do.
    const bool squeeze = r > 0 && factor != 1.0;
    if (squeeze) {
        // Row and column Size+1 too; the new heights lie within +-32767.
        const int32_t xLast = std::min<int32_t>(m_header.XPoints, m_side - 1);
        const int32_t yLast = std::min<int32_t>(m_header.YPoints, m_side - 1);
        for (int32_t y = 0; y <= yLast; ++y) rescaleRow(row(y), xLast + 1, factor, centre);
    }
    // Pinned points get their own heights back, rescaled like their
    // neighbours when the terrain was squeezed.
    SetPoint(1, 1, squeeze ? rescaled(kept11, factor, centre) : kept11);
    SetPoint(1, 2, squeeze ? rescaled(kept12, factor, centre) : kept12);
    return Range();
}

int32_t clsTerrain::fitToWholeUnits(double scale, double divisor, double base)
{
    Range();
    return fitScannedToWholeUnits(scale, divisor, base);
}

int32_t clsTerrain::fitScannedToWholeUnits(double scale, double divisor, double base)
{
    if (m_max < m_min || divisor == 0.0) return Range();
    const auto units = [&](int32_t h) { return double(h) * scale / divisor + base; };
    const UnitHeader header = enclosingHeader(std::min(units(m_min), units(m_max)),
                                              std::max(units(m_min), units(m_max)));
    const double heightScale = header.heightScale;
    const double baseHeight = header.baseHeight;
    // Row and column Size+1 too, so they stay in the units of their neighbours.
    const int32_t xLast = std::min<int32_t>(m_header.XPoints, m_side - 1);
    const int32_t yLast = std::min<int32_t>(m_header.YPoints, m_side - 1);
    // The new min and max come with the pass, over the points Range reads.
    const int32_t nx = std::min<int32_t>(m_header.XPoints, m_side);
    const int32_t ny = std::min<int32_t>(m_header.YPoints, m_side);
    // The new height depends on the old one alone: when the heights take
    // fewer values than there are points, each value is worked out once.
    // Points beyond the scanned ones may lie outside min..max and are worked
    // out on their own.
    const int64_t values = int64_t(m_max) - m_min + 1;
    std::vector<int32_t> table;
    if (values <= kLargestUnitTable && values <= int64_t(xLast + 1) * (yLast + 1)) {
        table.resize(size_t(values));
        for (int64_t k = 0; k < values; ++k)
            table[size_t(k)] = rawForUnits(units(int32_t(m_min + k)), heightScale, baseHeight);
    }
    const int64_t first = m_min;
    const auto newHeight = [&](int32_t h) {
        const uint64_t k = uint64_t(int64_t(h) - first);
        return k < table.size() ? table[k] : rawForUnits(units(h), heightScale, baseHeight);
    };
    int32_t lo = kEmptyScanMin, hi = kEmptyScanMax;
    for (int32_t y = 0; y <= yLast; ++y) {
        int32_t* h = row(y);
        const int32_t scanned = y < ny ? nx : 0;
        for (int32_t x = 0; x <= xLast; ++x) {
            const int32_t v = newHeight(h[x]);
            h[x] = v;
            if (x < scanned) {
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
        }
    }
    m_header.HeightScale = header.heightScale;
    m_header.BaseHeight = header.baseHeight;
    m_min = lo;
    m_max = hi;
    return rt::saturateToInt32(int64_t(hi) - lo);
}

void setTURange(clsTerrain& t, int newMin, int newMax)
{
    const int16_t low = rt::saturateToInt16(std::min(newMin, int(INT16_MAX) - 1));
    const int16_t top = rt::saturateToInt16(std::max(newMax, int(low) + 1));
    // Each write clamps against the other end as it stands: the top goes
    // first when the new bottom would reach the old top.
    if (low >= t.MaxTU()) {
        t.setMaxTU(top);
        t.setMinTU(low);
    } else {
        t.setMinTU(low);
        t.setMaxTU(top);
    }
}

namespace KVTools2 {

std::function<int32_t(int32_t)> fullRangeSpread(const clsTerrain& ter)
{
    const int64_t r = int64_t(ter.max()) - ter.min();
    const double factor = 65535.0 / double(r + 1);
    const double centre = double(ter.max()) - double(r) / 2.0;
    if (r <= 0 || factor == 1.0) return [](int32_t h) { return h; };
    return [factor, centre](int32_t h) { return rt::CLng(factor * (double(h) - centre)); };
}

void RunScaleTerrain(clsTerrain& ter)
{
    rt::BusyGuard busy;
    rt::ui().setStatusText(QStringLiteral("Scale Terrain..."));
    ter.ScaleTerrain();
    ter.pProgress = 100;
    rt::ui().refreshMainWindow();
    rt::DoEvents();
}

} // namespace KVTools2
