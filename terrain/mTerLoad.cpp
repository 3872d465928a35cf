#include "terrain/mTerLoad.h"

#include "runtime/ByteIO.h"
#include "runtime/Ui.h"
#include "terrain/KVTools2Scale.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/clsTerrain.h"

#include <optional>

namespace mTerLoad {
namespace {

const QString kTitle = QStringLiteral("Load Terrain");
// Markers are searched in this many leading bytes only.
constexpr qsizetype kMarkerWindow = 100;
// Where SaveT puts the heights; used when a file has no "ALTW" marker.
constexpr qint64 kDefaultHeightsPos = 81;

// CRVM of the last file that had the marker; files without it inherit it.
int16_t g_lastCrvm = 0;

// 1-based position of a marker in the leading bytes, 0 when it is missing.
qint64 findMarker(const QByteArray& head, const char* marker)
{
    const qsizetype i = head.indexOf(marker);
    return i < 0 ? 0 : i + 1;
}

bool refuse(const QString& text)
{
    rt::MsgBox(text, rt::vbOKOnly + rt::vbExclamation, kTitle);
    return false;
}

bool cutShort(const QString& fileName)
{
    return refuse(QStringLiteral("The terrain file %1 is cut short: its header is incomplete.").arg(fileName));
}

// Steps 2-12: reads the file into t (which holds the current header) and the
// CRVM to use into crvm. False after telling the user why the file was refused.
bool readTerFile(const QString& fileName, clsTerrain& t, int16_t& crvm)
{
    // 2. A file shorter than the marker window is searched as far as it goes.
    QString error;
    const std::optional<QByteArray> data = rt::readWholeFile(fileName, &error);
    if (!data) return refuse(QStringLiteral("The file %1 could not be read:\n%2").arg(fileName, error));
    rt::LeReader in(*data);
    const QByteArray head = data->left(kMarkerWindow);

    // 3.
    if (!head.startsWith("TERRAGENTERRAIN "))
        return refuse(QStringLiteral("The file %1 is not a Terragen terrain file.").arg(fileName));

    // 4.-5. The size decides the grid; every other size must agree with it.
    const qint64 pSize = findMarker(head, "SIZE");
    const std::optional<int16_t> size = pSize ? in.i16At(pSize + 4) : std::nullopt;
    if (!size) return refuse(QStringLiteral("The terrain file %1 has no size in its header.").arg(fileName));
    if (*size >= 2050) {
        rt::MsgBox(QStringLiteral("Terrain to big"), rt::vbOKOnly, kTitle);
        return false;
    }
    if (*size < 1)
        return refuse(QStringLiteral("The terrain file %1 has an invalid size of %2 points.").arg(fileName).arg(*size + 1));
    const int32_t points = int32_t(*size) + 1;
    for (const char* marker : {"XPTS", "YPTS"}) {
        const qint64 p = findMarker(head, marker);
        if (!p) continue;
        const std::optional<int16_t> v = in.i16At(p + 4);
        if (!v) return cutShort(fileName);
        if (*v != points)
            return refuse(QStringLiteral("The terrain file %1 is inconsistent: SIZE gives %2 points, %3 gives %4.")
                              .arg(fileName)
                              .arg(points)
                              .arg(QString::fromLatin1(marker))
                              .arg(*v));
    }

    // 6.
    rt::DoEvents();
    t.Init(points);

    // 7. The heights follow the "ALTW" values.
    qint64 heightsPos = kDefaultHeightsPos;
    if (const qint64 p = findMarker(head, "ALTW")) {
        const std::optional<int16_t> scale = in.i16At(p + 4), base = in.i16At(p + 6);
        if (!scale || !base) return cutShort(fileName);
        t.setBaseHeight(*base);
        t.setHeightScale(*scale);
        heightsPos = p + 8;
    } else {
        t.setBaseHeight(5);
        t.setHeightScale(30);
    }
    if (heightsPos - 1 + 2 * int64_t(points) * points > data->size())
        return refuse(QStringLiteral("The terrain file %1 is too short for its %2 x %2 points: it was cut short.")
                          .arg(fileName)
                          .arg(points));

    // 8. Checked above to equal Size + 1.
    t.setXPoints(int16_t(points));

    // 9.
    float scaleZ = 30.0f;
    if (const qint64 p = findMarker(head, "SCAL")) {
        const std::optional<float> z = in.f32At(p + 12);
        if (!z) return cutShort(fileName);
        scaleZ = *z;
    }
    t.setScaleT(scaleZ);

    // 10.
    crvm = g_lastCrvm;
    if (const qint64 p = findMarker(head, "CRVM")) {
        const std::optional<int16_t> v = in.i16At(p + 4);
        if (!v) return cutShort(fileName);
        crvm = *v;
    }
    t.setCRVM(crvm);

    // 11.
    float crad = 6370.0f;
    if (const qint64 p = findMarker(head, "CRAD")) {
        const std::optional<float> v = in.f32At(p + 4);
        if (!v) return cutShort(fileName);
        crad = *v;
    }
    t.setCRAD(crad);

    // 12.
    rt::DoEvents();
    if (!t.LoadArray(*data, heightsPos)) return cutShort(fileName);
    return true;
}

// 13.
void offerRefine()
{
    clsTerrain& t = *CurrentTerrain;
    if (int64_t(t.max()) - t.min() >= 50000) return;
    const QString text = QStringLiteral("Terrain doesn't use the maximum extension of 65538 steps. Shall it be refined?") +
                         QStringLiteral("\n\r") +
                         QStringLiteral("(Attention: Other height value could arise than in the original file!)");
    if (rt::MsgBox(text, rt::vbYesNo + rt::vbQuestion, QStringLiteral("load terrain ....")) == rt::vbYes)
        RunScaleTerrain(t);
}

} // namespace

bool LoadTerFile(const QString& fileName)
{
    if (!CurrentTerrain) return false;
    // 1.
    rt::BusyGuard busy;
    CurrentTerrain->pProgress = 0;
    rt::DoEvents();
    rt::ui().setStatusText(QStringLiteral("load Terrain......."));

    // 2.-12. into a scratch terrain that starts from the current header, so
    // the fields a TER file does not hold stay as they were.
    clsTerrain scratch;
    scratch.header() = CurrentTerrain->header();
    int16_t crvm = 0;
    if (!readTerFile(fileName, scratch, crvm)) return false;
    scratch.pProgress = CurrentTerrain->pProgress;
    scratch.setFixHeight(CurrentTerrain->FixHeight());
    CurrentTerrain->swap(scratch);
    g_lastCrvm = crvm;

    // 13. Only for a terrain that was loaded: a refused file leaves the old
    // terrain untouched.
    offerRefine();
    // 14. by the guard.
    return true;
}

} // namespace mTerLoad
