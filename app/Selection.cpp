#include "app/Selection.h"

#include "generate/KVFilter.h"
#include "runtime/Numbers.h"
#include "terrain/clsTerrain.h"


#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace Selection {

namespace {

// Progress of column x within the frame, 0..100 whatever column the frame starts at.
int32_t columnProgress(int32_t x, const Rect& r)
{
    const int64_t span = int64_t(r.x2) - r.x1;
    if (span <= 0) return 100;
    return int32_t((int64_t(x) - r.x1) * 100 / span);
}

bool wanted(const std::optional<Disc>& disc, int32_t x, int32_t y)
{
    return !disc || inDisc(*disc, x, y);
}

} // namespace

int32_t cornerFromMouse(double v)
{
    return rt::CLng(v);
}

int32_t evenCorner(int32_t v)
{
    // Saturating so a corner at the top of the range stays a valid number.
    return (v % 2 != 0 && v < INT32_MAX) ? v + 1 : v;
}

void convertFrameData(int32_t& x1, int32_t& y1, int32_t& x2, int32_t& y2)
{
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    if (x1 == x2 && x2 < INT32_MAX) x2 = x1 + 1;
    if (y1 == y2 && y2 < INT32_MAX) y2 = y1 + 1;
}

Rect normalised(Rect r)
{
    convertFrameData(r.x1, r.y1, r.x2, r.y2);
    return r;
}

std::optional<Rect> clipToGrid(Rect r, int32_t size)
{
    r = normalised(r);
    if (size < 0 || r.x2 < 0 || r.y2 < 0 || r.x1 > size || r.y1 > size) return std::nullopt;
    r.x1 = std::max(r.x1, 0);
    r.y1 = std::max(r.y1, 0);
    r.x2 = std::min(r.x2, size);
    r.y2 = std::min(r.y2, size);
    return r;
}

double discRadius(QPointF centre, QPointF mouse)
{
    const QPointF d = mouse - centre;
    return std::sqrt(d.x() * d.x() + d.y() * d.y());
}

bool inDisc(const Disc& d, int32_t x, int32_t y)
{
    const double dx = x - d.cx;
    const double dy = y - d.cy;
    return dx * dx + dy * dy <= d.radius * d.radius;
}

Rect discBounds(const Disc& d)
{
    return {rt::CLng(std::floor(d.cx - d.radius)), rt::CLng(std::floor(d.cy - d.radius)),
            rt::CLng(std::ceil(d.cx + d.radius)), rt::CLng(std::ceil(d.cy + d.radius))};
}

bool fill(clsTerrain& t, Rect frame, int32_t v, const std::optional<Disc>& disc, const Progress& progress)
{
    const auto r = clipToGrid(frame, t.Size());
    if (!r) return false;
    for (int32_t x = r->x1; x <= r->x2; ++x) {
        if (progress) progress(columnProgress(x, *r));
        for (int32_t y = r->y1; y <= r->y2; ++y)
            if (wanted(disc, x, y)) t.SetPoint(x, y, v);
    }
    return true;
}

bool lift(clsTerrain& t, Rect frame, int32_t amount, const std::optional<Disc>& disc, const Progress& progress)
{
    // The bell spans the frame as drawn; cutting it to the grid keeps its
    // centre where the user put it.
    const Rect whole = normalised(frame);
    const auto r = clipToGrid(frame, t.Size());
    if (!r) return false;
    const double w = double(whole.x2) - whole.x1;
    const double h = double(whole.y2) - whole.y1;
    for (int32_t x = r->x1; x <= r->x2; ++x) {
        if (progress) progress(columnProgress(x, *r));
        for (int32_t y = r->y1; y <= r->y2; ++y) {
            if (!wanted(disc, x, y)) continue;
            const double g = KVFilter::Gauss2D(x, y, whole.x1, whole.y1, w, h);
            t.IncrPoint(x, y, rt::CLng(double(float(g)) * amount));
        }
    }
    return true;
}

bool reflectVertically(clsTerrain& t, Rect frame)
{
    const auto r = clipToGrid(frame, t.Size());
    if (!r) return false;
    t.GetReflectVer(r->x1, r->y1, r->x2, r->y2);
    return true;
}

bool reflectHorizontally(clsTerrain& t, Rect frame)
{
    const auto r = clipToGrid(frame, t.Size());
    if (!r) return false;
    t.GetReflectHor(r->x1, r->y1, r->x2, r->y2);
    return true;
}

bool trim(clsTerrain& t, Rect frame)
{
    const auto r = clipToGrid(frame, t.Size());
    if (!r) return false;
    // Copy the framed heights before the grid is cleared.
    const int32_t w = r->x2 - r->x1 + 1;
    const int32_t h = r->y2 - r->y1 + 1;
    std::vector<int32_t> copy(size_t(w) * size_t(h));
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) copy[size_t(y) * size_t(w) + size_t(x)] = t.GetPoint(r->x1 + x, r->y1 + y);
    // The rest of the grid at the lowest height, the copy at the origin.
    t.Fill(-32768);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) t.SetPoint(x, y, copy[size_t(y) * size_t(w) + size_t(x)]);
    return true;
}

QImage objectPicture(const clsTerrain& t, Rect frame, const Progress& progress)
{
    const auto r = clipToGrid(frame, t.Size());
    if (!r) return {};
    // A square of the larger side, the framed area centred in it.
    const int32_t w = r->x2 - r->x1;
    const int32_t h = r->y2 - r->y1;
    const int32_t side = std::max(w, h);
    const int32_t colOffset = rt::CLng(side / 2.0) - rt::CLng(w / 2.0);
    const int32_t rowOffset = rt::CLng(side / 2.0) - rt::CLng(h / 2.0);
    QImage img(side, side, QImage::Format_RGB32);
    img.fill(Qt::black);
    // Heights lifted to 0..65535 and their extremes.
    int64_t lo = INT64_MAX;
    int64_t hi = INT64_MIN;
    for (int32_t x = r->x1; x <= r->x2; ++x) {
        if (progress) progress(columnProgress(x, *r) / 2);
        for (int32_t y = r->y1; y <= r->y2; ++y) {
            const int64_t a = int64_t(t.GetPoint(x, y)) + 32768;
            lo = std::min(lo, a);
            hi = std::max(hi, a);
        }
    }
    // Steps per grey level.
    const double f = std::clamp(double(hi - lo) / 256.0, 1.0, 255.0);
    // Grey per point; points beyond the square (the frame's last row or column) fall away.
    for (int32_t y = r->y1; y <= r->y2; ++y) {
        const int32_t py = y - r->y1 + rowOffset;
        if (py < 0 || py >= side) continue;
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(py));
        for (int32_t x = r->x1; x <= r->x2; ++x) {
            const int32_t px = x - r->x1 + colOffset;
            if (px < 0 || px >= side) continue;
            const int64_t a = int64_t(t.GetPoint(x, y)) + 32768;
            const int g = int(std::clamp<int64_t>(rt::roundHalfEven(double(a - lo) / f), 0, 255));
            line[px] = qRgb(g, g, g);
        }
    }
    if (progress) progress(100);
    return img;
}

int32_t liftAmount(int32_t depthSlider)
{
    return int32_t(std::clamp<int64_t>(int64_t(depthSlider) * 2500, INT32_MIN, INT32_MAX));
}

} // namespace Selection
