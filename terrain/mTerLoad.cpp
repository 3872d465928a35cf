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
    if (r.ok()) return;
    if (r.refusal == TerFile::Refusal::TooBig) rt::MsgBox(QStringLiteral("Terrain to big"), rt::vbOKOnly, kTitle);
    else rt::MsgBox(TerFile::refusalText(fileName, r), rt::vbOKOnly + rt::vbExclamation, kTitle);
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
