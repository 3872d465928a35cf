// A TER file drawn as a grey picture, so a terrain can be placed as an object.

#include "objects/mdlObjects.h"

#include "runtime/Numbers.h"
#include "runtime/Picture.h"
#include "runtime/Ui.h"
#include "terrain/TerFile.h"
#include "terrain/clsTerrain.h"

#include <algorithm>

namespace mdlObjects {

namespace {
const QString kTerTitle = QStringLiteral("Load Terrain");

// Tells the user why the terrain cannot become an object.
void reportRefusal(const TerFile::Result& r)
{
    using TerFile::Refusal;
    if (r.refusal == Refusal::Unreadable)
        rt::MsgBox(QStringLiteral("The terrain cannot be read:\n%1").arg(r.detail), rt::vbCritical, kTerTitle);
    else if (r.refusal == Refusal::NotTerrain)
        rt::MsgBox(QStringLiteral("This isn't a Terragen-Terrain !!!!!"), rt::vbOKOnly, QString());
    else if (!r.hasSize || !r.hasAltw)
        rt::MsgBox(QStringLiteral("The terrain has no SIZE or ALTW entry and cannot be loaded."), rt::vbCritical,
                   kTerTitle);
    else if (r.refusal == Refusal::TooBig)
        rt::MsgBox(QStringLiteral("Terrain to big"), rt::vbOKOnly, kTerTitle);
    else
        rt::MsgBox(QStringLiteral("The terrain is damaged or not square and cannot be loaded."), rt::vbCritical,
                   kTerTitle);
}
} // namespace

bool LoadTer2Picture(const QString& fileName, const QString& bitmapPath, QImage& pic, const clsTerrain& progressOn)
{
    rt::DoEvents();
    rt::ui().setStatusText(QStringLiteral("load Terrain......."));
    rt::BusyGuard busy;

    // The object loader needs the heights only, and the "ALTW" marker they follow.
    clsTerrain ter;
    const TerFile::Result read = TerFile::read(fileName, ter);
    if (!read.ok() || !read.hasAltw) {
        reportRefusal(read);
        return false;
    }
    // The grey picture: the file's first row (the terrain's row Size) is the
    // picture's bottom row, so picture row j is the terrain's row j.
    const int size = ter.Size();
    QImage out(size + 1, size + 1, QImage::Format_RGB32);
    for (int j = 0; j <= size; ++j) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(j));
        const int32_t* heights = ter.row(j);
        for (int i = 0; i <= size; ++i) {
            const int g = std::min<int>(255, rt::CLng((heights[i] + 32768) / 256.0));
            line[i] = qRgb(g, g, g);
        }
        // The window stays live per row, its progress bar following progressOn.
        progressOn.pProgress = rt::CLng(100.0 / size * j);
        rt::DoEvents();
    }
    // The bitmap for the loader; a failed write keeps any old file.
    QString error;
    if (!rt::SavePicture(out, bitmapPath, &error)) {
        rt::MsgBox(QStringLiteral("The picture cannot be written:\n%1").arg(error), rt::vbCritical, kTerTitle);
        return false;
    }
    pic = std::move(out);
    return true;
}

} // namespace mdlObjects
