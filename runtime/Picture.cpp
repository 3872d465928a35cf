#include "runtime/Picture.h"

#include "runtime/ByteIO.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include <libwmf/api.h>
#include <libwmf/gd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace rt {

namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7u;
// Pictures beyond this side length are refused rather than allocated.
constexpr unsigned kLargestSide = 16384;
constexpr double kDotsPerInch = 96.0;

uint32_t readU32(const QByteArray& d, int at)
{
    return uint32_t(uchar(d[at])) | uint32_t(uchar(d[at + 1])) << 8 | uint32_t(uchar(d[at + 2])) << 16 |
           uint32_t(uchar(d[at + 3])) << 24;
}

int16_t readI16(const QByteArray& d, int at)
{
    return int16_t(uint16_t(uchar(d[at])) | uint16_t(uchar(d[at + 1])) << 8);
}

// What the player reports, gathered in memory so a failure can name its
// cause. Declared before the player, so it outlives it.
class PlayerErrors {
public:
    PlayerErrors() : m_stream(open_memstream(&m_text, &m_size)) {}
    ~PlayerErrors()
    {
        if (m_stream) std::fclose(m_stream);
        std::free(m_text);
    }
    PlayerErrors(const PlayerErrors&) = delete;
    PlayerErrors& operator=(const PlayerErrors&) = delete;
    FILE* stream() const { return m_stream; }
    QByteArray text()
    {
        if (!m_stream) return QByteArray();
        std::fflush(m_stream);
        return QByteArray(m_text, qsizetype(m_size));
    }

private:
    char* m_text = nullptr;
    size_t m_size = 0;
    FILE* m_stream = nullptr;
};

// Frees the player on every way out.
struct WmfPlayer {
    wmfAPI* api = nullptr;
    bool opened = false;
    ~WmfPlayer()
    {
        if (opened) wmf_mem_close(api);
        if (api) wmf_api_destroy(api);
    }
};

int collectPng(void* context, char* buffer, int length)
{
    static_cast<QByteArray*>(context)->append(buffer, length);
    return length;
}

} // namespace

bool exceedsPictureLimit(qint64 width, qint64 height)
{
    // The reader's limit is in megabytes of 32-bit pixels; 0 means none.
    const qint64 limit = qint64(QImageReader::allocationLimit()) << 20;
    return limit > 0 && width * height * 4 > limit;
}

QString metafilePlayFailure(const QByteArray& playerErrors)
{
    // libwmf loads its fonts when it starts a metafile, text or not; without
    // them it reports "failed to load *any* font!" and refuses every metafile.
    if (playerErrors.contains("font"))
        return QStringLiteral("the metafile fonts are missing (the URW base-35 fonts, package fonts-urw-base35)");
    return QStringLiteral("damaged records");
}

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
    // libwmf reads its input in place and never writes it; the copy keeps it so.
    std::vector<unsigned char> bytes(data.begin(), data.end());
    PlayerErrors errors;
    WmfPlayer player;
    wmfAPI_Options options;
    std::memset(&options, 0, sizeof options);
    options.function = wmf_gd_function;
    options.error_out = errors.stream();
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_DEBUG |
                                (errors.stream() ? WMF_OPT_LOG_ERROR : WMF_OPT_NO_ERROR);
    if (wmf_api_create(&player.api, flags, &options) != wmf_E_None) return fail(QStringLiteral("no player"));
    if (wmf_mem_open(player.api, bytes.data(), long(bytes.size())) != wmf_E_None)
        return fail(QStringLiteral("not a metafile"));
    player.opened = true;
    wmfD_Rect frame;
    if (wmf_scan(player.api, 0, &frame) != wmf_E_None) return fail(metafilePlayFailure(errors.text()));
    // A placeable metafile names its frame; the whole of it is drawn, not only
    // the part its records cover (the player measures in points).
    if (data.size() >= 22 && readU32(data, 0) == kPlaceableKey) {
        const int16_t left = readI16(data, 6), top = readI16(data, 8);
        const int16_t right = readI16(data, 10), bottom = readI16(data, 12);
        const double inch = double(uint16_t(readI16(data, 14)));
        if (inch > 0 && right > left && bottom > top) {
            frame.TL.x = float(left * 72.0 / inch);
            frame.TL.y = float(top * 72.0 / inch);
            frame.BR.x = float(right * 72.0 / inch);
            frame.BR.y = float(bottom * 72.0 / inch);
        }
    }
    unsigned width = 0, height = 0;
    if (wmf_display_size(player.api, &width, &height, kDotsPerInch, kDotsPerInch) != wmf_E_None)
        return fail(QStringLiteral("no size"));
    if (width == 0 || height == 0) return fail(QStringLiteral("the picture is empty"));
    // Refused before drawing: the player would allocate the whole picture first.
    if (width > kLargestSide || height > kLargestSide || exceedsPictureLimit(width, height))
        return fail(QStringLiteral("the picture is too large (%1 x %2 pixels)").arg(width).arg(height));
    QByteArray png;
    wmf_gd_t* device = WMF_GD_GetData(player.api);
    device->type = wmf_gd_png;
    device->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
    device->sink.context = &png;
    device->sink.function = collectPng;
    device->bbox = frame;
    device->width = width;
    device->height = height;
    if (wmf_play(player.api, 0, &frame) != wmf_E_None) return fail(metafilePlayFailure(errors.text()));
    // The picture is written out when the player closes.
    wmf_mem_close(player.api);
    player.opened = false;
    wmf_api_destroy(player.api);
    player.api = nullptr;
    QImage img;
    if (!img.loadFromData(png, "PNG")) return fail(QStringLiteral("nothing was drawn"));
    return img.convertToFormat(QImage::Format_RGB32);
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
