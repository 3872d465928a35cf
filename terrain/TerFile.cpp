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

Result checkHeader(const HeaderValues& v, Result r)
{
    r.size = v.size;
    r.xPoints = v.xPoints;
    r.yPoints = v.yPoints;
    // The size decides the grid; every other size must agree with it.
    if (v.size >= 2050) {
        r.points = v.size + 1;
        return refused(r, Refusal::TooBig);
    }
    if (v.size < 1) return refused(r, Refusal::BadSize);
    r.points = v.size + 1;
    if (r.xPoints && r.yPoints && r.xPoints != r.yPoints) return refused(r, Refusal::NotSquare);
    for (const auto& [marker, n] : {std::pair{"XPTS", r.xPoints}, std::pair{"YPTS", r.yPoints}}) {
        if (n == 0 || n == r.points) continue;
        r.marker = marker;
        r.markerValue = n;
        return refused(r, Refusal::Inconsistent);
    }
    // Every height in metres is divided by or multiplied with the spacing.
    if (!std::isfinite(v.scaleZ) || v.scaleZ <= 0) return refused(r, Refusal::BadScale);
    if (!std::isfinite(v.crad)) return refused(r, Refusal::BadRadius);
    // Under a height scale of 0 every raw height is the same height.
    if (!std::isfinite(v.heightScale) || v.heightScale == 0 || !std::isfinite(v.baseHeight))
        return refused(r, Refusal::BadUnits);
    return r;
}

QString refusalText(const QString& fileName, const Result& r)
{
    switch (r.refusal) {
    case Refusal::None: return QString();
    case Refusal::Unreadable: return QStringLiteral("The file %1 could not be read:\n%2").arg(fileName, r.detail);
    case Refusal::NotTerrain: return QStringLiteral("The file %1 is not a Terragen terrain file.").arg(fileName);
    case Refusal::NoSize: return QStringLiteral("The terrain file %1 has no size in its header.").arg(fileName);
    case Refusal::TooBig:
        return QStringLiteral("The terrain file %1 is too big: it has %2 x %2 points.").arg(fileName).arg(r.points);
    case Refusal::BadSize:
        return QStringLiteral("The terrain file %1 has an invalid size: SIZE is %2, it must be 1 or more.")
            .arg(fileName)
            .arg(r.size);
    case Refusal::NotSquare:
        return QStringLiteral("The terrain file %1 is not square: it has %2 x %3 points.")
            .arg(fileName)
            .arg(r.xPoints)
            .arg(r.yPoints);
    case Refusal::Inconsistent:
        return QStringLiteral("The terrain file %1 is inconsistent: SIZE gives %2 points, %3 gives %4.")
            .arg(fileName)
            .arg(r.points)
            .arg(QString::fromLatin1(r.marker))
            .arg(r.markerValue);
    case Refusal::BadScale:
        return QStringLiteral("The terrain file %1 has an invalid point spacing (SCAL) in its header.").arg(fileName);
    case Refusal::BadRadius:
        return QStringLiteral("The terrain file %1 has an invalid planet radius (CRAD) in its header.").arg(fileName);
    case Refusal::BadUnits:
        return QStringLiteral("The terrain file %1 has an invalid height scale (ALTW) in its header.").arg(fileName);
    case Refusal::HeaderCut:
        return QStringLiteral("The terrain file %1 is cut short: its header is incomplete.").arg(fileName);
    case Refusal::HeightsCut:
        return QStringLiteral("The terrain file %1 is too short for its %2 x %2 points: it was cut short.")
            .arg(fileName)
            .arg(r.points);
    case Refusal::TooLong:
        return QStringLiteral("The terrain file %1 is far longer than its %2 x %2 points need: it is damaged.")
            .arg(fileName)
            .arg(r.points);
    }
    return QString();
}

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

    // The header values first: a file cut inside one is refused as such.
    const qint64 pSize = findMarker(head, "SIZE");
    const qint64 pAltw = findMarker(head, "ALTW");
    r.hasAltw = pAltw != 0;
    const std::optional<int16_t> size = pSize ? in.i16At(pSize + 4) : std::nullopt;
    r.hasSize = size.has_value();
    if (!size) return refused(r, Refusal::NoSize);
    HeaderValues v;
    v.size = *size;
    for (const char* marker : {"XPTS", "YPTS"}) {
        const qint64 p = findMarker(head, marker);
        if (!p) continue;
        const std::optional<int16_t> n = in.i16At(p + 4);
        if (!n) return refused(r, Refusal::HeaderCut);
        (marker[0] == 'X' ? v.xPoints : v.yPoints) = *n;
    }
    // The heights follow the "ALTW" values.
    int16_t heightScale = 30, baseHeight = 5;
    qint64 heightsPos = kDefaultHeightsPos;
    if (pAltw) {
        const std::optional<int16_t> scale = in.i16At(pAltw + 4), base = in.i16At(pAltw + 6);
        if (!scale || !base) return refused(r, Refusal::HeaderCut);
        heightScale = *scale;
        baseHeight = *base;
        heightsPos = pAltw + 8;
    }
    v.heightScale = heightScale;
    v.baseHeight = baseHeight;
    if (const qint64 p = findMarker(head, "SCAL")) {
        const std::optional<float> z = in.f32At(p + 12);
        if (!z) return refused(r, Refusal::HeaderCut);
        v.scaleZ = *z;
    }
    if (const qint64 p = findMarker(head, "CRVM")) {
        r.crvm = in.i16At(p + 4);
        if (!r.crvm) return refused(r, Refusal::HeaderCut);
    }
    if (const qint64 p = findMarker(head, "CRAD")) {
        const std::optional<float> c = in.f32At(p + 4);
        if (!c) return refused(r, Refusal::HeaderCut);
        v.crad = *c;
    }
    r = checkHeader(v, r);
    if (!r.ok()) return r;

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
    t.setScaleT(v.scaleZ);
    t.setCRAD(v.crad);

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
