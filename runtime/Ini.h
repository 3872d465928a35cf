#pragma once
// Private-profile (INI) files as the settings, generator, erosion and
// perlin-set files use them: sections and keys match without regard to case,
// values are stored verbatim, other lines stay where they are, and the file and
// section are created when a value is first written.

#include <QString>

namespace rt {

// The value of key in section, or def when the file, section or key is missing.
// Values are cut at 511 characters (the callers' 512-character buffer).
QString GetPrivateProfileString(const QString& section, const QString& key, const QString& def,
                                const QString& path);

// Writes key=value into section, creating the file and section on demand.
// Returns false when the file cannot be written (the old file is kept).
bool WritePrivateProfileString(const QString& section, const QString& key, const QString& value,
                               const QString& path);

} // namespace rt
