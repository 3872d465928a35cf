#pragma once
// The pens on the top view as plain code: snapping, pick, the stamps into the
// terrain with the marks they leave on the view, and the read-out of the point
// under the mouse. The window feeds it mouse positions in terrain points.

#include <QPointF>
#include <QRectF>
#include <QRgb>
#include <QString>

#include <array>
#include <optional>
#include <vector>

class clsTerrain;

namespace Pens {

enum Shape { PenSquare = 1, PenRound = 2, PenNoise = 3 };

// The pen's controls: Slider1 (radius), Slider2 (height + 32768),
// sliderFineHeight, the pen shape, chkEditSnap and the view's zoom.
struct PenSettings {
    int radius = 10;
    int height = 32768;
    int fineHeight = 0;
    int shape = PenSquare;
    bool snap = false;
    double zoomFactor = 1.0;
};

// The raw height the pen writes.
int32_t penValue(const PenSettings& s);

// Centre of the grid cell of 2r points that p lies in (the snap grid).
QPointF snapPoint(QPointF p, int r);

struct PickResult {
    int sliderValue = 32768;  // new Slider2 value, kept within 1..65534
    QString heightText;       // lblHeight: metres of the picked point, cut to 2 decimals
    QRgb swatch = 0;          // Picture2's colour
    QString pickHeightText;   // lblPickHeigh: the pen height in metres
};

// Takes the height under p into the pen (fine height as in s).
PickResult pick(const clsTerrain& ter, QPointF p, const PenSettings& s, int paletteRow);

// The pen height in metres, cut (not rounded) to two decimals, as lblPickHeigh shows it.
QString penHeightText(const clsTerrain& ter, const PenSettings& s);

// What a stamp leaves on the view: a filled box, a filled circle or dots,
// in the swatch colour, in terrain points.
struct ViewMark {
    enum class Kind { Box, Circle, Dots } kind = Kind::Box;
    QRectF box;                 // Box
    QPointF centre;             // Circle
    double radius = 0;          // Circle
    std::vector<QPointF> dots;  // Dots
    int drawWidth = 1;
};

// Stamps the pen at p (already snapped if snapping is on). A press stamps one
// point wider than the stamps of a stroke. Marks the terrain changed.
ViewMark stamp(clsTerrain& ter, QPointF p, const PenSettings& s, bool press);

// Texts of status panels 2 to 6 for the point under the mouse; nothing while
// the mouse is outside 0..Size-1.
std::optional<std::array<QString, 5>> readout(const clsTerrain& ter, QPointF p);

} // namespace Pens
