#pragma once
// The file commands of the main toolbar: each runs one whole command against
// the current terrain and the shared state, reporting through the runtime's
// user-interface service and refreshing the window through MainView. The
// window runs its common steps before and its tail ("Ready", ActualScreen)
// after each command, except after those that return false: they ended at
// once. A command is busy (rt::BusyGuard) while it works.

#include <QString>

class MainView;
class clsTerrain;

namespace FileCommands {

void cmdNew(MainView& view);       // "Neu"
bool cmdOpen(MainView& view);      // "Öffnen"
bool cmdSave(MainView& view);      // "Speichern"
bool cmdSaveAs(MainView& view);    // "SpeichernAls"
void cmdClear(MainView& view);     // "Löschen"
void cmdBackup(MainView& view);    // "Backup"
void cmdRestore(MainView& view);   // "Restore"
bool cmdTerragen(MainView& view);  // "Terragen"

// The close question, asked before closing, Open or Restore drops the
// current terrain: true when it may go (empty or saved terrain, or the user
// answered No); Yes saves first, and a cancelled or failed save keeps it.
bool mayDropTerrain(MainView& view);

// Save types of the save-type dialog.
enum SaveTypes : int { SaveCancelled = 0, SaveTer = 1, SaveBitmap = 2, SaveBitmapSized = 3 };

// Writes the current terrain after asking for a file name: type 1..3 chooses
// the format, anything below 1 asks for the save type first.
// True when a file was written. A TER file marks the terrain saved; a bitmap
// export only renames it. Nothing changes when the user cancels or the write
// fails (the failure is reported, an existing file is kept).
bool FileSave(MainView& view, int type);

// --- pieces the commands share, open for tests ---------------------------------
// The backup file Backup.kvt (program folder, or the user's state folder when
// the program folder is read-only). The window deletes it when it closes.
QString backupFilePath();
// A name Save may write TER data to directly: named, and ending in ".ter".
bool isTerFileName(const QString& fileName);
// Grid points of a picture of this height when it is one of the grid sizes
// (129, 257, 513, 1025, 2049), else 0.
int gridPointsForPictureHeight(int height);
// The Terragen program in folder: "terragen", or "terragen.exe" where only
// that exists; "" when neither does.
QString terragenProgram(const QString& folder);
// Draws ter through the first colour scheme into a side x side 24-bit bitmap
// written to fileName (the old file stays when writing fails).
bool writeTerrainBitmap(const clsTerrain& ter, const QString& fileName, int side, QString* error);

} // namespace FileCommands
