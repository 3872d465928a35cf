#include "app/AppState.h"

#include "terrain/TerrainGlobals.h"

int16_t SaveType = 0;
int16_t BitmapSize = 0;

double ZoomFactor = 1.0;
float MaxViewSize = 512.0f;

int16_t ResizeMode = 0;
QString LastDirectory;
QString FileDialogFolder;
QString StartFile;

int32_t RandomSeed = 0;
int16_t CombineMode = 1;
std::array<int16_t, 100> EffectFactors = {};

bool BackupExists = false;
bool ObjectsPresent = false;

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
