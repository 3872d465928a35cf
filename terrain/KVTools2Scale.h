#pragma once
// Rescaling at command level: the terrain's ScaleTerrain wrapped with status
// text, busy flag, progress and a redraw of the main window.

#include <cstdint>

class clsTerrain;

namespace KVTools2 {

// Shows "Scale Terrain...", rescales ter while busy, sets its progress to 100, redraws the main window
// and lets the event pump run once.
void RunScaleTerrain(clsTerrain& ter);

} // namespace KVTools2

using KVTools2::RunScaleTerrain;
