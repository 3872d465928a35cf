#pragma once
// The elevator: a curve drawn in a square grid of cells that remaps heights,
// the file of named curves ("sets") and the shift that applies the curve.

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class clsTerrain;

// Heights through the elevator curve over x0..x0+extent by y0..y0+extent for
// points with zMin < h < zMax; only when the curve was accepted with OK.
// strength is not used.
void ElevatorShift(clsTerrain& ter, float& strength, std::optional<int32_t> extent, int32_t x0, int32_t y0,
                   int32_t zMin, int32_t zMax);
