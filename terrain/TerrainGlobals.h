#pragma once
// The program-wide terrain state that every subsystem reaches.

#include "terrain/clsTerrain.h"

#include <QString>

// The one current terrain; lives from start-up to exit.
extern clsTerrain* CurrentTerrain;
// Scratch terrain for resizing and the generator preview.
extern clsTerrain* GeneratedTerrain;
// Nothing to save (fresh or cleared terrain).
extern bool TerrainEmpty;
// Saved since its last change.
extern bool TerrainSaved;
// The current terrain's file name, "noname" when it has none.
extern QString TerrainFileName;
