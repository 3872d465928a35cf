#include "app/Brushes.h"

#include "app/AppState.h"
#include "generate/KVFilter.h"
#include "runtime/Numbers.h"
#include "runtime/Ui.h"
#include "terrain/clsTerrain.h"

#include <algorithm>

namespace Brushes {

namespace {

// The brush of s.tool once around the marked point (i, j), the square of side d.
bool applyAt(clsTerrain& ter, int32_t i, int32_t j, int32_t d, const StrokeSettings& s, QString* error)
{
    const int32_t r = d / 2;
    const int32_t h = ter.GetPoint(i, j);
    const double strength = s.strength;
    constexpr int32_t lo = -32768;
    constexpr int32_t hi = 32768;
    switch (s.tool) {
    case Up:
        raiseAround(ter, i, j, d, s.strength, 1);
        return true;
    case Down:
        raiseAround(ter, i, j, d, s.strength, -1);
        return true;
    case Erode: {
        float amount = float(strength / 2);
        const int32_t bandLo = rt::saturateToInt32(int64_t(h) - d);
        const int32_t bandHi = rt::saturateToInt32(int64_t(h) + d);
        return KVFilter::ErodeWithBitmap(ter, amount, d - 2, i - r, j - r, bandLo, bandHi, error, s.seedText);
    }
    case Noise: {
        float amount = float(strength / 3);
        KVFilter::AddNoise(ter, amount, d - 2, i - r, j - r, lo, hi);
        return true;
    }
    case Smooth: {
        float amount = float((strength + 12) / 4);
        KVFilter::SmoothTerrain(ter, amount, d - 2, i - r - 1, j - r - 1, lo, hi);
        return true;
    }
    case Sharpen: {
        // Sharpening has no height operation: the stroke only completes its progress.
        float amount = float(strength / 3);
        KVFilter::ProgressDone(ter, amount, d - 2, i - r, j - r, lo, hi);
        return true;
    }
    default:
        return true;
    }
}

} // namespace

void StrokeMask::reset(int32_t xPoints)
{
    m_bound = std::max<int32_t>(xPoints, 0);
    const size_t side = size_t(m_bound) + 1;
    m_cells.assign(side * side, 0);
}

bool StrokeMask::mark(int32_t x, int32_t y)
{
    if (x < 0 || y < 0 || x > m_bound || y > m_bound) return false;
    m_cells[size_t(x) * size_t(m_bound + 1) + size_t(y)] = 1;
    return true;
}

bool StrokeMask::marked(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x > m_bound || y > m_bound) return false;
    return m_cells[size_t(x) * size_t(m_bound + 1) + size_t(y)] != 0;
}

void markPress(StrokeMask& mask, QPointF p)
{
    mask.mark(rt::CLng(p.x()), rt::CLng(p.y()));
}

QPoint markDrag(StrokeMask& mask, QPointF p, int32_t size)
{
    const double limit = std::max(size, 0);
    const int32_t xm = rt::CLng(std::clamp(p.x(), 0.0, limit));
    const int32_t ym = rt::CLng(std::clamp(p.y(), 0.0, limit));
    mask.mark(xm, ym);
    return {xm, ym};
}

void raiseAround(clsTerrain& ter, int32_t i, int32_t j, int32_t d, int32_t strength, int sign)
{
    const int32_t n = KVFilter::brushTableBound();
    const int32_t last = KVFilter::lastPoint(ter);
    // A square of no side or an empty table weighs every point 0.
    if (n < 0 || d <= 0 || last < 0) return;
    const int64_t cx = int64_t(i) - d / 2;
    const int64_t cy = int64_t(j) - d / 2;
    // Table cells of the offsets 0..d, the same on both axes.
    std::vector<int32_t> cell(size_t(d) + 1);
    for (int32_t k = 0; k <= d; ++k) cell[size_t(k)] = KVFilter::brushTableIndex(k, d);
    const float* table = KVFilter::brushTable().data();
    const double scale = 20.0 * d * sign;
    const int64_t side = ter.allocatedSide();
    int32_t* base = ter.row(0);
    // Points of the square off the grid are skipped, as IncrPoint skips them.
    const int64_t xFirst = std::max<int64_t>(cx, 0), xLast = std::min<int64_t>(cx + d, last);
    const int64_t yFirst = std::max<int64_t>(cy, 0), yLast = std::min<int64_t>(cy + d, last);
    for (int64_t x = xFirst; x <= xLast; ++x) {
        const float* weights = table + size_t(cell[size_t(x - cx)]) * size_t(n + 1);
        for (int64_t y = yFirst; y <= yLast; ++y) {
            const float w = float(double(strength) * double(weights[cell[size_t(y - cy)]]));
            int32_t& h = base[y * side + x];
            h = rt::saturateToInt32(int64_t(h) + rt::CLng(scale * double(w)));
        }
    }
}

bool applyStroke(clsTerrain& ter, const StrokeMask& mask, const StrokeSettings& s, QString* error)
{
    rt::BusyGuard busy;
    ter.pProgress = 0;
    rt::ui().setStatusText(QStringLiteral("Filter Process....."));
    // Row and column 0 of the mask are never applied.
    const int32_t xPoints = ter.XPoints();
    const int32_t n = std::min<int32_t>(xPoints, mask.bound());
    const int32_t d = 2 * std::max(s.radius, 0);
    bool ok = true;
    for (int32_t i = 1; i <= n && ok; ++i) {
        ter.pProgress = rt::CLng(double(i) / xPoints * 100.0);
        rt::DoEvents();
        const uint8_t* column = mask.column(i);
        for (int32_t j = 1; j <= n; ++j) {
            if (!column[j]) continue;
            ok = applyAt(ter, i, j, d, s, error);
            if (!ok) break;
            markTerrainChanged();
        }
    }
    ter.pProgress = 100;
    rt::DoEvents();
    return ok;
}

} // namespace Brushes
