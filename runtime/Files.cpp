#include "runtime/Files.h"

#include "runtime/Ui.h"

#include <QDir>
#include <QFileInfo>

namespace rt {

QStringList listFiles(const QString& folder, const QString& pattern)
{
    QDir dir(folder);
    if (folder.isEmpty() || !dir.exists()) return {};
    // Without QDir::CaseSensitive the name filter ignores case.
    return dir.entryList({pattern}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

qint64 FileLen(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() ? info.size() : -1;
}

namespace {

QString xdgHome(const char* variable, const QString& fallback)
{
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value)) return value;
    return QDir::homePath() + fallback;
}

} // namespace

QString writableDataPath(const QString& fileName, bool isSetting)
{
    const QString program = AppPath();
    const QString inProgram = QDir(program).filePath(fileName);
    if (!program.isEmpty() && folderWritable(inProgram)) return inProgram;
    return userDataPath(fileName, isSetting);
}

QString userDataPath(const QString& fileName, bool isSetting)
{
    const QString base = isSetting ? xdgHome("XDG_CONFIG_HOME", QStringLiteral("/.config"))
                                   : xdgHome("XDG_STATE_HOME", QStringLiteral("/.local/state"));
    const QString folder = QDir(base).filePath(QStringLiteral("Kelvarinor"));
    QDir().mkpath(folder);
    return QDir(folder).filePath(fileName);
}

bool folderWritable(const QString& path)
{
    const QFileInfo folder(QFileInfo(path).absolutePath());
    return folder.isDir() && folder.isWritable();
}

QString scratchFilePath(const QString& name)
{
    return writableDataPath(name, false);
}

} // namespace rt
