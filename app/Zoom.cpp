#include "app/Zoom.h"

#include "runtime/Numbers.h"

#include <algorithm>
#include <cmath>

namespace Zoom {

double applyFactor(double zoom, std::optional<double> factor)
{
    const double f = factor.value_or(1.0);
    double z = (f == 0.0) ? 1.0 : zoom * f;
    if (!std::isfinite(z)) z = 1.0;
    return std::clamp(z, MinZoom, MaxZoom);
}

double fitToView(double zoom, int size, double maxViewSize)
{
    if (size <= 0) return zoom;
    // A minimized window reports no height; keep a small positive limit.
    const double limit = std::isfinite(maxViewSize) ? std::max(maxViewSize, MinViewLimit) : MinViewLimit;
    if (double(size) * zoom > limit) return limit / double(size);
    return zoom;
}

int viewSide(double zoom, int size)
{
    const double side = zoom * double(size + 3);
    return std::max(1, int(std::lround(side)));
}

double maxViewSizeForHeight(double innerHeight, double margin)
{
    return std::max(innerHeight - margin, MinViewLimit);
}

QString statusText(int size, double zoom)
{
    const QString s = QString::number(size);
    return s + QStringLiteral(" x ") + s + QStringLiteral("   Zoom =") + rt::Format(zoom, QStringLiteral("###.##%"));
}

QPointF viewToTerrain(QPointF pixel, int size, int viewSidePixels)
{
    if (viewSidePixels <= 0) return {};
    const double k = double(size) / double(viewSidePixels);
    return {pixel.x() * k, pixel.y() * k};
}

QPointF terrainToView(QPointF point, int size, int viewSidePixels)
{
    if (size <= 0) return {};
    const double k = double(viewSidePixels) / double(size);
    return {point.x() * k, point.y() * k};
}

} // namespace Zoom
