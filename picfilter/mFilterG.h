#pragma once
// The picture filter library: 32 numbered filters on a picture, independent of
// any window. The object menu and the object maker call it.

#include <QImage>

#include <cstdint>

namespace mFilterG {

// Filter numbers with the meaning of their parameter.
enum PictureFilterNumber : int32_t {
    pfSharpen = 1,                  // strength (not -8)
    pfInvert = 2,
    pfBlur = 3,
    pfDiffuse = 4,                  // spread in pixels
    pfSmooth = 5,
    pfSharpenSoft = 6,              // strength (not -1)
    pfContour = 7,                  // offset colour &H00BBGGRR
    pfEmbossDiagonalInverse = 8,    // offset colour
    pfEmbossWest = 9,               // offset colour
    pfEmbossDiagonal = 10,          // offset colour
    pfEmbossEast = 11,              // offset colour
    pfGreyscale = 12,
    pfEmbossSobel = 13,
    pfBrightness = 14,              // change in percent
    pfMosaic = 15,                  // block size, at least 1
    pfSwapChannels = 16,            // permutation 1 to 5
    pfContrast = 17,                // change in percent
    pfColourThreshold = 18,         // threshold colour
    pfDitherCarry = 19,
    pfDitherOrdered = 20,
    pfDitherFloydSteinberg = 21,    // error scale, not 0
    pfDitherBurkes = 22,            // error scale, not 0
    pfDitherStucki = 23,            // error scale, not 0
    pfAqua = 24,
    pfDilate = 25,
    pfErode = 26,
    pfInnerEdge = 27,
    pfAutoLevels = 28,
    pfNoise = 29,                   // amplitude
    pfSaturation = 30,              // change in percent
    pfGamma = 31,                   // gamma x 100, at least 1
    pfMaskThreshold = 32,           // threshold 0..255
};

// Runs filter filterNo over the picture with param, in place; the picture keeps
// its size and format. progress receives the filter's progress (100 at the end)
// while the event pump runs once per row.
// Returns false, with picture and progress untouched, when nothing ran: a call
// made while another runs, an empty picture, an unknown filter number, or a
// parameter the filter cannot use (see the list above).
bool ApplyPictureFilter(int32_t filterNo, QImage& picture, int32_t param, int32_t& progress);

// True while ApplyPictureFilter runs.
bool PictureFilterBusy();

// Splits a colour &H00BBGGRR: r is colour modulo 256 (with the sign of colour),
// g and b the second and third byte.
void SplitRGB(int32_t colour, int32_t& r, int32_t& g, int32_t& b);

} // namespace mFilterG
