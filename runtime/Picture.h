#pragma once
// Saving pictures the way the platform's SavePicture does: always a Windows
// bitmap, whatever the file name says; and drawing Windows metafiles, which
// Qt cannot read.

#include <QImage>
#include <QImageReader>
#include <QString>

namespace rt {

// Writes image as an uncompressed bitmap (24 bits per pixel; indexed pictures
// keep their palette) through a temporary file, so a failed write leaves the
// old file. False with an error text when the picture is empty or the file
// cannot be written.
bool SavePicture(const QImage& image, const QString& path, QString* error = nullptr);

// Whether the picture reader refuses a picture of this many pixels (its
// memory limit): such a picture is refused before it is read or drawn. Inline:
// the metafile drawer applies the same limit.
inline bool exceedsPictureLimit(qint64 width, qint64 height)
{
    // The reader's limit is in megabytes of 32-bit pixels; 0 means none.
    const qint64 limit = qint64(QImageReader::allocationLimit()) << 20;
    return limit > 0 && width * height * 4 > limit;
}

// True when the bytes start like a Windows metafile (placeable or plain).
bool looksLikeMetafile(const QByteArray& data);

// Draws a Windows metafile into a picture of the metafile's own size at 96
// dots an inch, on white. The drawing runs in the drawer program kv_wmfdraw
// beside the editor, within a time and a memory limit, so a metafile that
// crashes or exhausts the metafile library costs nothing here. A null picture
// with the reason when the bytes cannot be played, the drawer crashes or
// passes a limit, or the picture would be larger than the picture reader
// takes (refused before anything is drawn, its size named).
QImage readMetafile(const QByteArray& data, QString* error = nullptr);

// How long, in seconds, and in how much memory a metafile may be drawn.
inline constexpr int kMetafileSeconds = 5;
inline constexpr int kMetafileMegabytes = 1024;

} // namespace rt
