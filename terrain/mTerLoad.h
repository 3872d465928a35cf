#pragma once
// Loading a TER file into the current terrain.

#include <QString>

namespace mTerLoad {

// Loads fileName into *CurrentTerrain. The file is read (TerFile::read) into a
// scratch terrain and swapped in only when it was read completely, so a
// refused file (wrong magic, bad, inconsistent or not square sizes, a header
// that makes no sense, a length that does not fit) leaves the current terrain
// as it was; the user is told why. Returns true only when loaded.
// A loaded terrain that uses fewer than 50000 raw steps brings the question
// whether to rescale it (RunScaleTerrain). Busy while it runs.
bool LoadTerFile(const QString& fileName);

} // namespace mTerLoad
