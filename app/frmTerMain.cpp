#include "app/frmTerMain.h"

#include "app/AppState.h"
#include "app/MainWindowLogic.h"
#include "generate/dlgElevator.h"
#include "app/frmAbout.h"
#include "app/frmTer.h"
#include "app/vbConfig.h"
#include "generate/KVFilter.h"
#include "runtime/Files.h"
#include "runtime/Ini.h"
#include "runtime/Numbers.h"
#include "runtime/Rnd.h"
#include "runtime/Ui.h"
#include "terrain/Palette.h"
#include "terrain/STDIO.h"
#include "terrain/TerrainGlobals.h"

#include <memory>

namespace KVTools2 {

namespace {

std::unique_ptr<clsTerrain> g_current;
std::unique_ptr<clsTerrain> g_generated;

void showSplash()
{
    frmAbout splash;
    splash.exec();
}

// The settings file and the terrain's starting values.
MainWindowLogic::StartSettings startTerrainAndSettings()
{
    vbConfig::SettingsFile = rt::writableDataPath(QStringLiteral("Kelvarinor.ini"), true);
    g_current = std::make_unique<clsTerrain>();
    g_generated = std::make_unique<clsTerrain>();
    CurrentTerrain = g_current.get();
    GeneratedTerrain = g_generated.get();

    TerrainFileName = QStringLiteral("noname");
    TerrainSaved = false;
    TerrainEmpty = true;

    // One read of the settings file for all its keys.
    const rt::IniFile ini(vbConfig::SettingsFile);
    const auto settings = MainWindowLogic::readStartSettings([&ini](const QString& section, const QString& key) {
        return vbConfig::StripNull(ini.value(section, key, QString()));
    });
    ObjectDirectory = settings.objectDirectory;
    LastDirectory = settings.terrainDirectory;
    CurrentTerrain->Init(settings.gridPoints);

    clsTerrain& t = *CurrentTerrain;
    t.setScaleT(30);
    t.setBaseHeight(10);
    t.setHeightScale(20);
    t.setMinTU(-10);
    t.setMaxTU(30);
    t.ScaleTerrain();

    ResizeMode = settings.resizeMode;
    PaletteRow = settings.paletteRow;
    return settings;
}

} // namespace

std::unique_ptr<frmTer> Main(const StartOptions& options)
{
    // The splash first; the first colour scheme until the settings are read.
    if (options.showSplash) showSplash();
    PaletteRow = 0;
    const auto settings = startTerrainAndSettings();
    // A start file that does not exist is dropped silently.
    StartFile = STDIO::FileExists(options.commandLine) ? options.commandLine : QString();
    // The elevator grid, a fresh random seed and the combine mode Add.
    ElevatorGridSize = 256;
    rt::Randomize();
    RandomSeed = int32_t(rt::Int(double(rt::Rnd()) * 999999.0));
    CombineMode = 1;
    // Elevator set 0; a missing or short file leaves the straight curve.
    ElevatorFile = rt::AppPath() + QLatin1Char('/') + settings.elevatorName;
    CurrentElevatorSet = 0;
    ReadElevatorRecord(CurrentElevatorSet);
    // The window's start fills the terrain with 0 afterwards.
    ZoomFactor = 1.0;
    CurrentTerrain->Fill(-32767);
    CurrentTerrain->SetPoint(0, 0, -32768);
    // The brush weight table.
    KVFilter::InitBrushTable(512);
    // Every effect at strength 1; code 0 is no effect.
    EffectFactors.fill(1);
    EffectFactors[0] = 0;
    BackupExists = false;
    ObjectsPresent = false;

    // The main window and its own start.
    auto window = std::make_unique<frmTer>();
    installElevatorDialog(window.get(), window->cmdElevatorPar);
    window->settingsBackColor = settings.backColor;
    if (options.beforeWindowLoad) options.beforeWindowLoad(*window);
    if (!window->Form_Load()) return nullptr;
    // The terrain's extremes and full progress; the first save dialog starts in the Terragen folder.
    CurrentTerrain->Range();
    CurrentTerrain->pProgress = 100;
    FileDialogFolder = settings.terragenDirectory;
    return window;
}

void releaseTerrains()
{
    CurrentTerrain = nullptr;
    GeneratedTerrain = nullptr;
    g_current.reset();
    g_generated.reset();
}

} // namespace KVTools2
