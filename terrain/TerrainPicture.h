#pragma once
// Terrain <-> picture: drawing a terrain through the palette, one pixel per
// point, and reading a picture's colours back as heights.

#include "terrain/clsTerrain.h"

#include <QImage>
#include <QString>

#include <cstdint>

// Draws ter into picback, which becomes XPoints x YPoints (Format_RGB32),
// cleared to black first. Points x0..x0+w, y0..y0+h (inclusive) are drawn;
// w and h of -1 mean XPoints + 2 and YPoints + 2; points outside the picture
// are skipped. Busy while it runs. With mode 1 it reports
// progress (on ter) and status per row and, at the end, asks the main window to paint
// picback into the view (rt::ui().refreshMainWindow()); other modes only fill
// picback.
void DrawTerrainToPicture(QImage& picback, const clsTerrain& ter, int32_t x0 = 0, int32_t y0 = 0,
                          int32_t w = -1, int32_t h = -1, int mode = 1);

// Reads pic into ter, which the caller has sized: point (x, y) for
// x = 0..XPoints-1, y = 0..YPoints gets the colour value c = red + 256 green +
// 65536 blue as c / 256 - 32767, rounded halves to even. Pixels outside the
// picture read as c = -1 (height -32767). Busy while it runs; the caller
// rescales afterwards (RunScaleTerrain).
void LoadPictureAsTerrain(const QImage& pic, clsTerrain& ter);

// The height a colour value gives (see LoadPictureAsTerrain).
int32_t colourToHeight(int64_t colourValue);

// path with each component that does not exist as written replaced by the
// entry of its folder that matches without regard to case ("ps/ALPS1.PNG"
// finds "PS/alps1.png"); path unchanged when nothing matches.
QString findPathNoCase(const QString& path);

// Reads a picture file whatever its name's extension says (erode0.flt holds a
// bitmap): the format is decided from the content, and Windows metafiles are
// drawn at their own size (rt::readMetafile). The path is matched
// without regard to case. A null image, with the reason in *error, when the
// file is missing, no regular file (a folder, pipe or device) or unreadable.
QImage LoadPicture(const QString& path, QString* error = nullptr);
