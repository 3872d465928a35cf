#pragma once
// The axonometric painter: a height grid drawn as rows of filled four-corner
// polygons, back to front. The terrain's 3-D view and the object maker use it.

#include "terrain/clsTerrain.h"

#include <QImage>
#include <QRgb>
#include <QString>

#include <cstdint>

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

} // namespace Ansicht3D
