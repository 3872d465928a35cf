#pragma once
// The height effects of the Effects tab: the dispatcher over the twelve effect
// codes and the whole-grid filters that live nowhere else (stretch, sine and
// power shift, inversion).
//
// The filters take the brush routines' parameter list (terrain, strength,
// extent, x0, y0, zMin, zMax) and change only points with zMin < h < zMax of
// the window x0..x0+extent by y0..y0+extent that lies in the grid.

#include "generate/KVFilter.h"

#include <QString>

#include <cstdint>

class clsTerrain;

namespace KVFilter {

enum EffectCode : int16_t {
    EffectSmooth = 1,
    EffectNoise = 2,
    EffectInvers = 3,
    EffectElevatorShift = 4,
    EffectErosionRiver = 5,
    EffectInversGamma = 6,
    EffectGamma = 7,
    EffectSinus = 8,
    EffectErosionRain = 9,
    EffectStretch = 10,
    EffectOptimized = 11,
    EffectNaturalErosion = 12,
};

// Runs effect `code` on ter, busy for the whole run whatever the code. A missing extent means XPoints + 10. Codes outside
// 1..12 and code 9 change nothing. False, with the reason in *error and the
// terrain unchanged, when the erosion pattern picture of code 5 cannot be read;
// seedText shifts that pattern (see ErodeWithBitmap).
bool ApplyFilter(int16_t code, clsTerrain& ter, float& strength, Extent extent, int32_t x0, int32_t y0,
                 int32_t zMin, int32_t zMax, QString* error = nullptr, const QString& seedText = QString());

// Rescales the terrain, then maps each point through the signed square
// |s h| h (s = 1.7 / 65536, written back into strength) and spreads the
// results over -32765..32765.
void StretchTerrain(clsTerrain& ter, float& strength, Extent extent, int32_t x0, int32_t y0, int32_t zMin,
                    int32_t zMax);

// As StretchTerrain with the curve sin(s (h + 32768)), s = 1.7 / 65536
// (written back).
void ShiftTerrainSine(clsTerrain& ter, float& strength, Extent extent, int32_t x0, int32_t y0, int32_t zMin,
                      int32_t zMax);

// As StretchTerrain with the curve sign(h) |h|^p, p = strength / 4 (written
// back, kept to 0..64 so the curve stays finite). The window measured is one
// point short of x0+extent at both ends; points outside it keep their heights.
void ShiftTerrainPower(clsTerrain& ter, float& strength, Extent extent, int32_t x0, int32_t y0, int32_t zMin,
                       int32_t zMax);

// Negates every point of the grid; strength, window and band are ignored.
// The lowest 32-bit height becomes the highest.
void ReverseTerrain(clsTerrain& ter, float& strength, Extent extent, int32_t x0, int32_t y0, int32_t zMin,
                    int32_t zMax);

} // namespace KVFilter
