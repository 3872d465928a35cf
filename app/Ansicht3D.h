#pragma once
// The 3-D view's sampling of a terrain into a height grid; the painter that
// draws such a grid is in terrain/Painter3D.h, shared with the object maker.

#include "terrain/Painter3D.h"
#include "terrain/clsTerrain.h"

#include <QImage>
#include <QRgb>
#include <QString>

#include <cstdint>
#include <functional>

namespace Ansicht3D {

// Samples per side of the 3-D view's grid, less one.
constexpr int32_t ViewCells = 128;

// Terrain points per sample: Size / 128 (a fraction for sizes that are not
// 128..2048 powers of two); 1 for an empty grid.
double SampleStepFor(int32_t size);

// The 129 x 129 heights of the 3-D view in units of 40 m: element (128 - x, y)
// holds the terrain at (x * step, y * step), so the first index is mirrored.
// pump runs after each sampled column (may be empty).
HeightArray SampleTerrain3D(const clsTerrain& ter, double step, const std::function<void()>& pump = {});

// The grid turned by 180 degrees: (i, j) goes to (last - i, last - j).
void FlipHeights180(HeightArray& heights);

} // namespace Ansicht3D
