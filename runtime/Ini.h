#pragma once
// Private-profile (INI) files as the settings, generator, erosion and
// perlin-set files use them: sections and keys match without regard to case,
// values are stored verbatim, other lines stay where they are, and the file and
// section are created when a value is first written.

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace rt {

// Settings files are a few kilobytes; a larger one reads as empty and is not
// written, so a wrong or damaged file cannot exhaust memory.
constexpr qint64 kLargestIniFile = 1 << 20;

// A settings file read once, for callers that read several keys.
class IniFile {
public:
    // A missing, unreadable or oversized file, or one that is no regular
    // file, reads as empty.
    explicit IniFile(const QString& path);
    // As GetPrivateProfileString, from the contents read at construction.
    QString value(const QString& section, const QString& key, const QString& def) const;
    // Why the file was not read; empty when it was.
    const QString& error() const { return m_error; }
    // Whether the file has a "[section]" line.
    bool hasSection(const QString& section) const;

private:
    struct Entry {
        QString section, key, value;
    };
    std::vector<Entry> m_entries;
    QStringList m_sections;
    QString m_error;
};

// The value of key in section, or def when the file, section or key is missing.
// Values are cut at 511 characters (the callers' 512-character buffer).
// Reads the file on every call: use IniFile for more than one key.
QString GetPrivateProfileString(const QString& section, const QString& key, const QString& def,
                                const QString& path);

// Writes key=value into section, creating the file and section on demand.
// Returns false, with the system's reason in *error, when the file cannot be
// read or written (the old file is kept).
bool WritePrivateProfileString(const QString& section, const QString& key, const QString& value,
                               const QString& path, QString* error = nullptr);

// Writes several keys into section in one replacement of the file, so a
// failure part way never leaves some of them written.
using IniEntries = std::vector<std::pair<QString, QString>>;
bool WritePrivateProfileStrings(const QString& section, const IniEntries& entries, const QString& path,
                                QString* error = nullptr);

} // namespace rt
