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
        for (int32_t y = 0; y <= yLast; ++y) {
            int32_t* h = row(y);
            for (int32_t x = 0; x <= xLast; ++x) h[x] = rt::CLng(factor * (double(h[x]) - centre));
        }
    }
    // 7. Pinned points get their own heights back, rescaled like their
    //    neighbours when the terrain was squeezed.
    if (fix) {
        SetPoint(1, 1, rescale ? rt::CLng(factor * (double(kept11) - centre)) : kept11);
        SetPoint(1, 2, rescale ? rt::CLng(factor * (double(kept12) - centre)) : kept12);
    }
    // 8.
    Range();
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
    rt::ui().setStatusText(QStringLiteral("Scale Terrain..."));
    rt::BusyFlag = true;
    ter.ScaleTerrain();
    if (CurrentTerrain) CurrentTerrain->pProgress = 100;
    rt::ui().refreshMainWindow();
    rt::DoEvents();
}

} // namespace KVTools2
