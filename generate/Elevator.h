#pragma once
// The elevator: a curve drawn in a square grid of cells that remaps heights,
// the file of named curves ("sets") and the shift that applies the curve.
//
// The grid has (N + 1) x (N + 1) cells; the column is the input height, the
// row the output height with row 0 at the top of the drawing. A cell of 1
// marks a curve point. Cell (0, 0) doubles as the flag "curve accepted with
// OK", which the next shift consumes.

#include <QPoint>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

class clsTerrain;

extern int32_t ElevatorGridSize;           // N = 256
// Where the folder of ElevatorFile cannot be written, sets are saved to a copy
// of the same name in the user's settings folder, and that copy, once made,
// is read in place of ElevatorFile.
extern QString ElevatorFile;               // path of the elevator set file
extern std::vector<uint8_t> ElevatorGrid;  // (N + 1) x (N + 1) cells, column fastest
extern int32_t CurrentElevatorSet;         // number of the elevator set last chosen

// Cell (column, row) of ElevatorGrid; the grid is (re)created on demand.
uint8_t& elevatorCell(int32_t column, int32_t row);

// One set in the file: 20 blank-padded name bytes, then 257 curve bytes;
// curve byte k holds the row marked in column N - k.
inline constexpr int64_t ElevatorRecordLength = 277;
inline constexpr int32_t ElevatorNameLength = 20;

// Clears the grid and marks the diagonal: column c holds row N - c, which maps
// every height to itself.
void resetElevatorGrid();

// Loads set n of ElevatorFile into the grid: each column holds just its
// stored row, so a saved set reloads as it was drawn. Returns the name as stored (padding included, cut at a NUL),
// "nothing" for a set that starts past the end of the file and "" for one
// that starts exactly at the end. A missing file, one that cannot be read (no
// regular file, larger than the whole-file readers take) or a set cut short by
// the end of the file keeps the diagonal, returns "nothing" and says why in
// *error.
QString ReadElevatorRecord(int32_t n, QString* error = nullptr);

// Stores the grid as set n of ElevatorFile under name (cut to 20 characters,
// blank-padded). An empty name writes nothing and succeeds. False, with the
// reason in *error and the file as it was, when the file cannot be read or
// written or set n would leave a gap after its end.
bool WriteElevatorRecord(const QString& name, int32_t n, QString* error = nullptr);

// The names of the whole sets at the start of ElevatorFile, up to the first
// empty name. A missing file gives none; one that cannot be read gives none
// and says why in *error; an incomplete last set is left out and reported in
// *error.
QStringList ElevatorSetNames(QString* error = nullptr);

// The drawn curve as a line through grid points: from the bottom left (0, N),
// then for column N down to 0, within it row 0 to N, every marked cell.
std::vector<QPoint> elevatorCurvePoints();

// The mouse drew at (column, row), both kept to 0..N: the column holds just
// that mark.
void drawElevatorPoint(int32_t column, int32_t row);

// Output height of the curve for a raw height h: the column is
// (h + 32768) \ 512, the row the first marked one from the top, and the
// remainder within the column's 512 steps is kept, so the straight curve maps
// every height to itself. nullopt when the column lies outside the grid or
// holds no mark.
std::optional<int32_t> elevatedHeight(int32_t h);

// Heights through the elevator curve over x0..x0+extent by y0..y0+extent
// (inside the grid) for points with zMin < h < zMax; only when the curve was
// accepted with OK, and it consumes that acceptance. strength is not used.
void ElevatorShift(clsTerrain& ter, float& strength, std::optional<int32_t> extent, int32_t x0, int32_t y0,
                   int32_t zMin, int32_t zMax);
