#pragma once
// The Z view without a window: the side profile of one row or column, the
// colour bar and the two Z-range sliders with their metre boxes.

#include <QImage>
#include <QRgb>
#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class clsTerrain;

namespace Profile {

// ViewAxis: 1 follows the row chosen with sldXView, 0 the column of SldYView.
constexpr int AlongRow = 1;
constexpr int AlongColumn = 0;

// Bars 0..Size of a profile, each rising from the bottom of a picture whose
// scale is scaleHeight high and Size wide.
struct Bars {
    double scaleHeight = 0;
    std::vector<double> heights;
};

// A profile line inside the grid: positions past either edge take the edge,
// so a slider left over from a larger terrain still reads this one.
int32_t clampLine(int32_t position, int32_t size);

// The height of the profile's point i on the chosen line.
float pointTU(const clsTerrain& t, int32_t i, int32_t position, int axis);

// Metres with true proportions for a picture of the given size: the scale is
// Size wide and Size x ScaleT x height / width metres high; each bar is the
// point's height in metres above the terrain's lowest unit.
Bars metresProfile(clsTerrain& t, int32_t position, int axis, QSize picture);
// Raw heights over the terrain's raw range; nothing for a flat terrain.
std::optional<Bars> rawProfile(clsTerrain& t, int32_t position, int axis);

// The bars drawn into a picture of the given size on white, each bar wide
// enough to touch its neighbour; bars taller than the scale are cut.
QImage drawBars(const Bars& bars, QSize picture, QRgb colour);

// The colour bar: 256 lines of the palette row, the highest colour at the top,
// stretched to the given size.
QImage colourBar(QSize picture, int paletteRow);

// The Z-range sliders after one was moved: the other keeps one step away, and
// both stay within 0..top (a minimum at the top pulls itself one step down).
struct ZRange {
    int32_t min = 0;
    int32_t max = 0;
    bool operator==(const ZRange&) const = default;
};
ZRange afterMinChange(ZRange r, int32_t top);
ZRange afterMaxChange(ZRange r, int32_t top);

// A slider value's metres as the box shows them.
QString metresText(const clsTerrain& t, int32_t sliderValue);
// The slider value for metres typed into a box, within 0..top; nothing when
// the text is not a number.
std::optional<int32_t> sliderFromMetres(const clsTerrain& t, const QString& text, int32_t top);

} // namespace Profile
