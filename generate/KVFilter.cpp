#include "generate/KVFilter.h"

#include "runtime/Numbers.h"
#include "runtime/Rnd.h"
#include "runtime/Ui.h"
#include "terrain/TerrainPicture.h"
#include "terrain/clsTerrain.h"

#include <QDateTime>
#include <QFileInfo>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <memory>

namespace KVFilter {

QString ErosionPatternFile;

namespace {

std::vector<float> g_table;
int32_t g_bound = -1;

// Progress through a window: scale at its far end. Counted from the window's
// start, so a window of no width, or one beginning off the grid, cannot
// divide by zero or leave 0..scale.
int32_t windowProgress(int64_t doneColumns, int32_t extent, int32_t scale)
{
    if (extent <= 0) return scale;
    return int32_t(std::clamp<int64_t>(scale * doneColumns / extent, 0, scale));
}

double axisBell(double offset, double w)
{
    if (w == 0) return offset == 0 ? 1.0 : 0.0;
    const double t = (offset - w / 2) / (w / 8);
    return std::exp(-t * t / 2);
}

// The erosion pattern as RGB32, read again only when the file changes: a
// stroke stamps it once per marked point.
const QImage* erosionPattern(const QString& path, QString* error)
{
    static QString cachedPath;
    static QDateTime cachedTime;
    static qint64 cachedSize = -1;
    static QImage cached;
    const QFileInfo info(findPathNoCase(path));
    if (!cached.isNull() && path == cachedPath && info.exists() && info.lastModified() == cachedTime &&
        info.size() == cachedSize)
        return &cached;
    QString why;
    QImage img = LoadPicture(path, &why);
    if (img.isNull() || img.width() < 1 || img.height() < 1) {
        cached = QImage();
        if (error) *error = why.isEmpty() ? QStringLiteral("Erosion pattern not readable: ") + path : why;
        return nullptr;
    }
    cached = img.convertToFormat(QImage::Format_RGB32);
    cachedPath = path;
    cachedTime = info.lastModified();
    cachedSize = info.size();
    return &cached;
}

// Pixel of a pattern n pixels long at point p of a picture stretched over
// `span` points; -1 outside the picture.
int32_t patternPixel(int64_t p, int32_t n, double span)
{
    if (p < 0) return -1;
    const double pixel = std::floor(double(p) * n / span);
    return pixel < n ? int32_t(pixel) : -1;
}

// sum / 5 to the nearest integer. A fifth is never a half, so halves-to-even
// never decides and the remainder alone rounds.
inline int32_t meanOfFive(int64_t sum)
{
    const int64_t q = sum / 5;
    const int64_t r = sum % 5;
    return int32_t(q + (r >= 3) - (r <= -3));
}

// The smoothing's window with one point round it (inside the grid), held
// column by column: the sweeps run down the columns, which in the terrain lie
// a whole row apart. Only the terrain proper (0..Size) is smoothed and read:
// the spare rows beyond it hold no heights (0 after a load) and would pull the
// right and bottom edges down.
class SmoothBlock {
public:
    SmoothBlock(clsTerrain& ter, int32_t extent, int32_t x0, int32_t y0)
        : m_win(clipWindow(ter, extent, x0, y0)), m_extent(extent), m_x0(x0),
          m_last(std::min<int32_t>(ter.Size(), lastPoint(ter)))
    {
        m_win.xLast = std::min(m_win.xLast, m_last);
        m_win.yLast = std::min(m_win.yLast, m_last);
        if (m_win.empty()) return;
        m_xFirst = std::max(m_win.xFirst - 1, 0);
        m_yFirst = std::max(m_win.yFirst - 1, 0);
        m_columns = std::min(m_win.xLast + 1, m_last) - m_xFirst + 1;
        m_rows = std::min(m_win.yLast + 1, m_last) - m_yFirst + 1;
        m_cells = takeCells(size_t(m_columns) * size_t(m_rows));
    }
    ~SmoothBlock()
    {
        if (m_usesKept) s_keptInUse = false;
    }
    SmoothBlock(const SmoothBlock&) = delete;
    SmoothBlock& operator=(const SmoothBlock&) = delete;

    // Copies the window in; separate from the constructor so a caller can
    // let the pump run between the buffer's first touch and the copy.
    void load(clsTerrain& ter)
    {
        if (!m_win.empty()) transfer(ter, true);
    }

    // One pass in place: forward runs x and y upwards, backward downwards.
    void sweep(clsTerrain& ter, int32_t zMin, int32_t zMax, bool forward)
    {
        if (m_win.empty()) return;
        const int32_t columns = m_win.xLast - m_win.xFirst + 1;
        const int32_t rows = m_win.yLast - m_win.yFirst + 1;
        for (int32_t k = 0; k < columns; ++k) {
            const int32_t x = forward ? m_win.xFirst + k : m_win.xLast - k;
            int32_t* line = column(x);
            const int32_t* before = column(std::max(x - 1, 0));
            const int32_t* after = column(std::min(x + 1, m_last));
            // Neighbours off the terrain read its edge.
            auto smoothPoint = [&](int32_t y) {
                int32_t& h = line[y - m_yFirst];
                if (!(zMin < h && h < zMax)) return;
                const int32_t up = std::max(y - 1, 0) - m_yFirst;
                const int32_t down = std::min(y + 1, m_last) - m_yFirst;
                // Five heights may leave 32 bits; the mean cannot.
                h = meanOfFive(int64_t(h) + before[up] + before[down] + after[up] + after[down]);
            };
            if (before == line || after == line) {
                // A column at the grid's edge reads itself: keep the sweep's order.
                for (int32_t m = 0; m < rows; ++m) smoothPoint(forward ? m_win.yFirst + m : m_win.yLast - m);
            } else {
                // Otherwise a column reads only its neighbours and its order does
                // not matter; rows at the grid's edge read clamped neighbours.
                const int32_t innerFirst = std::max(m_win.yFirst, 1);
                const int32_t innerLast = std::min(m_win.yLast, m_last - 1);
                for (int32_t y = m_win.yFirst; y < innerFirst && y <= m_win.yLast; ++y) smoothPoint(y);
                if (innerFirst <= innerLast)
                    smoothInner(line, before, after, innerFirst - m_yFirst, innerLast - innerFirst + 1, zMin, zMax);
                for (int32_t y = std::max(innerLast + 1, m_win.yFirst); y <= m_win.yLast; ++y) smoothPoint(y);
            }
            reportColumn(ter, x, forward);
        }
    }

    void store(clsTerrain& ter)
    {
        if (!m_win.empty()) transfer(ter, false);
    }

private:
    static void smoothInner(int32_t* __restrict line, const int32_t* __restrict before,
                            const int32_t* __restrict after, int32_t first, int32_t count, int32_t zMin, int32_t zMax)
    {
        for (int32_t r = first; r < first + count; ++r) {
            const int32_t h = line[r];
            const int32_t v = meanOfFive(int64_t(h) + before[r - 1] + before[r + 1] + after[r - 1] + after[r + 1]);
            line[r] = (zMin < h && h < zMax) ? v : h;
        }
    }

    void reportColumn(clsTerrain& ter, int32_t x, bool forward)
    {
        ter.pProgress = forward ? windowProgress(int64_t(x) - m_x0, m_extent, 50)
                                : 50 + windowProgress(int64_t(m_x0) + m_extent - x, m_extent, 50);
        rt::DoEvents();
    }

    int32_t* column(int32_t x) { return m_cells + size_t(x - m_xFirst) * size_t(m_rows); }

    // One buffer kept for every smoothing: a fresh one of 16 MB (2049
    // points) costs as much in first touches as the copy into it. A larger
    // one is cleared when made, so those touches happen here, not in the
    // copy. A smoothing started while another runs gets a buffer of its own.
    int32_t* takeCells(size_t n)
    {
        static std::unique_ptr<int32_t[]> kept;
        static size_t capacity = 0;
        if (s_keptInUse) {
            m_own.reset(new int32_t[n]());
            return m_own.get();
        }
        if (n > capacity) {
            kept.reset();
            kept.reset(new int32_t[n]());
            capacity = n;
        }
        s_keptInUse = m_usesKept = true;
        return kept.get();
    }

    // Copies between the terrain and the columns in tiles, so both sides are
    // read and written a cache line at a time.
    void transfer(clsTerrain& ter, bool load)
    {
        constexpr int32_t kTile = 64;
        for (int32_t ty = 0; ty < m_rows; ty += kTile)
            for (int32_t tx = 0; tx < m_columns; tx += kTile) {
                const int32_t yEnd = std::min(ty + kTile, m_rows);
                const int32_t xEnd = std::min(tx + kTile, m_columns);
                for (int32_t r = ty; r < yEnd; ++r) {
                    int32_t* src = ter.row(m_yFirst + r) + m_xFirst;
                    for (int32_t c = tx; c < xEnd; ++c) {
                        int32_t& cell = m_cells[size_t(c) * size_t(m_rows) + size_t(r)];
                        if (load) cell = src[c];
                        else src[c] = cell;
                    }
                }
            }
    }

    GridWindow m_win;
    int32_t m_extent;
    int32_t m_x0;
    int32_t m_last;
    int32_t m_xFirst = 0, m_yFirst = 0, m_columns = 0, m_rows = 0;
    int32_t* m_cells = nullptr;
    std::unique_ptr<int32_t[]> m_own;
    bool m_usesKept = false;
    static inline bool s_keptInUse = false;
};

} // namespace

int32_t lastPoint(const clsTerrain& ter)
{
    return std::min<int32_t>(int32_t(ter.Size()) + 2, ter.allocatedSide() - 1);
}

GridWindow clipWindow(const clsTerrain& ter, int64_t extent, int32_t x0, int32_t y0)
{
    GridWindow w;
    const int64_t last = lastPoint(ter);
    if (last < 0 || extent < 0) return w;
    // Wide sums: a window may be given far off the grid.
    w.xFirst = int32_t(std::max<int64_t>(x0, 0));
    w.xLast = int32_t(std::min<int64_t>(int64_t(x0) + extent, last));
    w.yFirst = int32_t(std::max<int64_t>(y0, 0));
    w.yLast = int32_t(std::min<int64_t>(int64_t(y0) + extent, last));
    return w;
}

float Gauss2D(double x, double y, double cx, double cy, double w, double hgt)
{
    const double gx = axisBell(x - cx, w);
    const double gy = axisBell(y - cy, hgt);
    return float(gx * 0.3 * 0.3 * gy * 4.0);
}

void InitBrushTable(int16_t n)
{
    const int32_t bound = std::max<int32_t>(n, 0);
    const size_t cells = size_t(bound) + 1;
    g_table.assign(cells * cells, 0.0f);
    for (int32_t i = 0; i <= bound; ++i)
        for (int32_t j = 0; j <= bound; ++j) g_table[size_t(i) * cells + size_t(j)] = Gauss2D(i, j, 0, 0, bound, bound);
    g_bound = bound;
}

int32_t brushTableBound()
{
    return g_bound;
}

const std::vector<float>& brushTable()
{
    return g_table;
}

int32_t brushTableIndex(double offset, double length)
{
    if (g_bound < 0 || length == 0) return 0;
    const float scale = float(double(g_bound) / length);
    const int64_t i = rt::roundHalfEven(offset * double(scale));
    // Points beyond the window read its edge instead of memory past the table.
    return int32_t(std::clamp<int64_t>(i, 0, g_bound));
}

float GetBrushWeight(double x, double y, double cx, double cy, double w, double hgt, double factor)
{
    if (g_bound < 0 || w == 0 || hgt == 0) return 0.0f;
    const int32_t i = brushTableIndex(x - cx, w);
    const int32_t j = brushTableIndex(y - cy, hgt);
    return float(factor * double(g_table[size_t(i) * size_t(g_bound + 1) + size_t(j)]));
}

void AddNoise(clsTerrain& ter, float& strength, Extent extent, int32_t x0, int32_t y0, int32_t zMin, int32_t zMax)
{
    const int32_t ext = extent.value_or(ter.XPoints());
    ter.pProgress = 0;
    rt::ui().setStatusText(QStringLiteral("Noise..."));
    rt::BusyGuard busy;
    // Every call raises the caller's strength by one; below 1 (or NaN) nothing happens.
    strength += 1.0f;
    if (!(strength >= 1.0f)) return;
    const double k = double(strength) / 20.0;
    // Each column gets a fresh seed.
    const GridWindow win = clipWindow(ter, ext, x0, y0);
    const int64_t side = ter.allocatedSide();
    for (int32_t x = win.xFirst; x <= win.xLast; ++x) {
        ter.pProgress = windowProgress(int64_t(x) - x0, ext, 100);
        rt::DoEvents();
        rt::Randomize();
        int32_t* column = ter.row(0) + x;
        for (int32_t y = win.yFirst; y <= win.yLast; ++y) {
            int32_t& h = column[y * side];
            if (zMin < h && h < zMax) {
                const double t = k * (double(rt::Rnd()) - 0.5);
                h = rt::CLng(double(h) + double(h) * t);
            }
        }
    }
    ter.pProgress = 100;
    rt::DoEvents();
}

void SmoothTerrain(clsTerrain& ter, float& strength, Extent extent, int32_t x0, int32_t y0, int32_t zMin,
                   int32_t zMax)
{
    // A strength below 3 (or NaN) leaves the terrain as it is.
    if (!(strength >= 3.0f)) return;
    const int32_t ext = extent.value_or(ter.XPoints());
    rt::ui().setStatusText(QStringLiteral("smoothes...."));
    rt::BusyGuard busy;
    ter.pProgress = 0;
    SmoothBlock block(ter, ext, x0, y0);
    rt::DoEvents();
    // Only the caller sees the limited size; the pass is always the same.
    double d = strength;
    if (d / 2.0 == double(rt::IDiv(rt::CInt(d), 2))) d += 1.0;
    strength = float(std::clamp(d, 1.0, 10.0));
    // A sweep forward, then back over its result; the terrain takes the end result.
    block.load(ter);
    block.sweep(ter, zMin, zMax, true);
    block.sweep(ter, zMin, zMax, false);
    block.store(ter);
    ter.pProgress = 100;
    rt::DoEvents();
}

bool ErodeWithBitmap(clsTerrain& ter, float& strength, Extent extent, int32_t x0, int32_t y0, int32_t, int32_t,
                     QString* error, const QString& seedText)
{
    const int32_t ext = extent.value_or(ter.XPoints());
    rt::ui().setStatusText(QStringLiteral("erode..."));
    rt::BusyGuard busy;
    ter.pProgress = 0;
    const int32_t size = ter.Size();
    // The seed's first three digits decide where the terrain lies on the pattern.
    const int32_t offset =
        std::max<int32_t>(0, rt::CInt(double(1025 - size) * (rt::Val(seedText.left(3)) / 1000.0)));
    rt::DoEvents();
    // The pattern picture: erode0.flt unless another was chosen.
    if (ErosionPatternFile.isEmpty()) ErosionPatternFile = QStringLiteral("erode0.flt");
    const QImage* pattern = erosionPattern(rt::AppPath() + QLatin1Char('/') + ErosionPatternFile, error);
    if (!pattern) return false;
    const double span = size > 1025 ? size : 1025;
    // A divisor below 1 (strength 10.5 and more) would divide by zero or
    // turn the raise into a cut; the strongest pattern is divisor 1.
    const int64_t divisor = std::max<int64_t>(1, rt::CLng(11.0 - double(strength)));
    const GridWindow win = clipWindow(ter, ext, x0, y0);
    if (win.empty()) {
        ter.pProgress = 100;
        return true;
    }
    std::vector<const QRgb*> patternRows(size_t(win.yLast - win.yFirst + 1), nullptr);
    for (int32_t y = win.yFirst; y <= win.yLast; ++y) {
        const int32_t py = patternPixel(int64_t(y) + offset, pattern->height(), span);
        if (py >= 0) patternRows[size_t(y - win.yFirst)] = reinterpret_cast<const QRgb*>(pattern->constScanLine(py));
    }
    const int64_t side = ter.allocatedSide();
    for (int32_t x = win.xFirst; x <= win.xLast; ++x) {
        const int32_t px = patternPixel(int64_t(x) + offset, pattern->width(), span);
        int32_t* column = ter.row(0) + x;
        for (int32_t y = win.yFirst; y <= win.yLast; ++y) {
            const QRgb* line = patternRows[size_t(y - win.yFirst)];
            // Outside the picture the colour is -1, which adds nothing.
            int64_t v = 0;
            if (px >= 0 && line) {
                const QRgb c = line[px];
                v = (int64_t(qGreen(c)) + 256 * int64_t(qBlue(c))) / divisor;
            }
            int32_t& h = column[y * side];
            h = rt::saturateToInt32(int64_t(h) + 3 + v);
        }
        ter.pProgress = windowProgress(int64_t(x) - x0, ext, 100);
        rt::DoEvents();
    }
    ter.pProgress = 100;
    rt::DoEvents();
    return true;
}

void ProgressDone(clsTerrain& ter, float&, Extent, int32_t, int32_t, int32_t, int32_t)
{
    ter.pProgress = 100;
    rt::DoEvents();
}

} // namespace KVFilter
