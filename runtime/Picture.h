#pragma once
// Saving pictures the way the platform's SavePicture does: always a Windows
// bitmap, whatever the file name says.

#include <QImage>
#include <QString>

namespace rt {

// Writes image as an uncompressed bitmap (24 bits per pixel; indexed pictures
// keep their palette) through a temporary file, so a failed write leaves the
// old file. False with an error text when the picture is empty or the file
// cannot be written.
bool SavePicture(const QImage& image, const QString& path, QString* error = nullptr);

} // namespace rt
