#include "terrain/TerFile.h"

#include "runtime/ByteIO.h"
#include "runtime/Files.h"
#include "runtime/Ui.h"
#include "terrain/clsTerrain.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <vector>

namespace TerFile {
namespace {

// Markers are searched in this many leading bytes only.
constexpr qsizetype kMarkerWindow = 100;
// A marker's values may run this far past the window ("SCAL" has three floats).
constexpr qsizetype kLeadBytes = kMarkerWindow + 16;
// Where SaveT puts the heights; used when a file has no "ALTW" marker.
constexpr qint64 kDefaultHeightsPos = 81;
// Room behind the heights for "EOF" and what other writers put there.
constexpr qint64 kTrailerSlack = 4096;
// Height rows read at a time: 64 KB for 2049 points.
constexpr qint64 kRowsPerRead = 16;

// 1-based position of a marker in the leading bytes, 0 when it is missing.
qint64 findMarker(const QByteArray& head, const char* marker)
{
    const qsizetype i = head.indexOf(marker);
    return i < 0 ? 0 : i + 1;
}

Result refused(Result r, Refusal why)
{
    r.refusal = why;
    return r;
}

} // namespace

Result read(const QString& fileName, clsTerrain& t)
{
    Result r;
    QFile file(fileName);
    if (!rt::openRegularFile(file, &r.detail)) return refused(r, Refusal::Unreadable);
    const qint64 fileLength = file.size();
    const QByteArray lead = file.read(kLeadBytes);
    if (file.error() != QFileDevice::NoError) {
        r.detail = file.errorString();
        return refused(r, Refusal::Unreadable);
    }
    rt::LeReader in(lead);
    const QByteArray head = lead.left(kMarkerWindow);
    if (!head.startsWith("TERRAGENTERRAIN ")) return refused(r, Refusal::NotTerrain);

    // The size decides the grid; every other size must agree with it.
    const qint64 pSize = findMarker(head, "SIZE");
    const qint64 pAltw = findMarker(head, "ALTW");
    r.hasAltw = pAltw != 0;
    const std::optional<int16_t> size = pSize ? in.i16At(pSize + 4) : std::nullopt;
    r.hasSize = size.has_value();
    if (!size) return refused(r, Refusal::NoSize);
    r.size = *size;
    if (*size >= 2050) return refused(r, Refusal::TooBig);
    if (*size < 1) return refused(r, Refusal::BadSize);
    r.points = int32_t(*size) + 1;
    for (const char* marker : {"XPTS", "YPTS"}) {
        const qint64 p = findMarker(head, marker);
        if (!p) continue;
        const std::optional<int16_t> v = in.i16At(p + 4);
        if (!v) return refused(r, Refusal::HeaderCut);
        (marker[0] == 'X' ? r.xPoints : r.yPoints) = *v;
    }
    if (r.xPoints && r.yPoints && r.xPoints != r.yPoints) return refused(r, Refusal::NotSquare);
    for (const auto& [marker, v] : {std::pair{"XPTS", r.xPoints}, std::pair{"YPTS", r.yPoints}}) {
        if (v == 0 || v == r.points) continue;
        r.marker = marker;
        r.markerValue = v;
        return refused(r, Refusal::Inconsistent);
    }

    // The header values; the heights follow the "ALTW" values.
    int16_t heightScale = 30, baseHeight = 5;
    qint64 heightsPos = kDefaultHeightsPos;
    if (pAltw) {
        const std::optional<int16_t> scale = in.i16At(pAltw + 4), base = in.i16At(pAltw + 6);
        if (!scale || !base) return refused(r, Refusal::HeaderCut);
        heightScale = *scale;
        baseHeight = *base;
        heightsPos = pAltw + 8;
    }
    float scaleZ = 30.0f;
    if (const qint64 p = findMarker(head, "SCAL")) {
        const std::optional<float> z = in.f32At(p + 12);
        if (!z) return refused(r, Refusal::HeaderCut);
        scaleZ = *z;
    }
    // Every height in metres is divided by or multiplied with the spacing.
    if (!std::isfinite(scaleZ) || scaleZ <= 0) return refused(r, Refusal::BadScale);
    if (const qint64 p = findMarker(head, "CRVM")) {
        r.crvm = in.i16At(p + 4);
        if (!r.crvm) return refused(r, Refusal::HeaderCut);
    }
    float crad = 6370.0f;
    if (const qint64 p = findMarker(head, "CRAD")) {
        const std::optional<float> v = in.f32At(p + 4);
        if (!v) return refused(r, Refusal::HeaderCut);
        crad = *v;
    }
    if (!std::isfinite(crad)) return refused(r, Refusal::BadRadius);

    // The length is known before a height is read.
    const qint64 heightBytes = 2 * qint64(r.points) * r.points;
    const qint64 needed = heightsPos - 1 + heightBytes;
    if (fileLength < needed) return refused(r, Refusal::HeightsCut);
    if (fileLength > needed + kTrailerSlack) return refused(r, Refusal::TooLong);

    rt::DoEvents();
    // Every point 0..Size comes from the file: the grid is not cleared first.
    t.InitForReading(r.points);
    t.setBaseHeight(baseHeight);
    t.setHeightScale(heightScale);
    t.setXPoints(int16_t(r.points));
    t.setScaleT(scaleZ);
    t.setCRAD(crad);

    rt::DoEvents();
    if (!file.seek(heightsPos - 1)) return refused(r, Refusal::HeightsCut);
    // A few rows at a time through a small buffer that stays in the cache,
    // widened straight into the grid: no file-sized copy is made.
    const qint64 rowBytes = 2 * qint64(r.points);
    std::vector<char> buffer(size_t(kRowsPerRead * rowBytes));
    for (qint64 k = 0; k < r.points; k += kRowsPerRead) {
        const qint64 rows = std::min<qint64>(kRowsPerRead, r.points - k);
        const qint64 got = file.read(buffer.data(), rows * rowBytes);
        if (file.error() != QFileDevice::NoError) {
            r.detail = file.errorString();
            return refused(r, Refusal::Unreadable);
        }
        if (got != rows * rowBytes || !t.LoadRows(buffer.data(), k, rows)) return refused(r, Refusal::HeightsCut);
    }
    return r;
}

} // namespace TerFile
