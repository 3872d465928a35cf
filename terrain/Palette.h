#pragma once
// The view colours: one colour per height class (0..PaletteCount) for each of
// the eight colour schemes the options dialog offers, and the chosen scheme.

#include <QImage>
#include <QRgb>

#include <cstdint>

constexpr int PaletteCount = 255;
constexpr int PaletteSchemes = 8;

// Palette[heightClass][scheme]; filled by LoadPalette.
extern QRgb Palette[PaletteCount + 1][PaletteSchemes];
// The chosen colour scheme (settings key Start/COLOR).
extern int PaletteRow;

// Builds all eight schemes from their colour stops (every 16th class and the
// last one), running linearly between the stops.
void LoadPalette();

// The palette as a 256 x 8 picture: column x is height class x, row y scheme y.
QImage PalettePicture();

// Height class of a raw height: (raw + 32768) \ 256, limited to 0..PaletteCount.
int heightClass(int32_t raw);

// PaletteRow limited to the schemes that exist, so a nonsense settings value
// never indexes outside the table.
int paletteRowClamped();
