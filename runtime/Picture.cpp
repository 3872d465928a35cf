#include "runtime/Picture.h"

#include "runtime/ByteIO.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

namespace rt {

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
