#pragma once
// Droplet erosion: random drops run downhill diagonally and dig a small bell
// shaped hollow at each step, deeper the further they fell.

#include <cstdint>
#include <optional>

class clsTerrain;

// Asks for the erosion settings, then erodes x0..x0+extent by y0..y0+extent.
// strength is overwritten with the drop count (0 when cancelled).
void ErodeDroplets(clsTerrain& ter, float& strength, std::optional<int32_t> extent, int32_t x0, int32_t y0,
                   int32_t zMin, int32_t zMax);
