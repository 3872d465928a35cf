#include "runtime/Picture.h"

#include "runtime/ByteIO.h"
#include "runtime/ChildProcess.h"
#include "runtime/wmfdraw/Protocol.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QtEndian>

#include <cstring>

namespace rt {

namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7u;

uint32_t readU32(const QByteArray& d, qsizetype at)
{
    return qFromLittleEndian<quint32>(d.constData() + at);
}

// The picture the drawer wrote (see runtime/wmfdraw/Protocol.h); null when
// the output is not one whole picture.
QImage pictureFromDrawer(const QByteArray& out)
{
    if (out.size() < wmfdraw::kPictureHeaderBytes || !out.startsWith(QByteArray(wmfdraw::kPictureTag, 4)))
        return QImage();
    const qint64 width = readU32(out, 4), height = readU32(out, 8);
    if (width == 0 || height == 0 || exceedsPictureLimit(width, height) ||
        out.size() != wmfdraw::kPictureHeaderBytes + width * height * 4)
        return QImage();
    QImage picture(int(width), int(height), QImage::Format_RGB32);
    if (picture.isNull()) return picture;
    for (int y = 0; y < picture.height(); ++y)
        std::memcpy(picture.scanLine(y), out.constData() + wmfdraw::kPictureHeaderBytes + qint64(y) * width * 4,
                    size_t(width) * 4);
    return picture;
}

} // namespace

bool looksLikeMetafile(const QByteArray& data)
{
    if (data.size() >= 4 && readU32(data, 0) == kPlaceableKey) return true;
    // A plain metafile header: type 1 (memory) or 2 (disk), 9 words long.
    return data.size() >= 18 && (data[0] == 1 || data[0] == 2) && data[1] == 0 && data[2] == 9 && data[3] == 0;
}

QImage readMetafile(const QByteArray& data, QString* error)
{
    const auto fail = [&](const QString& why) {
        if (error) *error = QStringLiteral("The Windows metafile could not be read: %1").arg(why);
        return QImage();
    };
    // The drawer ships beside the program itself (tests point AppPath elsewhere).
    const QString drawer = QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(wmfdraw::kProgramName));
    if (!QFileInfo(drawer).isExecutable())
        return fail(QStringLiteral("the metafile drawer %1 is missing").arg(QDir::toNativeSeparators(drawer)));
    ChildLimits limits;
    limits.seconds = kMetafileSeconds;
    limits.memoryBytes = qint64(kMetafileMegabytes) << 20;
    const ChildRun run = runLimited(drawer, {}, data, limits);
    const QString tooMuchMemory = QStringLiteral("drawing it needs more than %1 MB of memory").arg(kMetafileMegabytes);
    switch (run.outcome) {
    case ChildRun::NotStarted:
        return fail(QStringLiteral("the metafile drawer %1 could not be started (%2)").arg(drawer, run.startError));
    case ChildRun::TimedOut:
        return fail(QStringLiteral("drawing it took longer than %1 seconds").arg(kMetafileSeconds));
    case ChildRun::OutOfMemory: return fail(tooMuchMemory);
    case ChildRun::Crashed: return fail(QStringLiteral("its records crashed the metafile drawer"));
    case ChildRun::Finished: break;
    }
    if (run.exitCode == wmfdraw::OutOfMemory) return fail(tooMuchMemory);
    // The reason is the drawer's last line.
    if (run.exitCode == wmfdraw::Refused) return fail(QString::fromUtf8(run.errors.trimmed().split('\n').last()));
    if (run.exitCode != wmfdraw::Drawn)
        return fail(QStringLiteral("the metafile drawer failed (exit code %1)").arg(run.exitCode));
    QImage picture = pictureFromDrawer(run.output);
    if (picture.isNull()) return fail(QStringLiteral("the metafile drawer gave no picture"));
    return picture;
}

bool SavePicture(const QImage& image, const QString& path, QString* error)
{
    if (image.isNull()) {
        if (error) *error = QStringLiteral("empty picture");
        return false;
    }
    const bool indexed = image.format() == QImage::Format_Indexed8;
    const QImage out = indexed ? image : image.convertToFormat(QImage::Format_RGB888);
    // Encoded in memory first: the atomic write then retries a short write,
    // so a full disk reports the system's reason, not "Unknown error".
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "BMP");
    if (!writer.write(out)) {
        if (error) *error = writer.errorString();
        return false;
    }
    return writeFileAtomic(path, bytes, error);
}

} // namespace rt
