#include "app/Pens.h"

#include "runtime/Numbers.h"
#include "runtime/Rnd.h"
#include "terrain/Palette.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/clsTerrain.h"

#include <algorithm>
#include <cmath>

namespace Pens {

namespace {
int32_t toPoint(double v)
{
    return rt::CLng(v);
}

// Cuts toward minus infinity at two decimals, as the height labels show metres.
double cutTo2(double v)
{
    return std::floor(v * 100.0) / 100.0;
}

QString plainNumber(double v)
{
    return QString::number(v, 'g', 15);
}
} // namespace

int32_t penValue(const PenSettings& s)
{
    return (s.height - 32768) + s.fineHeight;
}

QPointF snapPoint(QPointF p, int r)
{
    if (r <= 0) return p;
    const double cell = 2.0 * r;
    return {cell * std::floor(p.x() / cell) + r + 1, cell * std::floor(p.y() / cell) + r + 1};
}

QString penHeightText(const clsTerrain& ter, const PenSettings& s)
{
    return rt::Format(cutTo2(ter.rawToMetres(penValue(s))), QStringLiteral("####0.00"));
}

PickResult pick(const clsTerrain& ter, QPointF p, const PenSettings& s, int paletteRow)
{
    const int32_t x = toPoint(p.x());
    const int32_t y = toPoint(p.y());
    PickResult r;
    // Extreme heights give 0 or 65535, which the slider cannot hold.
    r.sliderValue = std::clamp<int64_t>(int64_t(ter.GetPointH(x, y)), 1, 65534);
    r.heightText = plainNumber(cutTo2(ter.GetPointMeters(std::clamp(x, 0, int32_t(ter.Size())),
                                                         std::clamp(y, 0, int32_t(ter.Size())))));
    const int64_t c = std::clamp<int64_t>((int64_t(ter.GetPoint(x, y)) + 32768) / PaletteCount, 0, 255);
    r.swatch = Palette[c][std::clamp(paletteRow, 0, 7)];
    PenSettings picked = s;
    picked.height = r.sliderValue;
    r.pickHeightText = penHeightText(ter, picked);
    return r;
}

ViewMark stamp(clsTerrain& ter, QPointF p, const PenSettings& s, bool press)
{
    const int r = s.radius;
    const int terrainR = press ? r + 1 : r;
    const int32_t v = penValue(s);
    // The square and round pens stamp around the point one up and left of the
    // mouse. That point is rounded, not the mouse position: at a half position
    // (every other one when zoomed in) the two round to different rows.
    const int32_t centreX = toPoint(p.x() - 1);
    const int32_t centreY = toPoint(p.y() - 1);
    ViewMark mark;
    mark.drawWidth = press ? rt::CLng(s.zoomFactor + 1) : rt::CLng(std::max(s.zoomFactor, 1.0) + 1.5);

    switch (s.shape) {
    case PenRound:
        ter.GetCircle(centreX, centreY, terrainR, v);
        mark.kind = ViewMark::Kind::Circle;
        mark.centre = p;
        mark.radius = r + 1;
        break;
    case PenNoise:
        ter.GetNoise(toPoint(p.x()), toPoint(p.y()), terrainR, v);
        mark.kind = ViewMark::Kind::Dots;
        mark.drawWidth = 1;
        // The dots on the view are drawn independently of the points changed.
        for (int i = 0; i < r; ++i) {
            const double u1 = rt::Rnd();
            const double u2 = rt::Rnd();
            mark.dots.emplace_back(p.x() - r + 2.0 * r * u1, p.y() - r + 2.0 * r * u2);
        }
        break;
    default:
        ter.GetSquare(centreX, centreY, terrainR, v);
        mark.kind = ViewMark::Kind::Box;
        mark.box = QRectF(QPointF(p.x() - r, p.y() - r), QPointF(p.x() + r, p.y() + r));
        break;
    }
    TerrainEmpty = false;
    TerrainSaved = false;
    return mark;
}

std::optional<std::array<QString, 5>> readout(const clsTerrain& ter, QPointF p)
{
    const double size = ter.Size();
    const double fx = std::min(p.x(), size);
    const double fy = std::min(p.y(), size);
    if (!(fx >= 0 && fy >= 0 && fx < size && fy < size)) return std::nullopt;
    const int32_t x = toPoint(fx);
    const int32_t y = toPoint(fy);
    return std::array<QString, 5>{
        rt::Format(ter.GetPointTU(x, y), QStringLiteral("#####.## TU")),
        rt::Format(ter.GetPoint(x, y), QStringLiteral("####### Pixel")),
        QStringLiteral("X=") + rt::Format(fx, QStringLiteral("####")),
        QStringLiteral("Y=") + rt::Format(size - fy, QStringLiteral("####")),
        rt::Format(ter.GetPointMeters(x, y), QStringLiteral("######.### m")),
    };
}

} // namespace Pens
