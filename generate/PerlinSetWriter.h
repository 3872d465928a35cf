#pragma once
// Perlin-set files (*.KPS): the terrain's raw heights as a 16-bit grid padded
// by ten rows and columns of 0, after a short tagged header.

#include <QByteArray>
#include <QString>

class clsTerrain;

namespace PerlinSetWriter {

// Characters the name field holds.
constexpr int NameLength = 24;

// The name as the file stores it: Latin-1, cut to 24 characters or filled
// with blanks; characters Latin-1 lacks become "?".
QByteArray nameField(const QString& name);

// The whole file: "KELVARINOR PERLINSET ", "NAME", the name field, "SIZE",
// M = Size + 10 (32-bit), "ARRA" and (M + 1)^2 16-bit heights, x fastest.
// Heights outside 16 bits are written as 0.
QByteArray perlinSetBytes(const clsTerrain& ter, const QString& name);

// Writes the file in one piece, replacing any older file whole; false (old
// file untouched) with the reason in *error when it could not be written.
bool writePerlinSet(const QString& path, const clsTerrain& ter, const QString& name,
                    QString* error = nullptr);

} // namespace PerlinSetWriter
