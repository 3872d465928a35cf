#pragma once
// Import of DEM/HGT elevation files: a square grid of signed big-endian 16-bit
// heights in metres, no header, resampled to a 1025-point terrain.

#include <QString>

namespace mTerLoad {

// Loads fileName into CurrentTerrain. Returns false, after saying why, when
// the file cannot be read or is no HGT grid (see hgtGridSide; the length is
// checked before the file is read); CurrentTerrain is then unchanged.
// Void samples (-32768) and heights above 9000 m are errors: at the first one
// the user chooses between repairing them (the previous point's height) and
// zero. Afterwards the heights fill the full raw range and the terrain-unit
// range is the file's metres / 10 (point spacing 10 m). Busy while it runs.
bool LoadHgtFile(const QString& fileName);

// Height of sample k (0-based) of an HGT file's bytes; the caller checks k.
int readHgtSample(const QByteArray& data, qsizetype k);

// Side length (points) of the square grid a file of this many bytes holds;
// 0 when the length is below 8 bytes, not twice a square number, or the
// square is larger than 3601 x 3601 (the finest tiles).
int hgtGridSide(qint64 byteLength);

} // namespace mTerLoad
