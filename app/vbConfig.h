#pragma once
// The settings file (Kelvarinor.ini) and the perlin-set definitions of the PS
// folder.

#include "runtime/Ini.h"

#include <QString>

#include <vector>

namespace vbConfig {

// Path of the settings file; the start routine sets it.
extern QString SettingsFile;

// The value of key in [section] of SettingsFile; "" when the file, section or
// key is missing. Values are cut at 511 characters.
QString ReadIni(const QString& section, const QString& key);
// Writes key=value into [section] of SettingsFile (file and section created
// on demand). False, with the system's reason in *error, when the settings
// file cannot be written; the old file is kept.
bool WriteIni(const QString& section, const QString& key, const QString& value, QString* error = nullptr);
// Several keys of [section] in one write: all of them or none.
bool WriteIni(const QString& section, const rt::IniEntries& entries, QString* error = nullptr);
// The text before the first zero character, without leading and trailing blanks.
QString StripNull(const QString& s);

// One perlin set: its name ([SET] NAME, may be empty) and its five layer
// pictures ([PERLIN] 01..05, file names inside the PS folder).
struct PerlinSet {
    QString name;
    QString layers[5];
};

constexpr int MaxPerlinSets = 33;

// The perlin sets in listing order; at most MaxPerlinSets rows.
extern std::vector<PerlinSet> PerlinSetTable;

// Reads the definition files (*.ini, any case) of folder into PerlinSetTable,
// in case-insensitive name order, taking the first MaxPerlinSets usable ones.
// Usable: all five [PERLIN] keys 01..05 hold a picture name (the generator
// loads all five). A folder that is missing or holds no files at all leaves
// the table as it was; a folder with files but no usable set empties it.
// The folder's path is matched without regard to case ("PS", "ps").
void LoadPerlinSets(const QString& folder);

// The elevator set file's name when the settings name none ([ELEVATOR] Name).
inline constexpr const char* DefaultElevatorFileName = "Elevator.set";

} // namespace vbConfig
