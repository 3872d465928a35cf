#include "terrain/KVTools2Scale.h"

#include "runtime/Numbers.h"
#include "runtime/Ui.h"
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
    if (!m_fixHeight) return spreadKeepingUnits();
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
    if (squeeze) rescaleGrid(factor, centre);
    // Pinned points get their own heights back, rescaled like their
    // neighbours when the terrain was squeezed.
    SetPoint(1, 1, squeeze ? rescaled(kept11, factor, centre) : kept11);
    SetPoint(1, 2, squeeze ? rescaled(kept12, factor, centre) : kept12);
    return Range();
}

int32_t clsTerrain::spreadKeepingUnits()
{
    Range();
    if (m_max < m_min) return 0;  // nothing to scan
    const int64_t r = int64_t(m_max) - m_min;
    const double factor = 65535.0 / double(r + 1);
    const double centre = double(m_max) - double(r) / 2.0;
    // A flat terrain has nothing to spread; 65534 steps fill the range already.
    if (factor == 1.0 || factor == 65535.0) return Range();
    // The raw height h becomes factor x (h - centre): a point keeps its
    // terrain units when the centre keeps its own and a raw step shrinks by
    // the factor. The ends lie half a new raw step beyond the lowest and
    // highest point (the spread stops short of -32768 and 32768).
    m_header.BaseHeight = m_header.BaseHeight + m_header.HeightScale * centre / 65536.0;
    m_header.HeightScale = m_header.HeightScale / factor;
    rescaleGrid(factor, centre);
    return Range();
}

void clsTerrain::rescaleGrid(double factor, double centre)
{
    // Row and column Size+1 too, so they stay in the units of their neighbours.
    const int32_t xLast = std::min<int32_t>(m_header.XPoints, m_side - 1);
    const int32_t yLast = std::min<int32_t>(m_header.YPoints, m_side - 1);
    for (int32_t y = 0; y <= yLast; ++y) rescaleRow(row(y), xLast + 1, factor, centre);
}

namespace KVTools2 {

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
