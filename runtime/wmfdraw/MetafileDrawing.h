#pragma once
// Draws a Windows metafile: libwmf reads and plays its records, the
// QPainter device paints them. Runs inside the drawer program, where a fault
// of the library cannot reach the editor.

#include "runtime/wmfdraw/Protocol.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace wmfdraw {

struct Drawing {
    QImage picture;   // Format_RGB32 when drawn
    Exit exit = Drawn;
    QString reason;   // why it was refused
};

// The metafile at its own size at 96 dots an inch, on white. A placeable
// metafile shows its frame, or the window its records map onto it; a plain
// one the part its records cover. Refused, before anything is drawn, when
// the picture would be larger than the picture reader takes.
Drawing drawMetafile(const QByteArray& bytes);

} // namespace wmfdraw
