#include "app/AppState.h"

#include "terrain/TerrainGlobals.h"

int16_t SaveType = 0;
bool PictureResizeConfirmed = false;
int16_t BitmapSize = 0;

double ZoomFactor = 1.0;
float MaxViewSize = 512.0f;

int16_t ResizeMode = 0;
QString ObjectDirectory;
QString LastDirectory;
QString TerragenDirectory;
QString StartFile;
QString PluginDirectory;

int32_t RandomSeed = 0;
int16_t CombineMode = 1;
std::array<int16_t, 100> EffectFactors = {};
int32_t ElevatorGridSize = 256;
QString ElevatorFile;
std::vector<uint8_t> ElevatorGrid;
int32_t CurrentElevatorSet = 0;
bool PictureFilterBusy = false;

bool BackupExists = false;
bool ObjectsPresent = false;

uint8_t& elevatorCell(int32_t column, int32_t row)
{
    const size_t side = size_t(ElevatorGridSize) + 1;
    if (ElevatorGrid.size() != side * side) ElevatorGrid.assign(side * side, 0);
    return ElevatorGrid[size_t(row) * side + size_t(column)];
}

void markTerrainChanged()
{
    TerrainEmpty = false;
    TerrainSaved = false;
}

void markTerrainCleared()
{
    TerrainEmpty = true;
}

void markTerrainLoaded()
{
    TerrainEmpty = false;
}

void markTerrainSavedByFileSave()
{
    TerrainEmpty = false;
    TerrainSaved = true;
}

void markTerrainSaved()
{
    TerrainSaved = true;
}

bool closingNeedsSaveQuestion()
{
    return !TerrainEmpty && !TerrainSaved;
}

ProgramVersion programVersion()
{
    return {1, 1, 1};
}
