#pragma once
// The axonometric painter: a height grid drawn as rows of filled four-corner
// polygons, back to front, and the sampling of a terrain into such a grid.

#include "terrain/clsTerrain.h"

#include <QImage>
#include <QRgb>
#include <QString>

#include <cstdint>
#include <functional>

namespace Ansicht3D {

double DegToRad(double deg);

// Rounds a number given as text to `digits` decimals, working on its digits.
// Non-numeric text and text without a decimal separator come back unchanged.
// The sign is kept aside and a carry runs into the integer part, so
// "-1.879" gives "-2" and "1.96" with one digit gives "2.0".
QString RoundNumberString(const QString& text, int digits);

// Draws heights (indexed (i, j) from 0, in pixels) into pic: polygons of the
// cells (i - 1 .. i, j - 1 .. j), j ascending, i ascending within a row, all in
// fillColour with a lineColour outline. One cell is cellI pixels along i and
// cellJ along j, both turned by angleDeg. Counts beyond the grid are cut to it.
void DrawTerrain3D(QImage& pic, int32_t originX, int32_t originY, int32_t cellI, int32_t cellJ,
                   int32_t countI, int32_t countJ, QRgb fillColour, QRgb lineColour,
                   const HeightArray& heights, double angleDeg);

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
