#include "app/FileCommands.h"

#include "app/AppState.h"
#include "app/MainView.h"
#include "app/vbConfig.h"
#include "runtime/Files.h"
#include "runtime/Picture.h"
#include "runtime/Ui.h"
#include "terrain/KVTools2Scale.h"
#include "terrain/OpenFileTypes.h"
#include "terrain/Palette.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/TerrainPicture.h"
#include "terrain/mHgt.h"
#include "terrain/mTerLoad.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

namespace FileCommands {

namespace {

const QString kNoName = QStringLiteral("noname");

void status(const QString& text)
{
    rt::ui().setStatusText(text);
}

// Keeps PaletteRow for the length of a bitmap export, which draws through the
// first colour scheme whatever the view shows.
class FirstColourScheme {
public:
    FirstColourScheme() : m_kept(PaletteRow) { PaletteRow = 0; }
    ~FirstColourScheme() { PaletteRow = m_kept; }
    FirstColourScheme(const FirstColourScheme&) = delete;
    FirstColourScheme& operator=(const FirstColourScheme&) = delete;

private:
    int m_kept;
};

bool askYes(const QString& text, const QString& title)
{
    return rt::MsgBox(text, rt::vbYesNo, title) == rt::vbYes;
}

void reportSaveFailure(const QString& fileName, const QString& error)
{
    rt::MsgBox(QStringLiteral("The terrain could not be saved as %1: %2").arg(fileName, error),
               rt::vbOKOnly | rt::vbExclamation, QStringLiteral("Save"));
}

// [Directory] Terrain and the open dialog's start folder follow the last
// file actually written.
void rememberTerrainFolder(const QString& fileName)
{
    LastDirectory = QFileInfo(fileName).absolutePath();
    FileDialogFolder = LastDirectory;
    vbConfig::WriteIni(QStringLiteral("Directory"), QStringLiteral("Terrain"), LastDirectory);
}

enum class TerWrite { Written, Failed, Cancelled };

// Heights that no TER header can hold lose their ends: only when the user agrees.
bool mayCutHeights()
{
    if (CurrentTerrain->fileHoldsHeights()) return true;
    return rt::MsgBox(QStringLiteral("The heights of this terrain span more than a TER file can hold. "
                                     "Its lowest and highest points will be cut.\nSave anyway?"),
                      rt::vbOKCancel | rt::vbExclamation, QStringLiteral("Save")) == rt::vbOK;
}

// The heights fill the 16-bit range before the TER writer sees them, unless
// a file holds them exactly as they are (opened or saved before, and not
// changed since): spreading those again would only move points by a rounding.
// A failed save leaves the progress where it was before the save.
TerWrite writeTer(const QString& fileName, QString* error)
{
    const int32_t progress = CurrentTerrain->pProgress;
    if (!CurrentTerrain->fileHoldsAsIs()) RunScaleTerrain(*CurrentTerrain);
    if (!mayCutHeights()) {
        CurrentTerrain->pProgress = progress;
        return TerWrite::Cancelled;
    }
    if (CurrentTerrain->SaveT(fileName, error)) return TerWrite::Written;
    CurrentTerrain->pProgress = progress;
    return TerWrite::Failed;
}

// Save of a named TER terrain, straight to its file.
bool saveNamedTerrain()
{
    QString error;
    const TerWrite written = writeTer(TerrainFileName, &error);
    if (written == TerWrite::Failed) reportSaveFailure(TerrainFileName, error);
    if (written != TerWrite::Written) return false;
    markTerrainSaved();
    rememberTerrainFolder(TerrainFileName);
    return true;
}

bool emptyTerrainRefused()
{
    if (!TerrainEmpty) return false;
    rt::MsgBox(QStringLiteral("Terrain empty !"), rt::vbOKOnly, QStringLiteral("Save"));
    return true;
}

// --- FileSave -------------------------------------------------------------------

struct SaveTarget {
    rt::FileDialogRequest request;
    int bitmapSide = 0;
};

// The save dialog for the type, and the bitmap's side; false to stop.
bool prepareSaveTarget(int type, SaveTarget& target)
{
    rt::FileDialogRequest& r = target.request;
    r.title = QStringLiteral("Terrain save ...");
    r.initDir = FileDialogFolder.isEmpty() ? LastDirectory : FileDialogFolder;
    if (type == SaveTer) {
        r.filter = QStringLiteral("Terrainfiles|*.ter");
        r.defaultExt = QStringLiteral("ter");
        return true;
    }
    if (type == SaveBitmap) {
        // BitmapSize counts the picture box's one-pixel border; the bitmap
        // itself has one pixel per point.
        BitmapSize = int16_t(CurrentTerrain->XPoints() + 2);
        target.bitmapSide = CurrentTerrain->XPoints();
    } else if (type == SaveBitmapSized) {
        const int side = rt::ui().askBitmapSize(CurrentTerrain->Size());
        BitmapSize = int16_t(side);
        if (side <= 0) return false;
        target.bitmapSide = side;
    } else {
        return false;
    }
    r.filter = QStringLiteral("BMP-Files|*.bmp");
    r.defaultExt = QStringLiteral("bmp");
    return true;
}

// --- Open -----------------------------------------------------------------------

using OpenFileTypes::Reader;

// The reader of the chosen filter; a filter the dialog could not name back
// goes by the file's extension, so it never reads a picture as a terrain.
Reader openReader(int filterIndex, const QString& fileName)
{
    return OpenFileTypes::readerOf(OpenFileTypes::Dialog::TerrainOpen, filterIndex)
        .value_or(OpenFileTypes::readerByName(fileName));
}

// The grid size for a picture: its own height when that is a grid size,
// else what frmPicResize gives; 0 when the user cancels.
int pictureGridPoints(const QImage& picture)
{
    const int h = picture.height();
    rt::MsgBox(QStringLiteral("BMP-Size : %1 x %2").arg(h).arg(picture.width()), rt::vbOKOnly);
    if (const int points = gridPointsForPictureHeight(h)) return points;
    const int answer = rt::MsgBox(QStringLiteral("Terrain doesn't have the correct size ! Resize ?"),
                                  rt::vbOKCancel | rt::vbQuestion, QStringLiteral("BMP-File Analyse"));
    if (answer != rt::vbOK) return 0;
    return rt::ui().askPictureGridPoints(h);
}

// Declined: the user cancelled the picture resize, which ends Open at once.
enum class OpenResult { Opened, Refused, Declined };

// A picture's colours become the heights of a grid sized from its height.
OpenResult openPicture(const QString& fileName)
{
    QString why;
    const QImage picture = LoadPicture(fileName, &why);
    if (picture.isNull()) {
        rt::MsgBox(QStringLiteral("The picture %1 could not be read.\n%2").arg(fileName, why),
                   rt::vbOKOnly | rt::vbExclamation, QStringLiteral("BMP-File Analyse"));
        return OpenResult::Refused;
    }
    const int points = pictureGridPoints(picture);
    if (points == 0) return OpenResult::Declined;
    // Point (x, y) takes the picture's pixel at the same place of the picture
    // stretched to the grid (nearest pixel: colours carry height bytes).
    const QImage grid = picture.size() == QSize(points, points)
                            ? picture
                            : picture.scaled(points, points, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    CurrentTerrain->Init(points);
    LoadPictureAsTerrain(grid, *CurrentTerrain);
    RunScaleTerrain(*CurrentTerrain);
    TerrainFileName = kNoName;
    return OpenResult::Opened;
}

OpenResult openFile(Reader reader, const QString& fileName)
{
    switch (reader) {
    case Reader::Ter:
        // The loader tells the user why a file was refused.
        if (!mTerLoad::LoadTerFile(fileName)) return OpenResult::Refused;
        TerrainFileName = fileName;
        return OpenResult::Opened;
    case Reader::Picture:
        return openPicture(fileName);
    case Reader::Hgt:
        if (!mTerLoad::LoadHgtFile(fileName)) return OpenResult::Refused;
        TerrainFileName = kNoName;
        return OpenResult::Opened;
    }
    return OpenResult::Refused;
}

// --- Terragen -------------------------------------------------------------------

void reportTerragenFolderMissing(const QString& title)
{
    rt::MsgBox(QStringLiteral("Please select Folder of Terragen in 'Options'"), rt::vbOKCancel, title);
}

// Yes: the terrain is saved before Terragen reads it; false when it was not.
bool saveForTerragen(MainView& view)
{
    if (isTerFileName(TerrainFileName)) {
        if (!saveNamedTerrain()) return false;
    } else if (!FileSave(view, SaveTer)) {
        rt::MsgBox(QStringLiteral("Terragen not called"), rt::vbOKOnly, QStringLiteral("Submit Terragen"));
        return false;
    }
    markTerrainSaved();
    return true;
}

// No: an unnamed terrain still needs a file Terragen can read.
bool writeDefaultTerrain()
{
    if (isTerFileName(TerrainFileName)) return true;
    const QString fileName = QDir::current().absoluteFilePath(QStringLiteral("default.ter"));
    QString error;
    const TerWrite written = writeTer(fileName, &error);
    if (written == TerWrite::Failed) reportSaveFailure(fileName, error);
    if (written != TerWrite::Written) return false;
    TerrainFileName = fileName;
    return true;
}

} // namespace

QString backupFilePath()
{
    return rt::writableDataPath(QStringLiteral("Backup.kvt"), false);
}

bool isTerFileName(const QString& fileName)
{
    return fileName != kNoName && !fileName.isEmpty() &&
           QFileInfo(fileName).suffix().compare(QLatin1String("ter"), Qt::CaseInsensitive) == 0;
}

int gridPointsForPictureHeight(int height)
{
    switch (height) {
    case 129:
    case 257:
    case 513:
    case 1025:
    case 2049:
        return height;
    default:
        return 0;
    }
}

QString terragenProgram(const QString& folder)
{
    const QDir dir(folder);
    for (const char* name : {"terragen", "terragen.exe"}) {
        const QFileInfo program(dir.filePath(QString::fromLatin1(name)));
        if (program.isFile()) return program.absoluteFilePath();
    }
    return QString();
}

bool writeTerrainBitmap(const clsTerrain& ter, const QString& fileName, int side, QString* error)
{
    QImage picback;
    {
        FirstColourScheme scheme;
        DrawTerrainToPicture(picback, ter, 0, 0, -1, -1, 0);
    }
    QImage bitmap = picback.size() == QSize(side, side)
                        ? picback
                        : picback.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    bitmap = bitmap.convertToFormat(QImage::Format_RGB888);
    return rt::SavePicture(bitmap, fileName, error);
}

bool FileSave(MainView& view, int type)
{
    // The type first, asked for when the caller gives none.
    rt::BusyGuard busy;
    SaveType = int16_t(type >= 1 ? type : rt::ui().askSaveType());
    if (SaveType == SaveCancelled) return false;

    // Then the file; a cancelled dialog changes nothing.
    status(QStringLiteral("Save....."));
    rt::DoEvents();
    SaveTarget target;
    if (!prepareSaveTarget(SaveType, target)) return false;
    const rt::FileDialogResult chosen = rt::ui().saveFileDialog(target.request);
    if (!chosen.accepted || chosen.fileName.isEmpty()) return false;

    // Nothing changes unless the file was written.
    status(QStringLiteral("Save Terrainfile..."));
    rt::DoEvents();
    QString error;
    TerWrite written = TerWrite::Failed;
    if (SaveType == SaveTer) written = writeTer(chosen.fileName, &error);
    else if (writeTerrainBitmap(*CurrentTerrain, chosen.fileName, target.bitmapSide, &error)) written = TerWrite::Written;
    if (written == TerWrite::Failed) reportSaveFailure(chosen.fileName, error);
    if (written != TerWrite::Written) return false;

    // A bitmap holds the view colours only: it does not count as saved.
    TerrainFileName = chosen.fileName;
    if (SaveType == SaveTer) markTerrainSavedByFileSave();
    else TerrainEmpty = false;
    rememberTerrainFolder(chosen.fileName);
    status(QStringLiteral("Ready"));
    view.ActualScreen();
    rt::DoEvents();
    return true;
}

void cmdNew(MainView& view)
{
    if (!askYes(QStringLiteral("Terrain clear ?  Are you sure ?"), QStringLiteral("Terrain clear"))) return;
    CurrentTerrain->Init(CurrentTerrain->Size() + 1);
    markTerrainCleared();
    view.redrawTerrain();
}

bool cmdOpen(MainView& view)
{
    if (!mayDropTerrain(view)) return false;
    rt::FileDialogRequest request;
    request.title = QStringLiteral("Terrain open ...");
    request.filter = OpenFileTypes::filter(OpenFileTypes::Dialog::TerrainOpen);
    request.filterIndex = 1;
    request.defaultExt = QStringLiteral("ter");
    request.initDir = LastDirectory;
    FileDialogFolder = LastDirectory;  // the one common dialog keeps the folder it was last given
    const rt::FileDialogResult chosen = rt::ui().openFileDialog(request);
    if (!chosen.accepted || chosen.fileName.isEmpty()) return false;

    // Name and flags change only once the terrain was read.
    rt::BusyGuard busy;
    status(QStringLiteral("Load Terrainfile..."));
    rt::DoEvents();
    const OpenResult opened = openFile(openReader(chosen.filterIndex, chosen.fileName), chosen.fileName);
    if (opened != OpenResult::Opened) return opened == OpenResult::Refused;
    // An opened file is not an edit: a terrain saved before stays saved.
    markTerrainLoaded();

    // Back to 100 % and draw.
    ZoomFactor = 1.0;
    view.ResizePic();
    status(QStringLiteral("Picture create..."));
    view.redrawTerrain();
    return true;
}

bool cmdSave(MainView& view)
{
    if (emptyTerrainRefused()) return false;
    // Only a TER name is written directly: a bitmap's name goes through the
    // dialog, so TER bytes never land in a bitmap file.
    if (isTerFileName(TerrainFileName)) {
        rt::BusyGuard busy;
        if (saveNamedTerrain()) view.ActualScreen();
        return true;
    }
    FileSave(view, SaveCancelled);
    return true;
}

bool cmdSaveAs(MainView& view)
{
    if (emptyTerrainRefused()) return false;
    FileSave(view, SaveCancelled);
    return true;
}

void cmdClear(MainView& view)
{
    if (!askYes(QStringLiteral("Terrain clear ?  Are you sure ?"), QStringLiteral("Terrain clear"))) return;
    CurrentTerrain->Init(CurrentTerrain->Size() + 1);
    CurrentTerrain->setUnitRange(-10, 30, true);
    view.redrawTerrain();
    markTerrainCleared();
    TerrainFileName = kNoName;
    view.mergePlacedObjects();
}

void cmdBackup(MainView&)
{
    rt::BusyGuard busy;
    QString error;
    if (!CurrentTerrain->SaveBackup(backupFilePath(), &error)) {
        rt::MsgBox(QStringLiteral("The backup could not be written: %1").arg(error),
                   rt::vbOKOnly | rt::vbExclamation, QStringLiteral("Backup Terrain"));
        return;
    }
    BackupExists = true;
}

void cmdRestore(MainView& view)
{
    if (!BackupExists) {
        rt::MsgBox(QStringLiteral("Backup empty ! Use the Button BACKUP for protection of the terrain !"),
                   rt::vbOKOnly, QStringLiteral("Restore Terrain"));
        return;
    }
    if (!mayDropTerrain(view)) return;
    rt::BusyGuard busy;
    QString error;
    if (!CurrentTerrain->LoadBackup(backupFilePath(), &error)) {
        rt::MsgBox(QStringLiteral("The backup could not be read: %1").arg(error),
                   rt::vbOKOnly | rt::vbExclamation, QStringLiteral("Restore Terrain"));
        return;
    }
    // The loader leaves the min/max cache empty.
    CurrentTerrain->Range();
    markTerrainChanged();
    view.ResizePic();
    view.ActualScreen();
    view.redrawTerrain();
}

bool cmdTerragen(MainView& view)
{
    if (TerrainEmpty) {
        rt::MsgBox(QStringLiteral("Terrain empty !"), rt::vbOKOnly, QStringLiteral("Save"));
        return false;
    }
    const int answer = rt::MsgBox(QStringLiteral("Terrain save, before start terragen"), rt::vbYesNoCancel,
                                  QStringLiteral("Start Terragen"));
    // The folder is checked before the answer counts, so Cancel reports a missing one too.
    const QString folder = vbConfig::ReadIni(QStringLiteral("directory"), QStringLiteral("Terragen"));
    if (folder.isEmpty()) {
        reportTerragenFolderMissing(QStringLiteral("Start Terragen"));
        return false;
    }
    if (answer != rt::vbYes && answer != rt::vbNo) return true;

    rt::BusyGuard busy;
    if (answer == rt::vbYes ? !saveForTerragen(view) : !writeDefaultTerrain()) return false;

    // A separate process with the file as one argument, never a command line.
    const QString program = terragenProgram(folder);
    const QStringList arguments{QStringLiteral("-t"), QFileInfo(TerrainFileName).absoluteFilePath()};
    if (program.isEmpty() || !rt::Shell(program, arguments, folder)) {
        reportTerragenFolderMissing(QStringLiteral("ERROR  Terragen"));
        return false;
    }
    return true;
}

bool mayDropTerrain(MainView& view)
{
    if (!closingNeedsSaveQuestion()) return true;
    const int answer = rt::MsgBox(QStringLiteral("The terrain is not saved!  Do you want to save?"),
                                  rt::vbYesNoCancel | rt::vbQuestion | rt::vbSystemModal, QStringLiteral("EXIT"));
    if (answer == rt::vbYes) return FileSave(view, SaveCancelled);
    return answer == rt::vbNo;
}

} // namespace FileCommands
