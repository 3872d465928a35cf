#pragma once
// The main window's decisions as plain code: captions, the settings read at
// start and their defaults. The toolbars' tables are in frmTerToolbar.h.

#include <QRgb>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace MainWindowLogic {

// "Kelvarinor " - the caption of the main window starts with it.
QString ProductTitle();

// "Kelvarinor  [file]".
QString mainCaption(const QString& fileName);
// Caption while minimized: "Ready - Kelvarinor  [file]   ", or "45 % - ..." while busy.
QString minimizedCaption(bool busy, int32_t progress, const QString& fileName);
// Progress bar value: the progress limited to 0 .. 100.
int progressBarValue(int32_t progress);

// cmdGenModify is enabled only for a terrain with content and no "clear Terrain".
bool genModifyEnabled(bool terrainEmpty, bool clearTerrainChecked);

// The [Start], [Directory] and [ELEVATOR] values read at start, with defaults
// for missing or nonsense values.
struct StartSettings {
    int gridPoints = 257;        // OptTer "0".."4" -> 129 .. 2049
    int16_t resizeMode = 0;      // OptZoom as a 16-bit number; 0 when it does not fit
    int paletteRow = 0;          // COLOR 0 .. 7
    std::optional<QRgb> backColor;  // Backcolor, when it is a colour number
    QString objectDirectory;
    QString terrainDirectory;
    QString terragenDirectory;
    QString elevatorName;
};
using IniReader = std::function<QString(const QString& section, const QString& key)>;
StartSettings readStartSettings(const IniReader& readIni);
// The elevator file the installed data brings, used when the settings name none.
QString defaultElevatorName();

} // namespace MainWindowLogic

// The start module's title routine under its own name.
namespace KVTools2 {
using MainWindowLogic::ProductTitle;
}
