#pragma once
// The zoom of the height-map view as plain arithmetic: the window applies the
// results to Picture1, the tests check them without a window.

#include <QPointF>
#include <QString>

#include <optional>

namespace Zoom {

constexpr double MinZoom = 0.25;
constexpr double MaxZoom = 4.0;
// The smallest window limit used: a minimized or tiny window must not give a
// zero or negative zoom.
constexpr double MinViewLimit = 16.0;

// Zoom after pressing a zoom button: an absent factor keeps the zoom, 0 goes
// back to 100 %, anything else multiplies; the result stays within 0.25 .. 4.
double applyFactor(double zoom, std::optional<double> factor);

// Lowers the zoom so that the view of a terrain of `size` (points per side - 1)
// fits the window limit `maxViewSize`.
double fitToView(double zoom, int size, double maxViewSize);

// Side of the view in pixels: zoom x (size + 3), at least 1.
int viewSide(double zoom, int size);

// The largest view side a window of the given inner height allows.
double maxViewSizeForHeight(double innerHeight, double margin);

// Status bar panel 1: "256 x 256   Zoom =100.%".
QString statusText(int size, double zoom);

// A mouse position on the view (pixels) as terrain coordinates 0 .. size:
// the view's coordinate system spans `size` units across its whole side.
QPointF viewToTerrain(QPointF pixel, int size, int viewSidePixels);
// The reverse, for drawing marks on the view.
QPointF terrainToView(QPointF point, int size, int viewSidePixels);

} // namespace Zoom
