#include "terrain/mTerLoad.h"

#include "runtime/Ui.h"
#include "terrain/KVTools2Scale.h"
#include "terrain/TerFile.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/clsTerrain.h"

namespace mTerLoad {
namespace {

const QString kTitle = QStringLiteral("Load Terrain");

// CRVM of the last file that had the marker; files without it inherit it.
int16_t g_lastCrvm = 0;

// Tells the user why the file was refused.
void reportRefusal(const QString& fileName, const TerFile::Result& r)
{
    using TerFile::Refusal;
    QString text;
    switch (r.refusal) {
    case Refusal::None: return;
    case Refusal::TooBig:
        rt::MsgBox(QStringLiteral("Terrain to big"), rt::vbOKOnly, kTitle);
        return;
    case Refusal::Unreadable:
        text = QStringLiteral("The file %1 could not be read:\n%2").arg(fileName, r.detail);
        break;
    case Refusal::NotTerrain:
        text = QStringLiteral("The file %1 is not a Terragen terrain file.").arg(fileName);
        break;
    case Refusal::NoSize:
        text = QStringLiteral("The terrain file %1 has no size in its header.").arg(fileName);
        break;
    case Refusal::BadSize:
        text = QStringLiteral("The terrain file %1 has an invalid size: SIZE is %2, it must be 1 or more.")
                   .arg(fileName)
                   .arg(r.size);
        break;
    case Refusal::NotSquare:
        text = QStringLiteral("The terrain file %1 is not square: it has %2 x %3 points.")
                   .arg(fileName)
                   .arg(r.xPoints)
                   .arg(r.yPoints);
        break;
    case Refusal::Inconsistent:
        text = QStringLiteral("The terrain file %1 is inconsistent: SIZE gives %2 points, %3 gives %4.")
                   .arg(fileName)
                   .arg(r.points)
                   .arg(QString::fromLatin1(r.marker))
                   .arg(r.markerValue);
        break;
    case Refusal::BadScale:
        text = QStringLiteral("The terrain file %1 has an invalid point spacing (SCAL) in its header.").arg(fileName);
        break;
    case Refusal::BadRadius:
        text = QStringLiteral("The terrain file %1 has an invalid planet radius (CRAD) in its header.").arg(fileName);
        break;
    case Refusal::HeaderCut:
        text = QStringLiteral("The terrain file %1 is cut short: its header is incomplete.").arg(fileName);
        break;
    case Refusal::HeightsCut:
        text = QStringLiteral("The terrain file %1 is too short for its %2 x %2 points: it was cut short.")
                   .arg(fileName)
                   .arg(r.points);
        break;
    case Refusal::TooLong:
        text = QStringLiteral("The terrain file %1 is far longer than its %2 x %2 points need: it is damaged.")
                   .arg(fileName)
                   .arg(r.points);
        break;
    }
    rt::MsgBox(text, rt::vbOKOnly + rt::vbExclamation, kTitle);
}

// A terrain that uses little of the raw range may be spread over all of it.
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
    // The guard clears the busy flag on every way out.
    rt::BusyGuard busy;
    CurrentTerrain->pProgress = 0;
    rt::DoEvents();
    rt::ui().setStatusText(QStringLiteral("load Terrain......."));

    // Into a scratch terrain that starts from the current header, so the
    // fields a TER file does not hold stay as they were.
    clsTerrain scratch;
    scratch.header() = CurrentTerrain->header();
    const TerFile::Result read = TerFile::read(fileName, scratch);
    if (!read.ok()) {
        reportRefusal(fileName, read);
        return false;
    }
    const int16_t crvm = read.crvm.value_or(g_lastCrvm);
    scratch.setCRVM(crvm);
    scratch.pProgress = CurrentTerrain->pProgress;
    scratch.setFixHeight(CurrentTerrain->FixHeight());
    CurrentTerrain->swap(scratch);
    g_lastCrvm = crvm;

    // Only for a terrain that was loaded: a refused file leaves the old
    // terrain untouched.
    offerRefine();
    return true;
}

} // namespace mTerLoad
