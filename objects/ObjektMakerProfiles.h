#pragma once
// The object maker's profile commands: the sixteen preset curves, smoothing,
// the edits of the profile buttons and mouse drawing, and the profile picture.
// Every value stored is rounded halves to even and saturated to 16 bits.

#include "objects/ObjektMaker.h"

#include <QImage>
#include <QRgb>
#include <QStringList>

namespace ObjektMaker {

constexpr int SmoothPreset = 99;
constexpr int PresetCount = 16;

// The list of Combo1: entry n (from 0) is preset n + 1.
QStringList presetNames();

// Writes preset 1..16 into the profile or smooths it (99); other numbers
// change nothing. Every call reseeds the program's random sequence from the
// time, also for presets that draw no random numbers.
void GenerateProfile(int preset, Profile& profile);

// The running five-point mean, forwards then backwards (preset 99).
void smoothProfile(Profile& profile);

// The profile buttons ("Clear", "Full", "Invers", "Sym", "reflecting").
void clearProfile(Profile& profile);    // 0..256 = 0
void fillProfile(Profile& profile);     // 0..256 = 256
void invertProfile(Profile& profile);   // 256 - P, saturated
void symmetricProfile(Profile& profile);// right half = mirrored left half
void reflectProfile(Profile& profile);  // 0..256 reversed
void swapProfiles(Profile& a, Profile& b);  // 0..256 exchanged

// "from Z": the mask's row 127 (X) or column 127 (Y), rounded as the file
// stores it; index 256 lies outside the mask and gives 0.
void profileFromMaskRow(Profile& profile, const QImage& mask, int row = 127);
void profileFromMaskColumn(Profile& profile, const QImage& mask, int column = 127);

// Mouse drawing at (x, y): both clamped to 0..256, P(x) = 256 - y (rounded
// halves to even). mirrored (the X profile with Rotation X) also sets
// P(256 - x). Returns the indices written, for redrawing those columns.
struct DrawnColumns {
    int first = -1;
    int second = -1;  // -1 when not mirrored
};
DrawnColumns drawProfileAt(Profile& profile, double x, double y, bool mirrored);

// The profile as a filled area: for each column the part from y = top - P(i)
// down is fill, the part above it background. top is 255 for the standard
// redraw and 256 after "Invers".
constexpr QRgb ProfileFill = qRgb(0, 0, 0);
constexpr QRgb ProfileBackground = qRgb(255, 255, 255);
QImage drawProfile(const Profile& profile, int top = 255, QRgb fill = ProfileFill,
                   QRgb background = ProfileBackground);
// Redraws one column of a profile picture in place.
void drawProfileColumn(QImage& picture, const Profile& profile, int column, int top = 255,
                       QRgb fill = ProfileFill, QRgb background = ProfileBackground);

} // namespace ObjektMaker
