#pragma once
// Brush routines shared by the stroke brushes, the height filters and the
// generator: the bell and its table, relative noise, diagonal smoothing, the
// erosion pattern stamp and the end of progress.
//
// The filter-style routines take (terrain, strength, extent, x0, y0, zMin,
// zMax) and work on x0..x0+extent by y0..y0+extent, both ends included; points
// of that window outside the grid are left alone. A missing extent means the
// terrain's XPoints. They write heights through row pointers, so the terrain's
// min/max cache is refreshed by its next Range().

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class clsTerrain;

namespace KVFilter {

using Extent = std::optional<int32_t>;

// File name (without folder) of the erosion pattern picture in the program folder.
extern QString ErosionPatternFile;

// The bell over a window of w by hgt starting at (cx, cy): 0.36 at the centre,
// standard deviation one eighth of the window. A window of zero width keeps
// only its centre line.
float Gauss2D(double x, double y, double cx, double cy, double w, double hgt);

// Fills BrushTable with the bell over (0..n, 0..n); n below 0 counts as 0.
void InitBrushTable(int16_t n);

// The table's upper bound n; -1 before InitBrushTable.
int32_t brushTableBound();
// BrushTable(i, j) at [i * (n + 1) + j].
const std::vector<float>& brushTable();

// Table index of an offset into a window of the given length (nearest, halves
// to even), kept inside the table.
int32_t brushTableIndex(double offset, double length);

// The table stretched over the window of w by hgt from (cx, cy), times factor.
// 0 before the table is filled or for a window of no width.
float GetBrushWeight(double x, double y, double cx, double cy, double w, double hgt, double factor);

// Multiplies each point with zMin < h < zMax by 1 + (strength/20)(Rnd - 0.5)
// after raising strength by one (written back).
void AddNoise(clsTerrain& ter, float& strength, Extent extent, int32_t x0, int32_t y0, int32_t zMin, int32_t zMax);

// Averages each point with zMin < h < zMax with its four diagonal neighbours,
// once forward and once backward, in place, within the terrain proper
// (0..Size; neighbours beyond it read its edge). strength is the smoothing size:
// below 3 nothing happens; otherwise it is made odd and kept to 1..10
// (written back).
void SmoothTerrain(clsTerrain& ter, float& strength, Extent extent, int32_t x0, int32_t y0, int32_t zMin,
                   int32_t zMax);

// Raises each point by 3 + (colour \ 256) \ (11 - strength), the colour
// that of the erosion pattern stretched over 1025 points (Size when larger)
// and shifted by the first three characters of seedText (the seed box's
// text); -1 outside the picture. The divisor is kept at 1 or more. zMin and
// zMax are not consulted. False, with the reason in *error and no height
// changed, when the pattern picture cannot be read.
bool ErodeWithBitmap(clsTerrain& ter, float& strength, Extent extent, int32_t x0, int32_t y0, int32_t zMin,
                     int32_t zMax, QString* error = nullptr, const QString& seedText = QString());

// Sets the terrain's progress to 100; changes no height.
void ProgressDone(clsTerrain& ter, float& strength, Extent extent, int32_t x0, int32_t y0, int32_t zMin,
                  int32_t zMax);

// Largest grid index a point may have (spare rows included); -1 when empty.
int32_t lastPoint(const clsTerrain& ter);

// The part of a routine's window x0..x0+extent by y0..y0+extent that lies in
// the grid (up to lastPoint), both ends included.
struct GridWindow {
    int32_t xFirst = 0, xLast = -1, yFirst = 0, yLast = -1;
    bool empty() const { return xFirst > xLast || yFirst > yLast; }
    int32_t columns() const { return xLast - xFirst + 1; }
};
GridWindow clipWindow(const clsTerrain& ter, int64_t extent, int32_t x0, int32_t y0);

} // namespace KVFilter
