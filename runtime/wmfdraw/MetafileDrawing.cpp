#include "runtime/wmfdraw/MetafileDrawing.h"

#include "runtime/Picture.h"
#include "runtime/wmfdraw/PainterDevice.h"

#include <cstring>
#include <vector>

#include <libwmf/api.h>

namespace wmfdraw {

namespace {

// Pictures beyond this side length are refused rather than allocated.
constexpr unsigned kLargestSide = 16384;
constexpr double kDotsPerInch = 96.0;
// A frame narrower than this (in device units, about points) shows nothing
// but would scale its records beyond any coordinate.
constexpr double kSmallestFrame = 1e-3;

// Frees the player on every way out.
struct Player {
    wmfAPI* api = nullptr;
    bool opened = false;
    ~Player()
    {
        if (opened) wmf_mem_close(api);
        if (api) wmf_lite_destroy(api);
    }
};

Drawing refused(const QString& why, Exit exit = Refused)
{
    return Drawing{QImage(), exit, why};
}

// The player stopped: for want of memory, or at records it cannot play.
Drawing playerStopped(wmfAPI* api)
{
    if (api->err == wmf_E_InsMem) return refused(QStringLiteral("out of memory"), OutOfMemory);
    return refused(QStringLiteral("damaged records"));
}

// Whether the header's largest record fits in the file. libwmf allocates
// a buffer of that size before it reads a record, up to 8 GB for a damaged
// header.
bool largestRecordFits(const QByteArray& bytes)
{
    const qsizetype header = bytes.startsWith("\xD7\xCD\xC6\x9A") ? 22 : 0;
    if (bytes.size() < header + 18) return false;
    const auto byte = [&](qsizetype at) { return quint64(uchar(bytes[header + at])); };
    const quint64 words = byte(12) | byte(13) << 8 | byte(14) << 16 | byte(15) << 24;
    return words * 2 <= quint64(bytes.size());
}

QRectF rectOf(const wmfD_Rect& r)
{
    return QRectF(QPointF(r.TL.x, r.TL.y), QPointF(r.BR.x, r.BR.y)).normalized();
}

} // namespace

Drawing drawMetafile(const QByteArray& bytes)
{
    // libwmf reads its input in place and never writes it; the copy keeps it so.
    std::vector<unsigned char> data(bytes.begin(), bytes.end());
    // Declared before the player, so it outlives it.
    PainterDevice device;
    Player player;
    wmfAPI_Options options;
    std::memset(&options, 0, sizeof options);
    options.function = installPainterDevice;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_DEBUG | WMF_OPT_NO_ERROR;
    if (wmf_lite_create(&player.api, flags, &options) != wmf_E_None) return refused(QStringLiteral("no player"));
    player.api->device_data = &device;
    if (data.empty() || wmf_mem_open(player.api, data.data(), long(data.size())) != wmf_E_None)
        return refused(QStringLiteral("not a metafile"));
    if (!largestRecordFits(bytes)) return refused(QStringLiteral("damaged records"));
    player.opened = true;
    wmfD_Rect covered;
    if (wmf_scan(player.api, 0, &covered) != wmf_E_None) return playerStopped(player.api);
    unsigned width = 0, height = 0;
    if (wmf_display_size(player.api, &width, &height, kDotsPerInch, kDotsPerInch) != wmf_E_None)
        return refused(QStringLiteral("no size"));
    if (width == 0 || height == 0) return refused(QStringLiteral("the picture is empty"));
    // Refused before drawing: the whole picture is allocated first.
    if (width > kLargestSide || height > kLargestSide || rt::exceedsPictureLimit(width, height))
        return refused(QStringLiteral("the picture is too large (%1 x %2 pixels)").arg(width).arg(height));

    // A placeable metafile is drawn as its window mapped onto its frame, the
    // way programs place them; libwmf's scan covers only what is drawn.
    device.measuring = true;
    if (wmf_play(player.api, 0, &covered) != wmf_E_None) return playerStopped(player.api);
    const bool placeable = player.api->File && player.api->File->placeable;
    device.frame = placeable && device.windows.isValid() ? device.windows : rectOf(covered);
    device.picture = QImage(int(width), int(height), QImage::Format_RGB32);
    if (device.picture.isNull())
        return refused(QStringLiteral("no memory for %1 x %2 pixels").arg(width).arg(height), OutOfMemory);
    device.picture.fill(Qt::white);
    // Nothing drawn, or drawn on a line or a point: a white picture.
    if (!(device.frame.width() > kSmallestFrame && device.frame.height() > kSmallestFrame))
        return Drawing{device.picture, Drawn, QString()};
    device.measuring = false;
    if (wmf_play(player.api, 0, &covered) != wmf_E_None) return playerStopped(player.api);
    // The raster operations may have cleared the unused alpha byte.
    for (int y = 0; y < device.picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(device.picture.scanLine(y));
        for (int x = 0; x < device.picture.width(); ++x) line[x] |= 0xFF000000u;
    }
    return Drawing{device.picture, Drawn, QString()};
}

} // namespace wmfdraw
