// A TER file drawn as a grey picture, so a terrain can be placed as an object.

#include "objects/mdlObjects.h"

#include "runtime/ByteIO.h"
#include "runtime/Numbers.h"
#include "runtime/Picture.h"
#include "runtime/Ui.h"

#include <algorithm>

namespace mdlObjects {

namespace {
const QString kTerTitle = QStringLiteral("Load Terrain");

int16_t readInt16(const QByteArray& data, qsizetype pos)
{
    const auto lo = uint8_t(data[pos]);
    const auto hi = uint8_t(data[pos + 1]);
    return int16_t(uint16_t(lo | (hi << 8)));
}

// Reading starts after the tag's four letters; -1 when the tag is missing.
qsizetype tagValueAt(const QByteArray& head, const char* tag)
{
    const qsizetype at = head.indexOf(tag);
    return at < 0 ? -1 : at + 4;
}
} // namespace

bool LoadTer2Picture(const QString& fileName, const QString& bitmapPath, QImage& pic)
{
    rt::DoEvents();
    rt::ui().setStatusText(QStringLiteral("load Terrain......."));
    rt::BusyGuard busy;

    // 1. The header: magic, then the tags within the first 100 bytes.
    QString error;
    const std::optional<QByteArray> file = rt::readWholeFile(fileName, &error);
    if (!file) {
        rt::MsgBox(QStringLiteral("The terrain cannot be read:\n%1").arg(error), rt::vbCritical, kTerTitle);
        return false;
    }
    const QByteArray& data = *file;
    const QByteArray head = data.left(100);
    if (!head.startsWith("TERRAGENTERRAIN ")) {
        rt::MsgBox(QStringLiteral("This isn't a Terragen-Terrain !!!!!"), rt::vbOKOnly, QString());
        return false;
    }
    const qsizetype sizeAt = tagValueAt(head, "SIZE");
    const qsizetype altwAt = head.indexOf("ALTW");
    if (sizeAt < 0 || altwAt < 0 || sizeAt + 2 > data.size()) {
        rt::MsgBox(QStringLiteral("The terrain has no SIZE or ALTW entry and cannot be loaded."), rt::vbCritical,
                   kTerTitle);
        return false;
    }
    // 2. Size and points; the heights follow the ALTW tag and its two values.
    const int size = readInt16(data, sizeAt);
    if (size >= 2050) {
        rt::MsgBox(QStringLiteral("Terrain to big"), rt::vbOKOnly, kTerTitle);
        return false;
    }
    const qsizetype xptsAt = tagValueAt(head, "XPTS");
    const int xPoints = (xptsAt >= 0 && xptsAt + 2 <= data.size()) ? readInt16(data, xptsAt) : size + 1;
    const qsizetype heightsAt = altwAt + 8;
    const qsizetype needed = heightsAt + qsizetype(xPoints) * xPoints * 2;
    // A square grid of Size + 1 points is all the picture can show.
    if (size < 1 || xPoints != size + 1 || needed > data.size()) {
        rt::MsgBox(QStringLiteral("The terrain is damaged or not square and cannot be loaded."), rt::vbCritical,
                   kTerTitle);
        return false;
    }
    // 3. The grey picture: the file's first row is the picture's bottom row.
    QImage out(xPoints, xPoints, QImage::Format_RGB32);
    for (int j = 0; j <= size; ++j) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(j));
        const qsizetype rowAt = heightsAt + qsizetype(size - j) * xPoints * 2;
        for (int i = 0; i <= size; ++i) {
            const int h = readInt16(data, rowAt + qsizetype(i) * 2);
            const int g = std::min<int>(255, rt::CLng((h + 32768) / 256.0));
            line[i] = qRgb(g, g, g);
        }
    }
    // 4. The bitmap for the loader; a failed write keeps any old file.
    if (!rt::SavePicture(out, bitmapPath, &error)) {
        rt::MsgBox(QStringLiteral("The picture cannot be written:\n%1").arg(error), rt::vbCritical, kTerTitle);
        return false;
    }
    pic = std::move(out);
    return true;
}

} // namespace mdlObjects
