#include "picfilter/mFilterG.h"

#include "picfilter/FilterCommon.h"
#include "runtime/Ui.h"

namespace mFilterG {
namespace {

using namespace detail;

bool g_busy = false;

// Clears the re-entry guard on every way out, exceptions included.
class BusyScope {
public:
    BusyScope() { g_busy = true; }
    ~BusyScope() { g_busy = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
};

// Parameters a filter cannot use: they divide by zero or have no meaning.
// Refusing them keeps the picture as it was instead of filling it with noise.
bool parameterUsable(int32_t filterNo, int32_t p)
{
    switch (filterNo) {
    case pfSharpen: return p != -8;        // divisor p + 8
    case pfSharpenSoft: return p != -1;    // divisor p + 1
    case pfMosaic: return p >= 1;          // block size
    case pfDitherFloydSteinberg:
    case pfDitherBurkes:
    case pfDitherStucki: return p != 0;    // error x 10 \ p
    case pfGamma: return p >= 1;           // exponent 100 / p
    default: return true;
    }
}

void runFilter(int32_t filterNo, const Pixels& px, int32_t p, int32_t& progress)
{
    switch (filterNo) {
    case pfSharpen: FilterSharpen(px, p, progress); break;
    case pfInvert: FilterInvert(px, progress); break;
    case pfBlur: FilterBlur(px, progress); break;
    case pfDiffuse: FilterDiffuse(px, p, progress); break;
    case pfSmooth: FilterSmooth(px, progress); break;
    case pfSharpenSoft: FilterSharpenSoft(px, p, progress); break;
    case pfContour: FilterContour(px, p, progress); break;
    case pfEmbossDiagonalInverse: FilterEmbossDiagonalInverse(px, p, progress); break;
    case pfEmbossWest: FilterEmbossWest(px, p, progress); break;
    case pfEmbossDiagonal: FilterEmbossDiagonal(px, p, progress); break;
    case pfEmbossEast: FilterEmbossEast(px, p, progress); break;
    case pfGreyscale: FilterGreyscale(px, progress); break;
    case pfEmbossSobel: FilterEmbossSobel(px, progress); break;
    case pfBrightness: FilterBrightness(px, p, progress); break;
    case pfMosaic: FilterMosaic(px, p, progress); break;
    case pfSwapChannels: FilterSwapChannels(px, p, progress); break;
    case pfContrast: FilterContrast(px, p, progress); break;
    case pfColourThreshold: FilterColourThreshold(px, p, progress); break;
    case pfDitherCarry: FilterDitherCarry(px, progress); break;
    case pfDitherOrdered: FilterDitherOrdered(px, progress); break;
    case pfDitherFloydSteinberg: FilterDitherFloydSteinberg(px, p, progress); break;
    case pfDitherBurkes: FilterDitherBurkes(px, p, progress); break;
    case pfDitherStucki: FilterDitherStucki(px, p, progress); break;
    case pfAqua: FilterAqua(px, progress); break;
    case pfDilate: FilterDilate(px, progress); break;
    case pfErode: FilterErode(px, progress); break;
    case pfInnerEdge: FilterInnerEdge(px, progress); break;
    case pfAutoLevels: FilterAutoLevels(px, progress); break;
    case pfNoise: FilterNoise(px, p, progress); break;
    case pfSaturation: FilterSaturation(px, p, progress); break;
    case pfGamma: FilterGamma(px, p, progress); break;
    case pfMaskThreshold: FilterMaskThreshold(px, p, progress); break;
    default: break;
    }
}

bool isWorkFormat(QImage::Format f)
{
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32;
}

Pixels pixelsOf(QImage& image)
{
    Pixels px;
    px.bits = image.bits();  // detaches a shared picture before writing
    px.stride = image.bytesPerLine();
    px.w = image.width();
    px.h = image.height();
    return px;
}

} // namespace

bool PictureFilterBusy()
{
    return g_busy;
}

void SplitRGB(int32_t colour, int32_t& r, int32_t& g, int32_t& b)
{
    r = colour % 256;  // keeps the sign of colour, as the modulo of the colour format does
    g = (colour >> 8) & 255;
    b = (colour >> 16) & 255;
}

bool ApplyPictureFilter(int32_t filterNo, QImage& picture, int32_t param, int32_t& progress)
{
    // The filters pump events; a call from such an event must not start a second run.
    if (g_busy) return false;
    BusyScope busy;

    // Nothing to filter, or nothing a filter could sensibly do.
    if (picture.isNull() || picture.width() < 1 || picture.height() < 1) return false;
    if (filterNo < pfSharpen || filterNo > pfMaskThreshold) return false;
    if (!parameterUsable(filterNo, param)) return false;

    // The filters work on 32-bit pixels (blue, green, red, fourth byte). Other
    // formats are filtered in a 32-bit copy and converted back, so the picture
    // keeps its format; the conversion back may reduce colours as that format requires.
    const QImage::Format format = picture.format();
    if (isWorkFormat(format)) {
        runFilter(filterNo, pixelsOf(picture), param, progress);
        return true;
    }
    QImage work = picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                     : QImage::Format_RGB32);
    runFilter(filterNo, pixelsOf(work), param, progress);
    picture = work.convertToFormat(format);
    return true;
}

} // namespace mFilterG
