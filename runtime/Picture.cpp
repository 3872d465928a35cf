#include "runtime/Picture.h"

#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

namespace rt {

bool SavePicture(const QImage& image, const QString& path, QString* error)
{
    if (image.isNull()) {
        if (error) *error = QStringLiteral("empty picture");
        return false;
    }
    const bool indexed = image.format() == QImage::Format_Indexed8;
    const QImage out = indexed ? image : image.convertToFormat(QImage::Format_RGB888);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    QImageWriter writer(&file, "BMP");
    if (!writer.write(out)) {
        if (error) *error = writer.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace rt
