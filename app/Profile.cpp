#include "app/Profile.h"

#include "runtime/Numbers.h"
#include "terrain/Palette.h"
#include "terrain/clsTerrain.h"

#include <QColor>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace Profile {

int32_t clampLine(int32_t position, int32_t size)
{
    return std::clamp<int32_t>(position, 0, std::max<int32_t>(size, 0));
}

float pointTU(const clsTerrain& t, int32_t i, int32_t position, int axis)
{
    return axis == AlongRow ? t.GetPointTU(i, position) : t.GetPointTU(position, i);
}

Bars metresProfile(clsTerrain& t, int32_t position, int axis, QSize picture)
{
    const int32_t size = t.Size();
    const int32_t line = clampLine(position, size);
    Bars b;
    const double scale = t.ScaleT();
    if (picture.width() > 0) b.scaleHeight = double(size) * scale * picture.height() / picture.width();
    const double lowest = t.MinTU();
    b.heights.reserve(size_t(std::max(size, 0)) + 1);
    for (int32_t i = 0; i <= size; ++i) b.heights.push_back((double(pointTU(t, i, line, axis)) - lowest) * scale);
    return b;
}

std::optional<Bars> rawProfile(clsTerrain& t, int32_t position, int axis)
{
    const int32_t size = t.Size();
    const int32_t line = clampLine(position, size);
    const int32_t range = t.Range();
    if (range <= 0) return std::nullopt;
    Bars b;
    b.scaleHeight = range;
    b.heights.reserve(size_t(std::max(size, 0)) + 1);
    for (int32_t i = 0; i <= size; ++i)
        b.heights.push_back(axis == AlongRow ? t.GetPointH(i, line) : t.GetPointH(line, i));
    return b;
}

QImage drawBars(const Bars& bars, QSize picture, QRgb colour)
{
    QImage img(picture.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    img.fill(Qt::white);
    const auto n = int64_t(bars.heights.size());
    if (n < 2 || bars.scaleHeight <= 0) return img;
    // The scale is Size wide: bar i stands at i, as wide as one step plus a pixel.
    const double stepX = double(img.width()) / double(n - 1);
    const int barWidth = int(rt::roundHalfEven(stepX)) + 1;
    const double pixelsPerUnit = img.height() / bars.scaleHeight;
    QPainter p(&img);
    for (int64_t i = 0; i < n; ++i) {
        const double up = std::clamp(bars.heights[size_t(i)], 0.0, bars.scaleHeight) * pixelsPerUnit;
        const int top = img.height() - int(std::lround(up));
        if (top >= img.height()) continue;
        const int left = int(std::floor(double(i) * stepX - barWidth / 2.0));
        p.fillRect(left, top, barWidth, img.height() - top, QColor::fromRgb(colour));
    }
    return img;
}

QImage colourBar(QSize picture, int paletteRow)
{
    QImage img(picture.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    const int row = std::clamp(paletteRow, 0, PaletteSchemes - 1);
    for (int y = 0; y < img.height(); ++y) {
        // 256 lines over the picture's height, the highest colour at the top.
        const int i = std::clamp(int(int64_t(y) * 256 / img.height()), 0, 255);
        const QRgb c = Palette[255 - i][row];
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        std::fill(line, line + img.width(), c);
    }
    return img;
}

ZRange afterMinChange(ZRange r, int32_t top)
{
    r.min = std::clamp(r.min, 0, top);
    if (r.min > r.max) {
        r.max = r.min + 1;
        // No room above the top: the minimum steps down instead.
        if (r.max > top) {
            r.max = top;
            r.min = top - 1;
        }
    }
    return r;
}

ZRange afterMaxChange(ZRange r, int32_t top)
{
    r.max = std::clamp(r.max, 0, top);
    if (r.max < r.min) {
        r.min = r.max - 1;
        if (r.min < 0) {
            r.min = 0;
            r.max = 1;
        }
    }
    return r;
}

QString metresText(const clsTerrain& t, int32_t sliderValue)
{
    return rt::Str(t.GetV2Meter(float(sliderValue - 32768))).trimmed();
}

std::optional<int32_t> sliderFromMetres(const clsTerrain& t, const QString& text, int32_t top)
{
    QString s = text.trimmed();
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double metres = s.toDouble(&ok);
    if (!ok || !std::isfinite(metres)) return std::nullopt;
    // Far beyond the range only pins the slider to its end.
    const double clamped = std::clamp(metres, -1.0e30, 1.0e30);
    const int64_t raw = t.GetMeter2Int(float(clamped));
    return int32_t(std::clamp<int64_t>(raw + 32768, 0, top));
}

} // namespace Profile
