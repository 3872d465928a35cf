#pragma once
// The stroke brushes as plain code: the mask a stroke marks while the mouse
// drags, and the brush applied around every marked point on release. The
// window feeds it mouse positions in terrain points.

#include <QPoint>
#include <QPointF>
#include <QString>

#include <cstdint>
#include <vector>

class clsTerrain;

namespace Brushes {

// FilterTool values.
enum Tool { NoTool = 0, Up = 1, Down = 2, Erode = 3, Noise = 4, Smooth = 5, Sharpen = 6 };

// StrokeMask: (0..n, 0..n) flags, n = the terrain's XPoints.
class StrokeMask {
public:
    // Re-created empty for a terrain of xPoints.
    void reset(int32_t xPoints);
    // Marks (x, y); points outside the mask are ignored (false).
    bool mark(int32_t x, int32_t y);
    bool marked(int32_t x, int32_t y) const;
    int32_t bound() const { return m_bound; }
    // The flags of column x, y = 0..bound.
    const uint8_t* column(int32_t x) const { return m_cells.data() + size_t(x) * size_t(m_bound + 1); }

private:
    int32_t m_bound = -1;
    std::vector<uint8_t> m_cells;  // column-major: the stroke is applied x outer, y inner
};

// Mouse down: marks the press rounded to whole points.
void markPress(StrokeMask& mask, QPointF p);
// Mouse move: marks the point kept within 0..size; returns it for the red dot.
QPoint markDrag(StrokeMask& mask, QPointF p, int32_t size);

struct StrokeSettings {
    int tool = NoTool;
    int radius = 10;    // Slider1; the brush square has side 2r
    int strength = 5;   // sldDepthEffects
    QString seedText;   // txtRandom: shifts the erosion pattern
};

// The up (sign 1) or down (sign -1) brush once around (i, j): each point of
// the square (i - r .. i + r) gains 20 d w, w the table bell scaled by the strength.
void raiseAround(clsTerrain& ter, int32_t i, int32_t j, int32_t d, int32_t strength, int sign);

// Applies the brush around every marked point of the mask (row and column 0
// excepted), reporting progress per column, and marks the terrain changed for
// each point applied; busy while it runs. False, with the reason in
// *error, when the erosion pattern cannot be read: the rest of the stroke is
// then left out.
bool applyStroke(clsTerrain& ter, const StrokeMask& mask, const StrokeSettings& s, QString* error = nullptr);

} // namespace Brushes
