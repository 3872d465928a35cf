#pragma once
// Folder listing and file facts the windows need beside whole-file reading.

#include <QString>
#include <QStringList>

class QFile;

namespace rt {

// Names (not paths) of the files in folder that match a "*"/"?" pattern, without
// regard to case ("*.INI" finds "alps.ini"), sorted by name without regard to
// case so the order is the same on every machine. Empty when the folder is missing.
QStringList listFiles(const QString& folder, const QString& pattern);

// The file's length in bytes; -1 when it does not exist or is not a file.
qint64 FileLen(const QString& path);

// Why path cannot be read as a file, as a sentence naming it ("... does not
// exist.", "... is a folder, not a file.", "... is a pipe, not a file.");
// empty when it is a regular file or a link to one.
QString regularFileProblem(const QString& path);

// Why path cannot be written as a file: a folder, pipe or device in its
// place, also behind a link. Empty when it is a regular file, a link to one,
// or nothing yet (a new file).
QString writeTargetProblem(const QString& path);

// Opens the file (named at construction) for reading when it is a regular
// file. Anything else is refused before it is opened: a pipe would block the
// window until some writer came, a device may never end. False with the
// reason in *why.
bool openRegularFile(QFile& file, QString* why = nullptr);

// Where a file the program writes lives: the program folder when it is
// writable, otherwise userDataPath.
QString writableDataPath(const QString& fileName, bool isSetting);

// The file in the user's own folder: "Kelvarinor" under the XDG config folder
// (settings, isSetting true) or XDG state folder (the backup), created on demand.
QString userDataPath(const QString& fileName, bool isSetting);

// True when files can be made in the folder holding path.
bool folderWritable(const QString& path);

// Path for a hand-over or scratch file called name (a picture passed to the
// object loader): beside the backup, so in a writable place even when the
// program folder is read-only. The caller removes the file when done.
QString scratchFilePath(const QString& name);

} // namespace rt
