#include "terrain/TerrainGlobals.h"

clsTerrain* CurrentTerrain = nullptr;
clsTerrain* GeneratedTerrain = nullptr;
bool TerrainEmpty = true;
bool TerrainSaved = true;
QString TerrainFileName = QStringLiteral("noname");
