#include "terrain/clsTerrain.h"

#include "runtime/Numbers.h"
#include "runtime/Rnd.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

constexpr int32_t kEmptyMax = -400000;
constexpr int32_t kEmptyMin = 400000;

void setTag(char* field, size_t n, const char* text)
{
    std::memset(field, 0, n);
    std::memcpy(field, text, std::min(n, std::strlen(text)));
}

} // namespace

clsTerrain::clsTerrain()
{
    Init(257);
    setTag(m_header.Magic, sizeof m_header.Magic, "TERRAGENTERRAIN SIZE");
    m_header.Size = 256;
    m_header.XPoints = 257;
    m_header.YPoints = 257;
    m_header.ScaleX = m_header.ScaleY = m_header.ScaleZ = 30.0f;
    m_header.CRAD = 6370.0f;
    m_header.CRVM = 0;
    m_header.HeightScale = 30;
    m_header.BaseHeight = 5;
}

// --- header properties --------------------------------------------------------

int16_t clsTerrain::MaxTU()
{
    m_cachedMaxTU = rt::CInt(exactMaxTU());
    return m_cachedMaxTU;
}

int16_t clsTerrain::MinTU()
{
    m_cachedMinTU = rt::CInt(exactMinTU());
    return m_cachedMinTU;
}

void clsTerrain::setUnitRange(double low, double top, bool keepTop)
{
    low = std::clamp<double>(low, INT16_MIN, INT16_MAX);
    top = std::clamp<double>(top, INT16_MIN, INT16_MAX);
    // Equal or crossed ends would make HeightScale 0 or less; a file holds a
    // span of 16 bits.
    double span = top - low;
    if (!(span > 0)) span = 1;
    span = std::min<double>(span, INT16_MAX);
    if (keepTop) low = top - span;
    else top = low + span;
    // BaseHeight midway, a half for an odd span: both ends land exactly.
    m_header.HeightScale = span;
    m_header.BaseHeight = low + span / 2.0;
}

bool clsTerrain::headerFitsFile() const
{
    const auto fits = [](double v) { return v == std::trunc(v) && v >= INT16_MIN && v <= INT16_MAX; };
    return fits(m_header.HeightScale) && fits(m_header.BaseHeight);
}

void clsTerrain::setScaleT(float v)
{
    m_header.ScaleX = m_header.ScaleY = m_header.ScaleZ = v;
}

void clsTerrain::setYPoints(int16_t v)
{
    m_header.Size = rt::saturateToInt16(int32_t(v) - 1);
    m_header.XPoints = m_header.YPoints = v;
}

void clsTerrain::setXPoints(int16_t v)
{
    setYPoints(v);
}

void clsTerrain::setSize(int16_t v)
{
    // Only the header changes; the grid keeps its allocation until Init.
    m_header.Size = v;
    m_header.XPoints = m_header.YPoints = rt::saturateToInt16(int32_t(v) + 1);
}

// --- unit conversions -------------------------------------------------------------
// In double precision throughout: the header is exact, and raw heights beyond
// +-65536 that edits may hold before rescaling keep their units.

double clsTerrain::rawToMetres(double raw) const
{
    return (m_header.BaseHeight + m_header.HeightScale * raw / 65536.0) * double(m_header.ScaleZ);
}

float clsTerrain::getMeter2Pixel(float m) const
{
    if (m_header.HeightScale == 0 || m_header.ScaleZ == 0.0f) return 0.0f;
    return float(double(m) / m_header.ScaleZ * 65536.0 / m_header.HeightScale);
}

float clsTerrain::getPixel2Meters(float v) const
{
    return float(double(m_header.ScaleZ) * v / 65536.0 * m_header.HeightScale);
}

float clsTerrain::GetV2Meter(float v) const
{
    return float(rawToMetres(v));
}

int32_t clsTerrain::GetMeter2Int(float m) const
{
    if (m_header.HeightScale == 0 || m_header.ScaleZ == 0.0f) return 0;
    return rt::CLng((double(m) / m_header.ScaleZ - m_header.BaseHeight) * 65536.0 / m_header.HeightScale);
}

float clsTerrain::GetPointTUZ(int32_t v) const
{
    return float(double(v) * m_header.HeightScale / 65536.0 + m_header.BaseHeight);
}

float clsTerrain::GetPointTU(int32_t x, int32_t y) const
{
    return GetPointTUZ(clampedAt(x, y));
}

float clsTerrain::GetPointMeters(int32_t x, int32_t y) const
{
    return float(rawToMetres(clampedAt(x, y)));
}

// --- grid -----------------------------------------------------------------------------

void clsTerrain::Init(int32_t n)
{
    // Size = n - 1 must fit 16 bits; a terrain has at least one point.
    n = std::clamp<int32_t>(n, 1, 32768);
    m_side = n + 2;
    m_data.assign(size_t(m_side) * size_t(m_side), 0);
    setSize(int16_t(n - 1));
    m_max = kEmptyMax;
    m_min = kEmptyMin;
}

void clsTerrain::InitForReading(int32_t n)
{
    n = std::clamp<int32_t>(n, 1, 32768);
    m_side = n + 2;
    m_data.clear();
    m_data.resize(size_t(m_side) * size_t(m_side));
    for (int32_t y = 0; y < n; ++y) row(y)[n] = row(y)[n + 1] = 0;
    std::fill(row(n), row(n) + 2 * size_t(m_side), 0);
    setSize(int16_t(n - 1));
    m_max = kEmptyMax;
    m_min = kEmptyMin;
}

void clsTerrain::Fill(int32_t v)
{
    std::fill(m_data.begin(), m_data.end(), v);
    Range();
}

int32_t clsTerrain::lastIndex() const
{
    return std::min<int32_t>(int32_t(m_header.Size) + 2, m_side - 1);
}

bool clsTerrain::inGrid(int64_t x, int64_t y) const
{
    // Size + 2 bounds the terrain; the allocation bounds it too when Size
    // was written without Init.
    const int64_t last = lastIndex();
    return x >= 0 && y >= 0 && x <= last && y <= last;
}

int32_t clsTerrain::clampedAt(int64_t x, int64_t y) const
{
    const int64_t last = lastIndex();
    if (last < 0) return 0;
    x = std::clamp<int64_t>(x, 0, last);
    y = std::clamp<int64_t>(y, 0, last);
    return m_data[size_t(y) * size_t(m_side) + size_t(x)];
}

void clsTerrain::widenCache(int32_t v)
{
    if (v < m_min) m_min = v;
    if (v > m_max) m_max = v;
}

void clsTerrain::SetPoint(int32_t x, int32_t y, int32_t v)
{
    if (!inGrid(x, y)) return;
    row(y)[x] = v;
    widenCache(v);
}

void clsTerrain::IncrPoint(int32_t x, int32_t y, int32_t dv)
{
    if (!inGrid(x, y)) return;
    int32_t& h = row(y)[x];
    h = rt::saturateToInt32(int64_t(h) + dv);
    widenCache(h);
}

int32_t clsTerrain::GetPoint(int32_t x, int32_t y) const
{
    // Callers pass y within 16 bits; anything beyond saturates before the clamp.
    return clampedAt(x, rt::saturateToInt16(y));
}

int32_t clsTerrain::GetPointH(int32_t x, int32_t y) const
{
    return rt::saturateToInt32(int64_t(GetPoint(x, y)) + 32768);
}

int32_t clsTerrain::ScanMinMax(uint8_t mode)
{
    int32_t lo = 4000000;
    int32_t hi = -4000000;
    const int32_t nx = std::min<int32_t>(m_header.XPoints, m_side);
    const int32_t ny = std::min<int32_t>(m_header.YPoints, m_side);
    // Per-lane minima and maxima over blocks of fixed length: the compiler
    // vectorises a loop with a known trip count even at -O2.
    constexpr int32_t kBlock = 16;
    int32_t laneLo[kBlock], laneHi[kBlock];
    std::fill(laneLo, laneLo + kBlock, lo);
    std::fill(laneHi, laneHi + kBlock, hi);
    for (int32_t y = 0; y < ny; ++y) {
        const int32_t* r = row(y);
        int32_t x = 0;
        for (; x + kBlock <= nx; x += kBlock)
            for (int32_t i = 0; i < kBlock; ++i) {
                const int32_t v = r[x + i];
                laneLo[i] = v < laneLo[i] ? v : laneLo[i];
                laneHi[i] = v > laneHi[i] ? v : laneHi[i];
            }
        for (; x < nx; ++x) {
            laneLo[0] = std::min(laneLo[0], r[x]);
            laneHi[0] = std::max(laneHi[0], r[x]);
        }
    }
    lo = *std::min_element(laneLo, laneLo + kBlock);
    hi = *std::max_element(laneHi, laneHi + kBlock);
    m_min = lo;
    m_max = hi;
    return mode == 1 ? hi : lo;
}

// --- rectangle operations and pens -----------------------------------------------

void clsTerrain::GetReflectHor(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    // A rectangle that is not ordered or leaves the grid is refused whole:
    // mirroring only part of it would not be what the caller asked for.
    if (x1 > x2 || y1 > y2 || !inGrid(x1, y1) || !inGrid(x2, y2)) return;
    for (int32_t y = y1, yy = y2; y < yy; ++y, --yy) {
        int32_t* a = row(y) + x1;
        int32_t* b = row(yy) + x1;
        std::swap_ranges(a, a + (x2 - x1 + 1), b);
    }
}

void clsTerrain::GetReflectVer(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    if (x1 > x2 || y1 > y2 || !inGrid(x1, y1) || !inGrid(x2, y2)) return;
    for (int32_t y = y1; y <= y2; ++y) {
        int32_t* r = row(y);
        std::reverse(r + x1, r + x2 + 1);
    }
}

void clsTerrain::GetCircle(int32_t cx, int32_t cy, int32_t r, int32_t v)
{
    if (r < 0) return;
    const int64_t last = lastIndex();
    for (int64_t dx = 0; dx <= r; ++dx) {
        // Beyond this both columns cx - dx and cx + dx lie outside the grid.
        if (cx - dx < 0 && cx + dx > last) break;
        const int64_t h = rt::roundHalfEven(std::sqrt(double(r) * r - double(dx) * dx));
        for (int64_t dy = 0; dy <= h; ++dy) {
            if (cy - dy < 0 && cy + dy > last) break;
            for (const int64_t x : {cx + dx, cx - dx})
                for (const int64_t y : {cy + dy, cy - dy})
                    if (inGrid(x, y)) SetPoint(int32_t(x), int32_t(y), v);
        }
    }
}

void clsTerrain::GetSquare(int32_t cx, int32_t cy, int32_t r, int32_t v)
{
    if (r < 0) return;
    // Only the part of the square inside the grid can be written.
    const int64_t last = lastIndex();
    const int64_t x0 = std::max<int64_t>(int64_t(cx) - r, 0), x1 = std::min<int64_t>(int64_t(cx) + r, last);
    const int64_t y0 = std::max<int64_t>(int64_t(cy) - r, 0), y1 = std::min<int64_t>(int64_t(cy) + r, last);
    for (int64_t x = x0; x <= x1; ++x)
        for (int64_t y = y0; y <= y1; ++y) SetPoint(int32_t(x), int32_t(y), v);
}

void clsTerrain::GetNoise(int32_t cx, int32_t cy, int32_t r, int32_t v)
{
    for (int32_t i = 1; i <= r; ++i) {
        // Two draws per point, x first, so a seeded sequence repeats.
        const double x = double(rt::Rnd()) * r * 2 + cx - r;
        const double y = double(rt::Rnd()) * r * 2 + cy - r;
        const int64_t px = rt::roundHalfEven(x), py = rt::roundHalfEven(y);
        if (inGrid(px, py)) SetPoint(int32_t(px), int32_t(py), v);
    }
}

// --- whole-array transfer ------------------------------------------------------------

void clsTerrain::GetTerrain(HeightArray& a) const
{
    const int32_t size = std::max<int32_t>(m_header.Size, 0);
    a = HeightArray(size + 11, size + 11);
    const int32_t last = std::min<int32_t>(size, m_side - 1);
    for (int32_t y = 0; y <= last; ++y) {
        const int32_t* r = row(y);
        for (int32_t x = 0; x <= last; ++x) a(x, y) = r[x];
    }
}

void clsTerrain::SetTerrain(const HeightArray& a)
{
    const int32_t size = m_header.Size;
    for (int32_t x = 0; x <= size; ++x)
        for (int32_t y = 0; y <= size; ++y)
            if (a.contains(x, y)) SetPoint(x, y, a(x, y));
}

void clsTerrain::swap(clsTerrain& other) noexcept
{
    std::swap(pProgress, other.pProgress);
    std::swap(m_header, other.m_header);
    m_data.swap(other.m_data);
    std::swap(m_side, other.m_side);
    std::swap(m_max, other.m_max);
    std::swap(m_min, other.m_min);
    std::swap(m_cachedMinTU, other.m_cachedMinTU);
    std::swap(m_cachedMaxTU, other.m_cachedMaxTU);
    std::swap(m_fixHeight, other.m_fixHeight);
}
