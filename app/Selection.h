#pragma once
// The selection frame on the top view and the terrain menu's commands on the
// framed points, without any window: corners, clipping, fill, lift, lower,
// reflections, trim and the grey picture a framed area becomes as an object.

#include <QImage>
#include <QPointF>

#include <cstdint>
#include <functional>
#include <optional>

class clsTerrain;

namespace Selection {

// A frame in terrain points, corners included.
struct Rect {
    int32_t x1 = 0;
    int32_t y1 = 0;
    int32_t x2 = 0;
    int32_t y2 = 0;
    bool operator==(const Rect&) const = default;
};

// A disc of the round selection, in terrain points.
struct Disc {
    double cx = 0;
    double cy = 0;
    double radius = 0;
};

// Called once per column with the progress 0..100; the window pumps events there.
using Progress = std::function<void(int32_t percent)>;

// A mouse position as a frame corner: the nearest point (halves to even).
int32_t cornerFromMouse(double v);
// The rubber band's second corner is always even: an odd value moves up by one.
int32_t evenCorner(int32_t v);

// Orders each pair so x1 <= x2 and y1 <= y2; an equal pair is widened to two
// points (the larger becomes the smaller + 1).
void convertFrameData(int32_t& x1, int32_t& y1, int32_t& x2, int32_t& y2);
Rect normalised(Rect r);

// The ordered frame cut to the grid 0..size; nothing when no point of it lies
// in the grid, so commands on a frame dragged beside the map change nothing.
std::optional<Rect> clipToGrid(Rect r, int32_t size);

// The radius of the round selection from its centre to the mouse.
double discRadius(QPointF centre, QPointF mouse);
bool inDisc(const Disc& d, int32_t x, int32_t y);
// The disc's bounding frame (not yet clipped).
Rect discBounds(const Disc& d);

// Each works on the frame cut to the grid and returns false, changing nothing,
// when nothing of it lies in the grid. A disc limits the points further.
// Fill writes v into every framed point.
bool fill(clsTerrain& t, Rect frame, int32_t v, const std::optional<Disc>& disc = {},
          const Progress& progress = {});
// Adds (or with a negative amount takes away) the bell over the frame times
// amount, rounded halves to even: the frame's centre changes most.
bool lift(clsTerrain& t, Rect frame, int32_t amount, const std::optional<Disc>& disc = {},
          const Progress& progress = {});
// Mirror along x ("Reflect vertically") and along y ("Reflect horizontally").
bool reflectVertically(clsTerrain& t, Rect frame);
bool reflectHorizontally(clsTerrain& t, Rect frame);
// Moves the framed heights to the grid's origin; everything else becomes the
// lowest height. The grid keeps its size.
bool trim(clsTerrain& t, Rect frame);

// The framed heights as a square grey picture (side = the larger of the
// frame's width and height, the area centred), darkest at the lowest height.
// A null image when nothing of the frame lies in the grid.
QImage objectPicture(const clsTerrain& t, Rect frame, const Progress& progress = {});

// Lift amount of the Depth slider: 2500 raw steps per step.
int32_t liftAmount(int32_t depthSlider);

} // namespace Selection
