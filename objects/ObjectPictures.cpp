// Orientation, filters and saving of an object's picture.

#include "objects/mdlObjects.h"

#include "picfilter/mFilterG.h"
#include "runtime/Numbers.h"
#include "runtime/Picture.h"

namespace mdlObjects {

QImage transformObject(const QImage& picture, ObjectTransform transform)
{
    const QImage old = picture.convertToFormat(QImage::Format_RGB32);
    const int w = old.width() - 1;
    const int h = old.height() - 1;
    QImage out(old.size(), QImage::Format_RGB32);
    out.fill(Qt::black);
    for (int y = 0; y <= h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x <= w; ++x) {
            int sx = x;
            int sy = y;
            switch (transform) {
            case ObjectTransform::RotateLeft: sx = h - y; sy = x; break;
            case ObjectTransform::RotateRight: sx = y; sy = w - x; break;
            case ObjectTransform::ReflectVertical: sx = w - x; break;
            case ObjectTransform::ReflectHorizontal: sy = h - y; break;
            case ObjectTransform::ReflectDiagonal: sx = y; sy = x; break;
            }
            // Only a picture that is not square maps outside itself: black there.
            if (sx < 0 || sy < 0 || sx > w || sy > h) continue;
            line[x] = reinterpret_cast<const QRgb*>(old.constScanLine(sy))[sx];
        }
    }
    return out;
}

QString maskCoordinateText(const ObjectRecord& r)
{
    const double x1 = rt::Int(r.X);
    const double y1 = rt::Int(r.Y);
    const double x2 = rt::Int(r.X + r.XSpread);
    const int32_t y2 = rt::CLng(r.Y + r.YSpread);
    return QStringLiteral("(x=") + rt::Str(x1) + QStringLiteral(" y=") + rt::Str(y1) + QStringLiteral(" to - x=") +
           rt::Str(x2) + QStringLiteral(" y=") + rt::Str(y2) + QStringLiteral(")");
}

std::optional<QString> objectBitmapName(const QString& chosen, const QString& suffix)
{
    // Only the file name's own ending: a ".bmp" inside a folder name is no ending.
    const QLatin1StringView ending(".bmp");
    if (!chosen.endsWith(ending, Qt::CaseInsensitive)) return std::nullopt;
    return chosen.left(chosen.size() - ending.size()) + suffix + chosen.right(ending.size());
}

bool filterObject(QImage& picture, ObjectFilter filter)
{
    int32_t progress = 0;
    return mFilterG::ApplyPictureFilter(filter.number, picture, filter.parameter, progress);
}

bool saveObjectBitmap(const QImage& picture, const QString& path, QString* error)
{
    return rt::SavePicture(picture, path, error);
}

bool saveObjectMask(const QImage& picture, const QString& path, QString* error)
{
    // White where all three channels exceed 5; the object keeps its picture.
    QImage mask = picture.convertToFormat(QImage::Format_RGB32);
    if (!filterObject(mask, {32, 5})) {
        if (error) *error = QStringLiteral("The mask could not be made.");
        return false;
    }
    return rt::SavePicture(mask, path, error);
}

} // namespace mdlObjects
