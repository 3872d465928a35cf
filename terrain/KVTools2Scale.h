#pragma once
// Rescaling at command level: the terrain's ScaleTerrain wrapped with status
// text, busy flag, progress and a redraw of the main window.

#include <cstdint>
#include <functional>

class clsTerrain;

namespace KVTools2 {

// Shows "Scale Terrain...", rescales ter while busy, sets its progress to 100, redraws the main window
// and lets the event pump run once.
void RunScaleTerrain(clsTerrain& ter);

// The heights spread over -32767..32767 around their centre (min..max of the
// terrain as last scanned), for data whose raw values matter rather than its
// metres; a flat terrain or one that fills the range already reads as it is.
std::function<int32_t(int32_t)> fullRangeSpread(const clsTerrain& ter);

} // namespace KVTools2

using KVTools2::RunScaleTerrain;
