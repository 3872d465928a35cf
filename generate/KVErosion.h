#pragma once
// Droplet erosion: random drops run downhill diagonally and dig a small bell
// shaped hollow at each step, deeper the further they fell; and the erosion
// settings files (*.par, section "Erosion").

#include "runtime/Ui.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

class clsTerrain;

namespace KVErosion {

// The four values of the settings dialog; the erosion asks for them through
// the user-interface service.
using ErosionSettings = rt::ErosionSettings;

// Lowest of the four diagonal neighbours of (x, y) when strictly lower than
// the centre, else the centre's height; (x, y) moves to that neighbour. Tried
// in the order (x-1,y-1), (x-1,y+1), (x+1,y-1), (x+1,y+1); the first of equal
// ones wins. The spare rows and columns are read as they are stored.
int32_t FindLowestNeighbour(const clsTerrain& ter, int32_t& x, int32_t& y);

// Lowers the square Int(x - r/2)..Int(x + r/2) (both axes) by amount times the
// bell over it; points off the allocated grid (0..Size+2) are left out.
void DigGaussBrush(clsTerrain& ter, int32_t x, int32_t y, int32_t r, double amount);

// Runs the drops with the given settings: a drop starts at x0 + Int(extent *
// Rnd) + 2, y likewise, only when that point lies within 0..Size (beyond, as
// GetPoint clamps it) and its height strictly between zMin and zMax, and ends
// in a pit, after Size steps, or on reaching x0 or y0 or x0 + extent or
// y0 + extent or a spare row or column, before digging there.
void runDrops(clsTerrain& ter, const ErosionSettings& s, int32_t extent, int32_t x0, int32_t y0, int32_t zMin,
              int32_t zMax);

// --- settings files --------------------------------------------------------------

// Writes the four keys in section "Erosion". False with the reason in *error
// when the file cannot be written (an older file of that name is kept).
bool WriteErosionSettings(const QString& path, const ErosionSettings& s, QString* error = nullptr);

// Reads the four keys; a missing key takes its reading default (1000, 1, 1, 4).
// nullopt, with the reason in *error, when the file cannot be read (missing,
// no regular file, too large), has no "Erosion" section, or a key holds no
// number or a number outside its slider's range (the refused keys named):
// nothing is then taken.
std::optional<ErosionSettings> ReadErosionSettings(const QString& path, QString* error = nullptr);

} // namespace KVErosion

// Asks for the settings, rescales the terrain and erodes x0..x0+extent by
// y0..y0+extent. strength is overwritten with the drop count (0 when
// cancelled).
void ErodeDroplets(clsTerrain& ter, float& strength, std::optional<int32_t> extent, int32_t x0, int32_t y0,
                   int32_t zMin, int32_t zMax);
