#include "app/vbConfig.h"

#include "runtime/Files.h"
#include "runtime/Ini.h"
#include "runtime/Ui.h"
#include "terrain/TerrainPicture.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace vbConfig {

QString SettingsFile;
std::vector<PerlinSet> PerlinSetTable;

QString ReadIni(const QString& section, const QString& key)
{
    return StripNull(rt::GetPrivateProfileString(section, key, QString(), SettingsFile));
}

bool WriteIni(const QString& section, const QString& key, const QString& value, QString* error)
{
    return rt::WritePrivateProfileString(section, key, value, SettingsFile, error);
}

bool WriteIni(const QString& section, const rt::IniEntries& entries, QString* error)
{
    return rt::WritePrivateProfileStrings(section, entries, SettingsFile, error);
}

QString StripNull(const QString& s)
{
    const qsizetype nul = s.indexOf(QChar(u'\0'));
    const QString t = nul < 0 ? s : s.left(nul);
    qsizetype first = 0;
    qsizetype last = t.size();
    while (first < last && t[first] == u' ') ++first;
    while (last > first && t[last - 1] == u' ') --last;
    return t.mid(first, last - first);
}

namespace {

PerlinSet readPerlinSet(const QString& path)
{
    PerlinSet set;
    const rt::IniFile ini(path);
    set.name = StripNull(ini.value(QStringLiteral("SET"), QStringLiteral("NAME"), QString()));
    for (int k = 1; k <= 5; ++k) {
        const QString key = QString::number(100 + k).right(2);
        set.layers[k - 1] = StripNull(ini.value(QStringLiteral("PERLIN"), key, QString()));
    }
    return set;
}

bool isUsable(const PerlinSet& set)
{
    return std::all_of(std::begin(set.layers), std::end(set.layers), [](const QString& l) { return !l.isEmpty(); });
}

} // namespace

void LoadPerlinSets(const QString& folder)
{
    const QString dir = findPathNoCase(folder);
    if (rt::listFiles(dir, QStringLiteral("*")).isEmpty()) return;

    std::vector<PerlinSet> table;
    for (const QString& name : rt::listFiles(dir, QStringLiteral("*.INI"))) {
        PerlinSet set = readPerlinSet(QDir(dir).filePath(name));
        if (!isUsable(set)) continue;
        table.push_back(std::move(set));
        if (table.size() == MaxPerlinSets) break;
    }
    PerlinSetTable = std::move(table);
}

} // namespace vbConfig
