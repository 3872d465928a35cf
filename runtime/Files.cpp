#include "runtime/Files.h"

#include "runtime/Ui.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// What kind of thing other than a regular file the mode describes; empty for one.
QString notAFile(const QString& path, mode_t mode)
{
    if (S_ISREG(mode)) return QString();
    if (S_ISDIR(mode)) return QStringLiteral("%1 is a folder, not a file.").arg(path);
    if (S_ISFIFO(mode)) return QStringLiteral("%1 is a pipe, not a file.").arg(path);
    if (S_ISCHR(mode) || S_ISBLK(mode)) return QStringLiteral("%1 is a device, not a file.").arg(path);
    return QStringLiteral("%1 is not a regular file.").arg(path);
}

QString systemReason(const QString& path, int error)
{
    if (error == ENOENT || error == ENOTDIR) return QStringLiteral("%1 does not exist.").arg(path);
    return QStringLiteral("%1 cannot be read: %2.").arg(path, QString::fromLocal8Bit(std::strerror(error)));
}

QString xdgHome(const char* variable, const QString& fallback)
{
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value)) return value;
    return QDir::homePath() + fallback;
}

} // namespace

QString regularFileProblem(const QString& path)
{
    if (path.isEmpty()) return QStringLiteral("No file was named.");
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return systemReason(path, errno);
    return notAFile(path, st.st_mode);
}

QString writeTargetProblem(const QString& path)
{
    if (path.isEmpty()) return QStringLiteral("No file was named.");
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return QString();  // a new file
    return notAFile(path, st.st_mode);
}

bool openRegularFile(QFile& file, QString* why)
{
    const QString path = file.fileName();
    const auto fail = [why](const QString& reason) {
        if (why) *why = reason;
        return false;
    };
    if (const QString problem = regularFileProblem(path); !problem.isEmpty()) return fail(problem);
    // Opened without waiting and checked again, so a pipe put in the file's
    // place after the check cannot hold the window either.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return fail(systemReason(path, errno));
    struct stat st;
    QString problem = ::fstat(fd, &st) != 0 ? systemReason(path, errno) : notAFile(path, st.st_mode);
    if (problem.isEmpty() && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        problem = systemReason(path, errno);
    if (!problem.isEmpty()) {
        ::close(fd);
        return fail(problem);
    }
    // The file takes the handle over, also when it fails to open it.
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) return fail(file.errorString());
    return true;
}

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
