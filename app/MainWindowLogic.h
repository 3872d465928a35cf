#pragma once
// The main window's decisions as plain code: captions, which toolbar buttons
// ActualScreen enables, the settings read at start and their defaults.

#include <QRgb>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace MainWindowLogic {

// "Kelvarinor " - the caption of the main window starts with it.
QString ProductTitle();

// "Kelvarinor  [file]".
QString mainCaption(const QString& fileName);
// Caption while minimized: "Ready - Kelvarinor  [file]   ", or "45 % - ..." while busy.
QString minimizedCaption(bool busy, int32_t progress, const QString& fileName);
// Progress bar value: the progress limited to 0 .. 100.
int progressBarValue(int32_t progress);

// One button of the main toolbar, by 1-based position.
enum class ButtonKind { Button, Separator, Placeholder };
struct ToolButtonSpec {
    int position;
    ButtonKind kind;
    QString key;
    QString caption;
    QString toolTip;
    QString description;
    QString iconName;  // desktop theme icon name
};
// All 40 positions of Toolbar1, separators and placeholders included.
const std::vector<ToolButtonSpec>& toolbar1Buttons();

// Positions ActualScreen addresses.
enum Toolbar1Position : int {
    PosNew = 1, PosOpen = 2, PosSave = 3, PosSaveAs = 5, PosPrint = 7, PosRestore = 9, PosBackup = 10,
    PosOptions = 12, PosClear = 14, PosAbout = 17, PosZoomIn = 20, PosZoomOut = 21, PosZoom100 = 22,
    PosTerragen = 29, PosView3d = 32, PosObjectMaker = 35, PosSavePerlin = 40,
};

// The enable/disable changes ActualScreen makes to Toolbar1 (positions not
// listed keep their state), in the order it makes them.
struct ButtonChange {
    int position;
    bool enabled;
};
std::vector<ButtonChange> toolbarChanges(bool terrainEmpty, bool backupExists, bool objectsPresent);
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
