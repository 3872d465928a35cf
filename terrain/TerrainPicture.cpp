#include "terrain/TerrainPicture.h"

#include "runtime/ByteIO.h"
#include "runtime/Files.h"
#include "runtime/Numbers.h"
#include "runtime/Picture.h"
#include "runtime/Ui.h"
#include "terrain/Palette.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>

namespace {

// Enough of a file's start for looksLikeMetafile to judge it.
constexpr qint64 kMetafileHeaderBytes = 18;

int64_t colourValue(QRgb px)
{
    return int64_t(qRed(px)) + 256 * int64_t(qGreen(px)) + 65536 * int64_t(qBlue(px));
}

// Height class of a raw height as heightClass gives it, as a clamp and a
// shift: the classes are the 256 steps of the 16-bit range.
static_assert(PaletteCount == 255);
inline uint32_t classOf(int32_t raw)
{
    return uint32_t(std::clamp(raw, -32768, 32767) + 32768) >> 8;
}

// Pixels x0..x1 (inclusive) of a row in one colour.
void fillSpan(QRgb* line, int x0, int x1, QRgb colour)
{
    if (x0 <= x1) std::fill(line + x0, line + x1 + 1, colour);
}

// Points xFirst..xLast of one terrain row through the scheme's colours.
void drawRow(QRgb* __restrict line, const int32_t* __restrict heights, int xFirst, int xLast,
             const QRgb* __restrict colours)
{
    for (int x = xFirst; x <= xLast; ++x) line[x] = colours[classOf(heights[x])];
}

} // namespace

int32_t colourToHeight(int64_t colourValue)
{
    return rt::CLng(static_cast<double>(colourValue) / 256.0 - 32767.0);
}

void DrawTerrainToPicture(QImage& picback, const clsTerrain& ter, int32_t x0, int32_t y0, int32_t w,
                          int32_t h, int mode)
{
    ter.pProgress = 0;
    rt::BusyGuard busy;

    // A cleared picture of the terrain's size.
    const int width = std::max<int>(ter.XPoints(), 0);
    const int height = std::max<int>(ter.YPoints(), 0);
    if (picback.width() != width || picback.height() != height || picback.format() != QImage::Format_RGB32)
        picback = QImage(width, height, QImage::Format_RGB32);
    picback.fill(qRgb(0, 0, 0));
    if (w < 0) w = ter.XPoints() + 2;
    if (h < 0) h = ter.YPoints() + 2;

    rt::ui().setStatusText(QStringLiteral("copy Highmap ..."));
    rt::DoEvents();

    // One row at a time through the palette; progress per row. The drawer
    // sees the points 0..Size, where they are allocated, and 0 beyond.
    QRgb colours[PaletteCount + 1];
    const int scheme = paletteRowClamped();
    for (int c = 0; c <= PaletteCount; ++c) colours[c] = Palette[c][scheme];
    const QRgb zeroColour = colours[classOf(0)];
    const int32_t lastPoint = std::min<int32_t>(ter.Size(), ter.allocatedSide() - 1);
    const int xFirst = std::max(x0, 0);
    const int xLast = static_cast<int>(std::min<int64_t>(int64_t(x0) + w, width - 1));
    const int xLastPoint = std::min(xLast, lastPoint);
    const int yFirst = std::max(y0, 0);
    const int yLast = static_cast<int>(std::min<int64_t>(int64_t(y0) + h, height - 1));
    const int64_t progressEnd = int64_t(y0) + h;
    bool secondHalfShown = false;
    for (int y = yFirst; y <= yLast; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picback.scanLine(y));
        if (y <= lastPoint) {
            drawRow(line, ter.row(y), xFirst, xLastPoint, colours);
            fillSpan(line, std::max(xFirst, xLastPoint + 1), xLast, zeroColour);
        } else {
            fillSpan(line, xFirst, xLast, zeroColour);
        }
        if (mode != 1) continue;
        if (progressEnd != 0) ter.pProgress = rt::CLng(double(y) / double(progressEnd) * 100.0);
        rt::DoEvents();
        if (!secondHalfShown && ter.pProgress > 49) {
            rt::ui().setStatusText(QStringLiteral("create Picture ..."));
            secondHalfShown = true;
        }
    }

    // Hand the picture to the view.
    if (mode == 1) {
        ter.pProgress = 100;
        rt::ui().refreshMainWindow();
        rt::DoEvents();
    }

    // The bar empties again for whatever runs next.
    ter.pProgress = 0;
}

void LoadPictureAsTerrain(const QImage& pic, clsTerrain& ter)
{
    rt::BusyGuard busy;
    rt::ui().setStatusText(QStringLiteral("Read Picture...."));
    rt::DoEvents();
    ter.pProgress = 0;

    // Every point of the picture's area, plus the first spare row, which
    // lies below the picture and reads as "no pixel".
    const QImage src = (pic.format() == QImage::Format_RGB32 || pic.format() == QImage::Format_ARGB32)
                           ? pic
                           : pic.convertToFormat(QImage::Format_RGB32);
    const int32_t cols = ter.XPoints();
    const int32_t rows = ter.YPoints();
    const int32_t outside = colourToHeight(-1);
    for (int32_t y = 0; y <= rows; ++y) {
        const bool rowInside = y < src.height();
        const auto* line = rowInside ? reinterpret_cast<const QRgb*>(src.constScanLine(y)) : nullptr;
        for (int32_t x = 0; x < cols; ++x) {
            const bool inside = rowInside && x < src.width();
            ter.SetPoint(x, y, inside ? colourToHeight(colourValue(line[x])) : outside);
        }
        ter.pProgress = rt::CLng(double(y + 1) / double(rows + 1) * 100.0);
        rt::DoEvents();
    }

    ter.pProgress = 100;
}

QString findPathNoCase(const QString& path)
{
    if (path.isEmpty() || QFileInfo::exists(path)) return path;
    const QFileInfo info(path);
    const QString parent = info.path();
    const QString name = info.fileName();
    if (name.isEmpty() || parent == path) return path;

    const QString folder = findPathNoCase(parent);
    QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                                 QDir::NoSort);
    // Sorted, so the choice among several case variants is the same everywhere.
    std::sort(entries.begin(), entries.end());
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return QDir(folder).filePath(entry);
    return path;
}

QImage LoadPicture(const QString& path, QString* error)
{
    const QString found = findPathNoCase(path);
    QFile file(found);
    QString why;
    if (!rt::openRegularFile(file, &why)) {
        if (error) *error = why;
        return QImage();
    }
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    // The reader's own message for a picture beyond its memory limit says
    // only that the data could not be read; the size is known beforehand.
    const QSize size = reader.size();
    QImage img = reader.read();
    if (!img.isNull()) return img;
    why = reader.errorString();
    if (size.isValid() && rt::exceedsPictureLimit(size.width(), size.height()))
        why = QStringLiteral("The picture is too large to read (%1 x %2 pixels).").arg(size.width()).arg(size.height());
    // Its first bytes tell a metafile; only then is it read whole, within the
    // usual limit on a file's length.
    if (file.seek(0) && rt::looksLikeMetafile(file.read(kMetafileHeaderBytes))) {
        file.close();
        QString readError;
        const auto data = rt::readWholeFile(found, &readError);
        if (!data) {
            if (error) *error = readError;
            return QImage();
        }
        return rt::readMetafile(*data, error);
    }
    if (error) *error = why;
    return img;
}
