#pragma once
// libwmf's device layer drawn with QPainter: libwmf plays the records and
// calls these for every shape, bitmap and text, in device coordinates; they
// paint onto a QImage.

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

#include <deque>

#include <libwmf/ipa.h>

namespace wmfdraw {

struct PainterDevice {
    // While measuring nothing is painted: the records only show which
    // windows they are drawn in, so the frame can be chosen before drawing.
    bool measuring = true;
    // The windows mapped onto the picture, in device coordinates (united).
    QRectF windows;
    // The part of device space the picture shows.
    QRectF frame;
    QImage picture;
    QPainter painter;
    // The clip libwmf set, in device coordinates; empty when none.
    QPainterPath clip;
    // Bitmaps read for the records. They stay here until the drawing ends, so
    // a record that still refers to a freed one finds an empty picture.
    std::deque<QImage> bitmaps;
};

// Fills libwmf's table of device callbacks and its font measure; passed as
// wmfAPI_Options::function. The caller sets API->device_data to its
// PainterDevice before playing.
void installPainterDevice(wmfAPI* api);

} // namespace wmfdraw
