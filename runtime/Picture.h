#pragma once
// Saving pictures the way the platform's SavePicture does: always a Windows
// bitmap, whatever the file name says; and drawing Windows metafiles, which
// Qt cannot read.

#include <QImage>
#include <QString>

namespace rt {

// Writes image as an uncompressed bitmap (24 bits per pixel; indexed pictures
// keep their palette) through a temporary file, so a failed write leaves the
// old file. False with an error text when the picture is empty or the file
// cannot be written.
bool SavePicture(const QImage& image, const QString& path, QString* error = nullptr);

// True when the bytes start like a Windows metafile (placeable or plain).
bool looksLikeMetafile(const QByteArray& data);

// Draws a Windows metafile (through libwmf) into a picture of the metafile's
// own size at 96 dots an inch, on white. A null picture with the reason when
// the bytes cannot be played or the picture would be unreasonably large.
QImage readMetafile(const QByteArray& data, QString* error = nullptr);

} // namespace rt
