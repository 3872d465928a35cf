#include "objects/ObjektMaker.h"

#include "picfilter/mFilterG.h"
#include "runtime/Numbers.h"
#include "terrain/Painter3D.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <type_traits>
#include <utility>

namespace ObjektMaker {

State& objektMakerState()
{
    static State state;
    return state;
}

QImage Controls::blankMask()
{
    QImage mask(PictureSide, PictureSide, QImage::Format_RGB32);
    mask.fill(qRgb(0, 0, 0));
    return mask;
}

// --- the mask ---------------------------------------------------------------

MaskReader::MaskReader(const QImage& mask)
    : m_image(mask.format() == QImage::Format_RGB32 || mask.format() == QImage::Format_ARGB32
                  ? mask
                  : mask.convertToFormat(QImage::Format_RGB32)),
      m_width(mask.width()),
      m_height(mask.height())
{
    m_rows.reserve(size_t(std::max(m_height, 0)));
    for (int j = 0; j < m_height; ++j) m_rows.push_back(reinterpret_cast<const QRgb*>(m_image.constScanLine(j)));
}

int16_t MaskReader::rounded(int i, int j) const
{
    return rt::CInt(value(i, j));
}

void MaskReader::readRow(int j, double* values, int count) const
{
    const int inside = (j >= 0 && j < m_height) ? std::min(count, m_width) : 0;
    const QRgb* row = inside ? m_rows[size_t(j)] : nullptr;
    for (int i = 0; i < inside; ++i)
        values[i] = double(qRed(row[i]) | (qGreen(row[i]) << 8) | (qBlue(row[i]) << 16)) / 65536.0;
    for (int i = inside; i < count; ++i) values[i] = -1.0 / 65536.0;
}

int maskGreyForStored(int s)
{
    return std::clamp(s >= 128 ? s - 1 : s, 0, 255);
}

namespace {

QRgb grey(int g)
{
    g = std::clamp(g, 0, 255);
    return qRgb(g, g, g);
}

// The mask as RGB32 of its own size, so pixels can be written by scanline.
void makeWritable(QImage& mask)
{
    if (mask.isNull()) mask = Controls::blankMask();
    if (mask.format() != QImage::Format_RGB32) mask = mask.convertToFormat(QImage::Format_RGB32);
}

void setPixelSafe(QImage& mask, int x, int y, QRgb colour)
{
    if (x < 0 || y < 0 || x >= mask.width() || y >= mask.height()) return;
    reinterpret_cast<QRgb*>(mask.scanLine(y))[x] = colour;
}

// Inclusive horizontal line, cut to the picture.
void hLine(QImage& mask, int x1, int x2, int y, QRgb colour)
{
    if (y < 0 || y >= mask.height()) return;
    if (x1 > x2) std::swap(x1, x2);
    x1 = std::max(x1, 0);
    x2 = std::min(x2, mask.width() - 1);
    QRgb* row = reinterpret_cast<QRgb*>(mask.scanLine(y));
    for (int x = x1; x <= x2; ++x) row[x] = colour;
}

void filledBox(QImage& mask, int x1, int y1, int x2, int y2, QRgb colour)
{
    for (int y = std::min(y1, y2); y <= std::max(y1, y2); ++y) hLine(mask, x1, x2, y, colour);
}

void boxOutline(QImage& mask, int x1, int y1, int x2, int y2, QRgb colour)
{
    hLine(mask, x1, x2, y1, colour);
    hLine(mask, x1, x2, y2, colour);
    for (int y = y1; y <= y2; ++y) {
        setPixelSafe(mask, x1, y, colour);
        setPixelSafe(mask, x2, y, colour);
    }
}

// Pixels whose centres lie inside the ellipse with half-axes rx, ry.
void filledEllipse(QImage& mask, double cx, double cy, double rx, double ry, QRgb colour)
{
    for (int y = int(std::floor(cy - ry)); y <= int(std::ceil(cy + ry)); ++y) {
        const double t = (y - cy) / ry;
        if (t * t > 1.0) continue;
        const double half = rx * std::sqrt(1.0 - t * t);
        hLine(mask, int(std::ceil(cx - half - 1e-9)), int(std::floor(cx + half + 1e-9)), y, colour);
    }
}

void filledCircle(QImage& mask, double cx, double cy, double r, QRgb colour)
{
    filledEllipse(mask, cx, cy, r, r, colour);
}

} // namespace

void paintMaskDot(QImage& mask, double x, double y, int penWidth, int g)
{
    makeWritable(mask);
    const double r = (std::max(penWidth, 0) + 1) / 2.0;
    const int cx = rt::CLng(x);
    const int cy = rt::CLng(y);
    if (r <= 0.5) {
        setPixelSafe(mask, cx, cy, grey(g));
        return;
    }
    filledCircle(mask, cx, cy, r, grey(g));
}

void clearMask(QImage& mask)
{
    makeWritable(mask);
    mask.fill(qRgb(0, 0, 0));
}

void fillMask(QImage& mask)
{
    makeWritable(mask);
    mask.fill(qRgb(255, 255, 255));
}

void drawMaskShape(QImage& mask, int shape)
{
    clearMask(mask);
    const QRgb white = qRgb(255, 255, 255);
    const QRgb black = qRgb(0, 0, 0);
    switch (shape) {
    case 1:  // Circle
        filledCircle(mask, 127, 127, 120, white);
        break;
    case 2:  // Square
        filledBox(mask, 10, 10, 246, 246, white);
        break;
    case 3:  // Pyramide: grey rising from the edge to the centre
        for (int i = 0; i <= 127; ++i) boxOutline(mask, i + 1, i + 1, 255 - i, 255 - i, grey(2 * i));
        break;
    case 4:  // Ring
        filledCircle(mask, 127, 127, 120, white);
        filledCircle(mask, 127, 127, 60, black);
        break;
    case 5:  // Border
        filledBox(mask, 10, 10, 246, 246, white);
        filledBox(mask, 30, 30, 226, 226, black);
        break;
    case 6:  // Ellipsoid
        filledEllipse(mask, 127, 127, 120, 60, white);
        break;
    case 7:  // Flower
        filledEllipse(mask, 127, 127, 120, 60, white);
        filledEllipse(mask, 127, 127, 60, 120, white);
        break;
    case 8:  // Triangle, tip at the top
        for (int i = 1; i <= 250; ++i) hLine(mask, rt::CLng(127 + i / 2.0), rt::CLng(127 - i / 2.0), i, white);
        break;
    case 9:  // Star: two overlapping triangles
        for (int i = 1; i <= 200; ++i) {
            const int x1 = rt::CLng(127 + 0.666 * i);
            const int x2 = rt::CLng(127 - 0.666 * i);
            hLine(mask, x1, x2, i, white);
            hLine(mask, x1, x2, 256 - i, white);
        }
        break;
    case 10:  // Flower2
    {
        const int centres[5][2] = {{64, 64}, {191, 191}, {64, 191}, {191, 64}, {127, 127}};
        for (const auto& c : centres) filledCircle(mask, c[0], c[1], 60, white);
    }
        break;
    case 11:  // Cross
        filledBox(mask, 87, 10, 167, 245, white);
        filledBox(mask, 10, 87, 245, 167, white);
        break;
    default:
        break;
    }
}

QImage maskFromPicture(const QImage& picture)
{
    if (picture.isNull()) return QImage();
    QImage work = picture.convertToFormat(QImage::Format_RGB32);
    int32_t progress = 0;
    // A colour picture must never become the mask: no filter, no mask.
    if (!mFilterG::ApplyPictureFilter(mFilterG::pfGreyscale, work, 0, progress)) return QImage();
    if (work.size() != QSize(PictureSide, PictureSide))
        work = work.scaled(PictureSide, PictureSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return work.convertToFormat(QImage::Format_RGB32);
}

bool diffuseMask(QImage& mask)
{
    makeWritable(mask);
    int32_t progress = 0;
    return mFilterG::ApplyPictureFilter(mFilterG::pfDiffuse, mask, 8, progress);
}

bool smoothMask(QImage& mask)
{
    makeWritable(mask);
    int32_t progress = 0;
    return mFilterG::ApplyPictureFilter(mFilterG::pfBlur, mask, 4, progress);
}

// --- the result -------------------------------------------------------------

namespace {

// Nearest integer, halves to even, for values already within 32 bits: adding
// and taking away 1.5 * 2^52 leaves the double rounded in the default mode.
// Much cheaper than a library call in the 66,049-cell loops.
double roundEven(double v)
{
    constexpr double magic = 6755399441055744.0;
    return (v + magic) - magic;
}

// A cell value saturated to 16 bits, then rounded; the order does not change
// the result, and a NaN (which the formulas cannot make) would become 0.
int16_t storeCell(double v)
{
    if (!(v == v)) return 0;
    v = v > 32767.0 ? 32767.0 : (v < -32768.0 ? -32768.0 : v);
    return int16_t(roundEven(v));
}

// Bitwise operands are 32-bit integers; fractions round halves to even.
int32_t bits(double v)
{
    if (!(v == v)) return 0;
    v = v > 2147483647.0 ? 2147483647.0 : (v < -2147483648.0 ? -2147483648.0 : v);
    return int32_t(roundEven(v));
}

int32_t imp(int32_t a, int32_t b)
{
    return ~a | b;
}

// The integer remainder with the sign of a; nothing when b is 0. The
// operands are sums of 16-bit values, so 32 bits hold them.
std::optional<int32_t> mod(int32_t a, int32_t b)
{
    if (b == 0) return std::nullopt;
    return a % b;
}

// Profile and grid values enter as integers; only the mask value z is a
// fraction.
template <int Mode>
int16_t combine(int32_t x, int32_t y, double z)
{
    if constexpr (Mode == ModeAdd) return storeCell(z * double(x + y) / 256);
    if constexpr (Mode == ModeMultiplikation) return storeCell(z * y * x / 256 / 256);
    if constexpr (Mode == ModeMin) return storeCell(z * std::min(x, y) / 256);
    if constexpr (Mode == ModeMax) return storeCell(z * std::max(x, y) / 256);
    if constexpr (Mode == ModeXor) return storeCell(z * double(x ^ y) / 256);
    if constexpr (Mode == ModeMod) {
        const auto m = mod(y + 1, x + 1);
        return m ? storeCell(z * *m / 256) : int16_t(0);
    }
    if constexpr (Mode == ModeSub) return storeCell(z * std::abs(y - x) / 256);
    if constexpr (Mode == ModeOr) return storeCell(bits(z) | x | y);
    if constexpr (Mode == ModeImplication) return storeCell(imp(bits(z), imp(x, y)));
    return 0;
}

template <int Mode>
int16_t weightBody(int32_t R, int32_t y, int32_t c, double z, bool yCross)
{
    if constexpr (Mode == ModeAdd) return storeCell(z * double(y + R + c) / 256);
    if constexpr (Mode == ModeMultiplikation) {
        const double v = z * y * R * c / 256 / 256;
        return storeCell(yCross ? v / 256 : v);
    }
    if constexpr (Mode == ModeMin) return storeCell(z * std::min(std::min(y, R), c) / 256);
    if constexpr (Mode == ModeMax) return storeCell(z * std::max(std::max(y, R), c) / 256);
    if constexpr (Mode == ModeXor) return storeCell(z * double((y ^ R) ^ c) / 256);
    if constexpr (Mode == ModeMod) {
        const auto inner = mod(y + 1, R + 1);
        const auto outer = inner ? mod(*inner, c + 1) : std::nullopt;
        return outer ? storeCell(z * *outer / 256) : int16_t(0);
    }
    if constexpr (Mode == ModeSub) return storeCell(z * std::abs(y - R - c) / 256);
    if constexpr (Mode == ModeOr) return storeCell(bits(z) | ((R | y) | c));
    if constexpr (Mode == ModeImplication) return storeCell(imp(bits(z), imp(imp(R, y), c)));
    return 0;
}

// Calls f with the mode as a compile-time constant, so the cell loops do not
// decide the mode 66,049 times; other modes give 0 cells.
template <typename F>
void withMode(int mode, F&& f)
{
    switch (mode) {
    case ModeAdd: f(std::integral_constant<int, ModeAdd>()); break;
    case ModeMultiplikation: f(std::integral_constant<int, ModeMultiplikation>()); break;
    case ModeMin: f(std::integral_constant<int, ModeMin>()); break;
    case ModeMax: f(std::integral_constant<int, ModeMax>()); break;
    case ModeXor: f(std::integral_constant<int, ModeXor>()); break;
    case ModeMod: f(std::integral_constant<int, ModeMod>()); break;
    case ModeSub: f(std::integral_constant<int, ModeSub>()); break;
    case ModeOr: f(std::integral_constant<int, ModeOr>()); break;
    case ModeImplication: f(std::integral_constant<int, ModeImplication>()); break;
    default: f(std::integral_constant<int, -1>()); break;
    }
}

void combineProfiles(Grid& grid, const Profile& xp, const Profile& yp, const MaskReader& mask, int mode)
{
    std::array<double, ResultCells> z{};
    withMode(mode, [&](auto m) {
        // Rows outer: the mask and the grid are read along their rows.
        for (int j = 0; j < ResultCells; ++j) {
            mask.readRow(j, z.data(), ResultCells);
            const int32_t y = yp[size_t(j)];
            for (int i = 0; i < ResultCells; ++i) grid(i, j) = combine<decltype(m)::value>(xp[size_t(i)], y, z[size_t(i)]);
        }
    });
}

// The X profile turned around the centre (128, 128): index 128 is the height
// at the centre, the low indices the rim.
void rotationBody(Grid& grid, const Profile& xp)
{
    for (int i = 0; i <= 128; ++i) {
        for (int j = 0; j <= 128; ++j) {
            const double m = std::max(std::sqrt(double(i * i + j * j)) - 1.0, 0.0);
            const int16_t v = m < 128 ? xp[size_t(roundEven(128 - m))] : int16_t(0);
            grid(128 - i, 128 - j) = v;
            grid(128 + i, 128 - j) = v;
            grid(128 - i, 128 + j) = v;
            grid(128 + i, 128 + j) = v;
        }
    }
}

void weightRotationBody(Grid& grid, const Profile& yp, const MaskReader& mask, int mode, bool yCross)
{
    std::array<double, ResultCells> z{};
    withMode(mode, [&](auto m) {
        for (int j = 0; j < PictureSide; ++j) {
            mask.readRow(j, z.data(), ResultCells);
            const int32_t y = yp[size_t(j)];
            for (int i = 0; i < PictureSide; ++i) {
                const int32_t c = yCross ? yp[size_t(i)] : 1;
                grid(i, j) = weightBody<decltype(m)::value>(grid(i, j), y, c, z[size_t(i)], yCross);
            }
        }
    });
}

} // namespace

int16_t combineCell(int mode, int32_t x, int32_t y, double z)
{
    int16_t v = 0;
    withMode(mode, [&](auto m) { v = combine<decltype(m)::value>(x, y, z); });
    return v;
}

int16_t rotationMaskCell(int mode, int32_t R, int32_t y, int32_t c, double z, bool yCross)
{
    int16_t v = 0;
    withMode(mode, [&](auto m) { v = weightBody<decltype(m)::value>(R, y, c, z, yCross); });
    return v;
}

void computeResult(Grid& grid, const Profile& xProfile, const Profile& yProfile, const QImage& mask,
                   const ComputeOptions& options)
{
    if (options.RotationX == 0) {
        combineProfiles(grid, xProfile, yProfile, MaskReader(mask), options.ResultMode);
    } else if (options.RotationX == 1) {
        rotationBody(grid, xProfile);
        if (options.RotationMask) weightRotationBody(grid, yProfile, MaskReader(mask), options.ResultMode, options.YCross);
    }
}

int16_t resultMaximum(const Grid& grid)
{
    // Only the drawn cells count, so the largest drawn cell becomes 256.
    int16_t max = 1;
    for (int j = 0; j < PictureSide; ++j)
        for (int i = 0; i < PictureSide; ++i) max = std::max(max, grid(i, j));
    return max;
}

HeightArray resultHeights3D(const Grid& grid)
{
    HeightArray h(65, 65);
    for (int a = 0; a < PictureSide; ++a)
        for (int b = 0; b < PictureSide; ++b)
            h(rt::CLng(a / 4.0), rt::CLng(b / 4.0)) = rt::CLng(grid(255 - a, b) / 4.0);
    return h;
}

QImage DrawResult(Grid& grid, bool view3D, QRgb background)
{
    QImage pic(PictureSide, PictureSide, QImage::Format_RGB32);
    pic.fill(background);
    if (view3D) {
        Ansicht3D::DrawTerrain3D(pic, 1, 125, 2, 2, 64, 64, qRgb(0, 250, 250), qRgb(50, 50, 50),
                                 resultHeights3D(grid), 20.0);
        return pic;
    }
    const double scale = 256.0 / resultMaximum(grid);
    for (int b = 0; b < PictureSide; ++b) {
        QRgb* row = reinterpret_cast<QRgb*>(pic.scanLine(b));
        for (int a = 0; a < PictureSide; ++a) {
            grid(a, b) = rt::CInt(grid(a, b) * scale);
            row[a] = grey(grid(a, b));
        }
    }
    return pic;
}

QImage cmdPreview(State& state, const Controls& controls, QRgb background)
{
    const ComputeOptions options{state.ResultMode, state.RotationX, controls.RotationMask != 0, controls.YCross != 0};
    computeResult(state.ObjectGrid, state.XProfile, state.YProfile, controls.Mask, options);
    state.MaskChanged = false;
    return DrawResult(state.ObjectGrid, controls.View3D != 0, background);
}

void setRotationX(State& state, int32_t value)
{
    state.RotationX = rt::saturateToInt16(value);
    if (value == 0) return;
    for (int i = 128; i <= 256; ++i) state.XProfile[size_t(i)] = state.XProfile[size_t(256 - i)];
}

} // namespace ObjektMaker
