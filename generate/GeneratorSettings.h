#pragma once
// Generator settings files (*.par): the panel's values in the section
// "Generator" of an INI file. The erosion settings share the extension but
// not the section.

#include <QString>
#include <QStringList>

#include <optional>

namespace GeneratorSettings {

// The panel's values as saved.
struct PanelValues {
    int perlin = -1;       // selected perlin set, -1 for none
    int iteration = 1;     // levels summed, 1..11
    int height = 100;      // layer weight in percent, 1..100
    int structure = 2;     // first picture of the set, 0..4
    QString seed = QStringLiteral("0");  // the seed box's text as typed
    int modify = 1;        // combine mode
    int highRes = 0;       // 0 or 1
    int roughness = 0;     // noise of each refinement, 0..10
};

// Writes the eight keys into path. False, with the system's reason in
// *error, when the file could not be written (an older file is then kept).
bool WriteSettings(const QString& path, const PanelValues& values, QString* error = nullptr);

// What a file holds: each value present and sound, the keys that were present
// but refused, and whether the file had any generator key at all. A missing
// key, or a refused one, leaves its control as it is.
struct LoadedValues {
    std::optional<int> perlin;
    std::optional<int> iteration;
    std::optional<int> height;
    std::optional<int> structure;
    std::optional<QString> seed;
    std::optional<int> modify;
    std::optional<int> highRes;
    std::optional<int> roughness;
    QStringList refused;
    bool anyKey = false;
    QString unreadable;  // why the file could not be read; empty when it was
};

// Reads path; perlinCount is the number of sets in the list (an index past it
// is refused).
LoadedValues ReadSettings(const QString& path, int perlinCount);

// The message for a file that gave nothing: unreadable (missing, no regular
// file, too large) or without any generator key. Empty when it gave values.
QString nothingLoadedMessage(const QString& path, const LoadedValues& values);

// The message for a file with refused values; empty when all were taken.
QString refusedMessage(const LoadedValues& values);

} // namespace GeneratorSettings
