#pragma once
// Pieces the picture filters share: the view of the 32-bit pixels, the copies
// of rows a filter still needs as they came, progress, and small number helpers.
// Internal to the filter library; callers use mFilterG.h.

#include <QtGlobal>

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace mFilterG::detail {

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "pixels are read as blue, green, red, fourth byte");

// Hot row loops are also built for AVX2 and AVX-512 processors, the build
// chosen at load time; the compiler vectorises each from the same plain loop.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__)
#define KV_VECTOR_CLONES __attribute__((target_clones("arch=x86-64-v4", "avx2", "default")))
#else
#define KV_VECTOR_CLONES
#endif

// Byte offsets inside a pixel; the fourth byte (3) is never touched.
constexpr int kBlue = 0;
constexpr int kGreen = 1;
constexpr int kRed = 2;
constexpr uint32_t kColourBits = 0x00FFFFFFu;
constexpr uint32_t kFourthByte = 0xFF000000u;

// A 32-bit picture, rows from the top, pixels blue, green, red, fourth byte.
struct Pixels {
    uchar* bits = nullptr;
    qsizetype stride = 0;  // bytes per row
    int w = 0;
    int h = 0;

    uchar* row(int y) const { return bits + stride * y; }
    uint32_t* row32(int y) const { return reinterpret_cast<uint32_t*>(row(y)); }
};

// Filters that read the picture as it came while they overwrite it keep copies
// of the last rows they are about to overwrite; rows below are still untouched.
class SourceRows {
public:
    SourceRows(const Pixels& px, int keep)
        : m_px(px), m_keep(keep), m_rowBytes(static_cast<size_t>(px.w) * 4),
          m_buf(m_rowBytes * static_cast<size_t>(keep))
    {
    }

    // Call for each row, in order, before that row is written.
    void save(int y)
    {
        if (m_first < 0) m_first = y;
        m_last = y;
        std::memcpy(slot(y), m_px.row(y), m_rowBytes);
    }

    // Row y as it came.
    const uchar* row(int y) const
    {
        if (m_first >= 0 && y >= m_first && y <= m_last && m_last - y < m_keep) return slot(y);
        return m_px.row(y);
    }
    const uint32_t* row32(int y) const { return reinterpret_cast<const uint32_t*>(row(y)); }

private:
    uchar* slot(int y) const
    {
        return const_cast<uchar*>(m_buf.data()) + m_rowBytes * static_cast<size_t>(y % m_keep);
    }

    Pixels m_px;
    int m_keep;
    size_t m_rowBytes;
    std::vector<uchar> m_buf;
    int m_first = -1;
    int m_last = -1;
};

// The caller's progress value: base + y * span \ H after each row (y counted
// from 1), then the event pump; 100 and one more pump at the end.
class FilterProgress {
public:
    FilterProgress(int32_t& value, int h) : m_value(value), m_h(h) {}

    void set(int32_t v, bool pump = true);
    void row(int y0, int base = 0, int span = 100, bool pump = true)
    {
        set(static_cast<int32_t>(base + static_cast<int64_t>(y0 + 1) * span / m_h), pump);
    }
    void finish(bool pump = true) { set(100, pump); }

private:
    int32_t& m_value;
    int m_h;
};

inline uchar clampByte(int64_t v)
{
    return static_cast<uchar>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// Grey of a pixel, (blue + green + red) \ 3: the multiply and shift are exact
// for every sum up to 765.
inline uint32_t greyOfSum(uint32_t sum)
{
    return (sum * 683u) >> 11;
}

inline uint32_t greyOfPixel(uint32_t v)
{
    return greyOfSum((v & 0xFF) + ((v >> 8) & 0xFF) + ((v >> 16) & 0xFF));
}

inline int greyOf(const uchar* p)
{
    return static_cast<int>(greyOfSum(static_cast<uint32_t>(p[kBlue] + p[kGreen] + p[kRed])));
}

// Mean grey of the whole picture, the sum kept wide.
int meanGrey(const Pixels& px);

constexpr uint32_t pixelOf(uint32_t b, uint32_t g, uint32_t r)
{
    return b | (g << 8) | (r << 16);
}

// Pixels x0 .. x1 - 1 of `out` take blue, green and red from `colour`,
// keeping their fourth byte.
void writeColourRow(uint32_t* out, const uint32_t* colour, int x0, int x1);

// Every pixel through one table per channel, the fourth byte kept; after each
// row progress base + y * span \ H.
void mapChannels(const Pixels& px, const uchar* lutB, const uchar* lutG, const uchar* lutR,
                 FilterProgress& progress, int base, int span);

// The contrast filter's spill: the excess of a clipped channel moves, halved,
// into the other two until all three lie within 0..255. Pixel by pixel in wide
// numbers, or a whole row of values below 2^24 in magnitude.
void spillPixel(int64_t& b, int64_t& g, int64_t& r);
void spillRow(std::vector<int32_t>& bs, std::vector<int32_t>& gs, std::vector<int32_t>& rs, int w);

// Routines, one per filter number; the parameter checks are done by the entry.
// Point and colour filters
void FilterInvert(const Pixels& px, int32_t& progress);
void FilterGreyscale(const Pixels& px, int32_t& progress);
void FilterBrightness(const Pixels& px, int32_t p, int32_t& progress);
void FilterMosaic(const Pixels& px, int32_t n, int32_t& progress);
void FilterSwapChannels(const Pixels& px, int32_t p, int32_t& progress);
void FilterContrast(const Pixels& px, int32_t p, int32_t& progress);
void FilterColourThreshold(const Pixels& px, int32_t colour, int32_t& progress);
void FilterMaskThreshold(const Pixels& px, int32_t p, int32_t& progress);
// Neighbourhood filters
void FilterSharpen(const Pixels& px, int32_t p, int32_t& progress);
void FilterSharpenSoft(const Pixels& px, int32_t p, int32_t& progress);
void FilterBlur(const Pixels& px, int32_t& progress);
void FilterSmooth(const Pixels& px, int32_t& progress);
void FilterDiffuse(const Pixels& px, int32_t p, int32_t& progress);
void FilterContour(const Pixels& px, int32_t colour, int32_t& progress);
void FilterEmbossDiagonalInverse(const Pixels& px, int32_t colour, int32_t& progress);
void FilterEmbossDiagonal(const Pixels& px, int32_t colour, int32_t& progress);
void FilterEmbossWest(const Pixels& px, int32_t colour, int32_t& progress);
void FilterEmbossEast(const Pixels& px, int32_t colour, int32_t& progress);
void FilterEmbossSobel(const Pixels& px, int32_t& progress);
// Black-and-white dithering
void FilterDitherCarry(const Pixels& px, int32_t& progress);
void FilterDitherOrdered(const Pixels& px, int32_t& progress);
void FilterDitherFloydSteinberg(const Pixels& px, int32_t p, int32_t& progress);
void FilterDitherBurkes(const Pixels& px, int32_t p, int32_t& progress);
void FilterDitherStucki(const Pixels& px, int32_t p, int32_t& progress);
// Tone filters
void FilterAutoLevels(const Pixels& px, int32_t& progress);
void FilterNoise(const Pixels& px, int32_t a, int32_t& progress);
void FilterSaturation(const Pixels& px, int32_t p, int32_t& progress);
void FilterGamma(const Pixels& px, int32_t p, int32_t& progress);
// Kuwahara and morphology
void FilterAqua(const Pixels& px, int32_t& progress);
void FilterDilate(const Pixels& px, int32_t& progress);
void FilterErode(const Pixels& px, int32_t& progress);
void FilterInnerEdge(const Pixels& px, int32_t& progress);

} // namespace mFilterG::detail
