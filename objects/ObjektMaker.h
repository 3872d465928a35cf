#pragma once
// The object maker's model: two height profiles and a grey mask combined into
// a 257 x 257 height grid, or the X profile turned into a body of rotation.
// No widgets here: the window frmOjektmaker keeps its controls in step with
// this state and shows the pictures these functions draw.

#include "terrain/clsTerrain.h"

#include <QImage>
#include <QRgb>

#include <array>
#include <cstdint>
#include <vector>

namespace ObjektMaker {

constexpr int ProfileLength = 357;  // indices 0..356; 0..256 are used
constexpr int GridSide = 357;       // ObjectGrid is 0..356 x 0..356
constexpr int ResultCells = 257;    // cells 0..256 are computed
constexpr int PictureSide = 256;    // every picture of the window

// A profile: heights along the columns (X) or rows (Y). The window's own
// commands keep 0..256; files can bring any 16-bit value.
using Profile = std::array<int16_t, ProfileLength>;

// ObjectGrid: 357 x 357 16-bit cells, first index the column and fastest.
class Grid {
public:
    Grid() : m_cells(size_t(GridSide) * GridSide, 0) {}
    int16_t& operator()(int i, int j) { return m_cells[size_t(j) * GridSide + size_t(i)]; }
    int16_t operator()(int i, int j) const { return m_cells[size_t(j) * GridSide + size_t(i)]; }
    const std::vector<int16_t>& cells() const { return m_cells; }
    std::vector<int16_t>& cells() { return m_cells; }
    bool operator==(const Grid&) const = default;

private:
    std::vector<int16_t> m_cells;
};

// The combination modes, in the order of the optResult buttons.
enum ResultModes : int16_t {
    ModeAdd = 0,
    ModeMultiplikation = 1,
    ModeMin = 2,
    ModeMax = 3,
    ModeXor = 4,
    ModeMod = 5,
    ModeSub = 6,
    ModeOr = 7,
    ModeImplication = 8,
};
constexpr int ResultModeCount = 9;

// The form-level state; it lives while the program runs, also between
// openings of the window.
struct State {
    Profile XProfile{};
    Profile YProfile{};
    Grid ObjectGrid;
    int16_t ResultMode = ModeAdd;
    int16_t RotationX = 0;       // copy of chkRotationX: 0 off, 1 on
    bool MaskChanged = false;    // a profile or the mask edited since the last Preview
    int16_t PenWidth = 64;       // the mask pen's width, 128 - Slider1
    int32_t ResultModeIndex = 0; // the mode the last setting file was written with
    int32_t SavedView3D = 0;     // chk3DView as taken by Apply and by saving a setting file
};

// The one instance the window works on.
State& objektMakerState();

// The values of the window's controls the computation and the files use.
// They start from these values at every opening.
struct Controls {
    int32_t View3D = 0;        // chk3DView
    int32_t RotationX = 0;     // chkRotationX
    int32_t RotationMask = 0;  // chkRotationMask
    int32_t YCross = 0;        // chkYCross
    QImage Mask = blankMask(); // PictureZ

    static QImage blankMask();
};

// --- the mask --------------------------------------------------------------

// Reads mask values by scanline: value(i, j) is the pixel's colour
// red + 256 green + 65536 blue divided by 65536, and -1/65536 outside the
// picture. A grey level v gives v * (1 + 1/256 + 1/65536).
class MaskReader {
public:
    explicit MaskReader(const QImage& mask);
    double value(int i, int j) const
    {
        if (i < 0 || j < 0 || i >= m_width || j >= m_height) return -1.0 / 65536.0;
        const QRgb p = m_rows[size_t(j)][i];
        return double(qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16)) / 65536.0;
    }
    // The value rounded halves to even: grey v gives v up to 127, v + 1 from 128.
    int16_t rounded(int i, int j) const;
    // The values of row j at columns 0..count - 1, by one scanline.
    void readRow(int j, double* values, int count) const;

private:
    QImage m_image;  // RGB32 copy (shared, no pixels copied when already RGB32)
    std::vector<const QRgb*> m_rows;
    int m_width = 0;
    int m_height = 0;
};

// The grey level painted for a mask value s read back from a file: s up to
// 127, s - 1 from 128 (the file stores grey 128..255 as 129..256), clamped to
// the range 0..255.
int maskGreyForStored(int s);

// Pen colour and width from the two sliders.
inline int penGrey(int sldHeightZ) { return 255 - sldHeightZ; }
inline int16_t penWidthFromSlider(int slider1) { return int16_t(128 - slider1); }

// A round dot of diameter penWidth + 1 centred on (x, y) in grey (clamped 0..255).
void paintMaskDot(QImage& mask, double x, double y, int penWidth, int grey);

void clearMask(QImage& mask);  // black
void fillMask(QImage& mask);   // white

// The eleven mask shapes of cmbZMask, 1 "Circle" .. 11 "Cross", drawn on a
// black mask. Other numbers leave the mask black.
constexpr int MaskShapeCount = 11;
void drawMaskShape(QImage& mask, int shape);

// A picture as mask: greyscale (picture filter 12), stretched to 256 x 256.
// A null picture, or a filter that did not run, gives a null image; the
// caller then keeps its mask.
QImage maskFromPicture(const QImage& picture);
// Picture filter 4 (diffuse, 8) and filter 3 (blur, 4) on the mask, with a
// progress variable of their own. False when the filter did not run.
bool diffuseMask(QImage& mask);
bool smoothMask(QImage& mask);

// --- the result ------------------------------------------------------------

// What the computation reads besides the profiles and the mask.
struct ComputeOptions {
    int16_t ResultMode = ModeAdd;
    int16_t RotationX = 0;      // 0 combination, 1 rotation body, else nothing
    bool RotationMask = false;  // weight the body with the Y profile and the mask
    bool YCross = false;        // and with the Y profile across
};

// One cell of the combination of profile values x, y (16-bit) and the mask
// value z. Computed wide, stored saturated to 16 bits; a Mod by zero gives 0.
int16_t combineCell(int mode, int32_t x, int32_t y, double z);
// One cell of the weighted rotation body (grid value R); c is 1 without YCross.
int16_t rotationMaskCell(int mode, int32_t R, int32_t y, int32_t c, double z, bool yCross);

// Fills ObjectGrid(0..256, 0..256) from the profiles and the mask.
void computeResult(Grid& grid, const Profile& xProfile, const Profile& yProfile, const QImage& mask,
                   const ComputeOptions& options);

// The largest cell of 0..255 x 0..255, at least 1.
int16_t resultMaximum(const Grid& grid);

// The result picture, 256 x 256. In 2-D the grid is normalised in place so its
// largest drawn cell is 256 (drawing twice gives the same picture) and each
// pixel is the cell clamped to 0..255. In 3-D the grid is left alone and drawn
// as a cyan relief on background.
QImage DrawResult(Grid& grid, bool view3D, QRgb background = qRgb(255, 255, 255));

// The 65 x 65 heights of the 3-D view: a quarter of the cells, mirrored
// across the columns.
HeightArray resultHeights3D(const Grid& grid);

// Preview: computes, clears MaskChanged and returns the drawn result.
QImage cmdPreview(State& state, const Controls& controls, QRgb background = qRgb(255, 255, 255));

// The "Rotation X" box: RotationX = value; a non-zero value mirrors the left
// half of the X profile onto the right.
void setRotationX(State& state, int32_t value);

} // namespace ObjektMaker
