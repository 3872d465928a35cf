#include "runtime/Files.h"

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

} // namespace rt
