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

// Whether the picture reader refuses a picture of this many pixels (its
// memory limit): such a picture is refused before it is read or drawn.
bool exceedsPictureLimit(qint64 width, qint64 height);

// True when the bytes start like a Windows metafile (placeable or plain).
bool looksLikeMetafile(const QByteArray& data);

// Draws a Windows metafile (through libwmf) into a picture of the metafile's
// own size at 96 dots an inch, on white. A null picture with the reason when
// the bytes cannot be played or the picture would be larger than the picture
// reader takes (refused before anything is drawn, its size named).
QImage readMetafile(const QByteArray& data, QString* error = nullptr);

// Why the metafile player refused a metafile, from the errors it reported:
// its fonts missing (it needs the URW base-35 fonts at start), or else
// damaged records.
QString metafilePlayFailure(const QByteArray& playerErrors);

} // namespace rt
