#include "terrain/KVTools2Scale.h"

#include "runtime/Numbers.h"
#include "runtime/Ui.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/clsTerrain.h"

#include <algorithm>

namespace {

// Full raw range, the pins of FixHeight included.
constexpr int32_t kPinHigh = 32767;
constexpr int32_t kPinLow = -32767;

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

} // namespace

int32_t clsTerrain::Range()
{
    ScanMinMax(1);
    return rt::saturateToInt32(int64_t(m_max) - m_min);
}

int32_t clsTerrain::ScaleTerrain()
{
    // 1. The pins make the range at least 65534, so only heights beyond
    //    -32767..32767 get squeezed and the terrain-unit range stays.
    const bool fix = m_fixHeight;
    const int32_t kept11 = GetPoint(1, 1);
    const int32_t kept12 = GetPoint(1, 2);
    if (fix) {
        SetPoint(1, 1, kPinHigh);
        SetPoint(1, 2, kPinLow);
    }
    // 2. The remembered heights belong to the terrain too: an outlier under a
    //    pin must not escape the squeeze.
    Range();
    if (fix) {
        widenCache(kept11);
        widenCache(kept12);
    }
    const int64_t r = int64_t(m_max) - m_min;
    // 3.
    const double factor = 65535.0 / double(r + 1);
    const double centre = double(m_max) - double(r) / 2.0;
    // 4. r = 65534 or a flat terrain: nothing to do (r < 0 only for an empty grid).
    const bool rescale = r > 0 && factor != 1.0;
    if (rescale) {
        // 5.
        if (!fix) {
            const double tMin = GetPointTUZ(m_min);
            const double tMax = GetPointTUZ(m_max);
            setTURange(*this, rt::CInt(tMin), rt::CInt(tMax));
        }
        // 6. Row and column Size+1 too; the new heights lie within +-32767.
        const int32_t xLast = std::min<int32_t>(m_header.XPoints, m_side - 1);
        const int32_t yLast = std::min<int32_t>(m_header.YPoints, m_side - 1);
        for (int32_t y = 0; y <= yLast; ++y) rescaleRow(row(y), xLast + 1, factor, centre);
    }
    // 7. Pinned points get their own heights back, rescaled like their
    //    neighbours when the terrain was squeezed.
    if (fix) {
        SetPoint(1, 1, rescale ? rescaled(kept11, factor, centre) : kept11);
        SetPoint(1, 2, rescale ? rescaled(kept12, factor, centre) : kept12);
    }
    // 8. One rescan: a second one would return the same.
    return Range();
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

void RunScaleTerrain(clsTerrain& ter)
{
    rt::BusyGuard busy;
    rt::ui().setStatusText(QStringLiteral("Scale Terrain..."));
    ter.ScaleTerrain();
    if (CurrentTerrain) CurrentTerrain->pProgress = 100;
    rt::ui().refreshMainWindow();
    rt::DoEvents();
}

} // namespace KVTools2
