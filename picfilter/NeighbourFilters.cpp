// 3 x 3 neighbourhood filters: sharpening, smoothing, random diffusion,
// contour and relief. Each channel is treated on its own with one formula.

#include "picfilter/FilterCommon.h"

#include "runtime/Numbers.h"
#include "runtime/Rnd.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace mFilterG::detail {
namespace {

// Offsets per channel (blue, green, red) from a colour &H00BBGGRR.
struct Offsets {
    int c[3];
};

Offsets offsetsOf(int32_t colour)
{
    return {{(colour >> 16) & 255, (colour >> 8) & 255, colour % 256}};
}

// Sums over bytes 4 .. bytes - 5 of the neighbours an in-place filter reads
// besides its left one (which changes as the row is written): all seven
// others, or the three of the cross plus the pixel itself.
KV_VECTOR_CLONES void sevenSumRow(const uchar* __restrict up, const uchar* __restrict mid,
                                  const uchar* __restrict down, int bytes, uint16_t* __restrict out)
{
    for (int i = 4; i < bytes - 4; ++i) {
        out[i] = static_cast<uint16_t>(up[i - 4] + up[i] + up[i + 4] + mid[i + 4] + down[i - 4] + down[i] + down[i + 4]);
    }
}

KV_VECTOR_CLONES void crossSumRow(const uchar* __restrict up, const uchar* __restrict mid,
                                  const uchar* __restrict down, int bytes, uint16_t* __restrict out)
{
    for (int i = 4; i < bytes - 4; ++i) out[i] = static_cast<uint16_t>(mid[i] + up[i] + mid[i + 4] + down[i]);
}

using PartialSumRow = void (*)(const uchar*, const uchar*, const uchar*, int, uint16_t*);

// In place: the upper row is already filtered and so is the left neighbour,
// which is carried along the row. f(P, partial sum, left) gives the new value.
template <class F>
void inPlaceKernel(const Pixels& px, FilterProgress& progress, bool pump, PartialSumRow partialRow, F f)
{
    std::vector<uint16_t> partial(static_cast<size_t>(px.w) * 4);
    for (int y = 1; y < px.h - 1; ++y) {
        uchar* mid = px.row(y);
        partialRow(px.row(y - 1), mid, px.row(y + 1), 4 * px.w, partial.data());
        uchar left[3] = {mid[kBlue], mid[kGreen], mid[kRed]};
        for (int x = 1; x < px.w - 1; ++x) {
            const int i = 4 * x;
            // All three channels are computed before any is written.
            uchar out[3];
            for (int c = 0; c < 3; ++c) out[c] = f(mid[i + c], partial[static_cast<size_t>(i + c)], left[c]);
            for (int c = 0; c < 3; ++c) mid[i + c] = left[c] = out[c];
        }
        progress.row(y, 0, 100, pump);
    }
    progress.finish(pump);
}

// Row kernels of the filters that read the picture as it came: bytes
// 4 .. bytes - 5 of `out` from the three source rows and a per-byte offset.
// Written per byte so they vectorise; the fourth bytes are dropped later.
#define KV_SOURCE_ROW(name, expression)                                                                     \
    KV_VECTOR_CLONES void name(const uchar* __restrict up, const uchar* __restrict mid,                    \
                               const uchar* __restrict down, int bytes, const int* __restrict off,         \
                               uchar* __restrict out)                                                      \
    {                                                                                                      \
        for (int i = 4; i < bytes - 4; ++i) {                                                              \
            [[maybe_unused]] const int nw = up[i - 4], n = up[i], ne = up[i + 4];                          \
            [[maybe_unused]] const int w = mid[i - 4], p = mid[i], e = mid[i + 4];                         \
            [[maybe_unused]] const int sw = down[i - 4], s = down[i], se = down[i + 4];                    \
            const int v = (expression) + off[i];                                                           \
            out[i] = static_cast<uchar>(v < 0 ? 0 : (v > 255 ? 255 : v));                                   \
        }                                                                                                  \
    }

KV_SOURCE_ROW(contourRow, 8 * p - (nw + n + ne + w + e + sw + s + se))
KV_SOURCE_ROW(embossWestRow, (nw + w + sw) - (ne + e + se))
KV_SOURCE_ROW(embossEastRow, (ne + e + se) - (nw + w + sw))
KV_SOURCE_ROW(embossSobelRow, (p + 2 * nw + w + n - s - e - 2 * se) / 2 + 50)
#undef KV_SOURCE_ROW

using SourceRowFn = void (*)(const uchar*, const uchar*, const uchar*, int, const int*, uchar*);

// The offset of each byte of a row: blue, green, red, and 0 for the fourth byte.
std::vector<int> offsetRow(int w, const Offsets& off)
{
    std::vector<int> row(static_cast<size_t>(w) * 4, 0);
    for (size_t i = 0; i < row.size(); ++i) row[i] = (i & 3) == 3 ? 0 : off.c[i & 3];
    return row;
}

// From the source: rows are copied just before they are overwritten.
void sourceKernel(const Pixels& px, FilterProgress& progress, SourceRowFn rowFn, const Offsets& off)
{
    SourceRows src(px, 2);
    const std::vector<int> offsets = offsetRow(px.w, off);
    std::vector<uchar> out(static_cast<size_t>(px.w) * 4);
    for (int y = 1; y < px.h - 1; ++y) {
        src.save(y);
        rowFn(src.row(y - 1), src.row(y), src.row(y + 1), 4 * px.w, offsets.data(), out.data());
        writeColourRow(px.row32(y), reinterpret_cast<const uint32_t*>(out.data()), 1, px.w - 1);
        progress.row(y);
    }
    progress.finish();
}

// Relief along the diagonal: only the pixel and its lower-right neighbour are
// read, and neither is written yet, so writing in place sees the picture as it came.
KV_VECTOR_CLONES void diagonalRow(const uchar* __restrict row, const uchar* __restrict below, int bytes,
                                  const int* __restrict off, int sign, uchar* __restrict out)
{
    for (int i = 0; i < bytes - 4; ++i) {
        const int d = sign * (row[i] - below[i + 4]) + off[i];
        const int v = d < 0 ? -d : d;
        out[i] = static_cast<uchar>(v > 255 ? 255 : v);
    }
}

// sign 1: |P - SE + offset|; sign -1: |SE - P + offset|.
void diagonalKernel(const Pixels& px, FilterProgress& progress, int sign, const Offsets& off)
{
    const std::vector<int> offsets = offsetRow(px.w, off);
    std::vector<uchar> out(static_cast<size_t>(px.w) * 4);
    for (int y = 0; y < px.h - 1; ++y) {
        diagonalRow(px.row(y), px.row(y + 1), 4 * px.w, offsets.data(), sign, out.data());
        writeColourRow(px.row32(y), reinterpret_cast<const uint32_t*>(out.data()), 0, px.w - 1);
        progress.row(y);
    }
    progress.finish();
}

} // namespace

// n \ divisor, clamped, for every numerator n = P * centre - weight * S8 the
// sharpening filters can form; a table when that range is small, which it is
// for every strength a caller would pick.
class SharpenQuotients {
public:
    SharpenQuotients(int64_t centre, int64_t weight, int64_t divisor) : m_divisor(divisor)
    {
        m_low = std::min<int64_t>(0, 255 * centre) - weight * 8 * 255;
        const int64_t high = std::max<int64_t>(0, 255 * centre);
        if (high - m_low < (int64_t{1} << 20)) {
            m_table.resize(static_cast<size_t>(high - m_low + 1));
            for (int64_t n = m_low; n <= high; ++n) m_table[static_cast<size_t>(n - m_low)] = clampByte(n / divisor);
        }
    }
    uchar operator()(int64_t n) const
    {
        return m_table.empty() ? clampByte(n / m_divisor) : m_table[static_cast<size_t>(n - m_low)];
    }

private:
    int64_t m_divisor;
    int64_t m_low = 0;
    std::vector<uchar> m_table;
};

void FilterSharpen(const Pixels& px, int32_t p, int32_t& progressValue)
{
    // Wide: the centre weight may leave 32 bits for a large strength.
    const int64_t centre = static_cast<int64_t>(p) + 24;
    const SharpenQuotients quotient(centre, 2, static_cast<int64_t>(p) + 8);  // divisor not 0: checked by the entry
    FilterProgress progress(progressValue, px.h);
    // This filter never pumps events.
    inPlaceKernel(px, progress, false, sevenSumRow, [&](int p0, int seven, int left) {
        return quotient(p0 * centre - 2 * (seven + left));
    });
}

void FilterSharpenSoft(const Pixels& px, int32_t p, int32_t& progressValue)
{
    const int64_t centre = static_cast<int64_t>(p) + 9;
    const SharpenQuotients quotient(centre, 1, static_cast<int64_t>(p) + 1);  // divisor not 0: checked by the entry
    FilterProgress progress(progressValue, px.h);
    inPlaceKernel(px, progress, true, sevenSumRow, [&](int p0, int seven, int left) {
        return quotient(p0 * centre - (seven + left));
    });
}

void FilterBlur(const Pixels& px, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    inPlaceKernel(px, progress, true, sevenSumRow,
                  [](int, int seven, int left) { return static_cast<uchar>((seven + left) / 8); });
}

void FilterSmooth(const Pixels& px, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    inPlaceKernel(px, progress, true, crossSumRow,
                  [](int, int cross, int left) { return static_cast<uchar>((cross + left) / 5); });
}

void FilterDiffuse(const Pixels& px, int32_t p, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    // Offsets reach half of p either way (the half rounded to even).
    const int64_t half = rt::CLng(p / 2.0);
    for (int y = 0; y < px.h; ++y) {
        uint32_t* row = px.row32(y);
        for (int x = 0; x < px.w; ++x) {
            // Two draws, the horizontal one first.
            const int64_t dx0 = rt::CLng(static_cast<double>(rt::Rnd()) * p - half);
            const int64_t dy0 = rt::CLng(static_cast<double>(rt::Rnd()) * p - half);
            // An offset that leaves the picture becomes 0 on its axis.
            const int64_t dx = (x + dx0 < 0 || x + dx0 >= px.w) ? 0 : dx0;
            const int64_t dy = (y + dy0 < 0 || y + dy0 >= px.h) ? 0 : dy0;
            // The current value there, which may have moved already.
            const uint32_t from = px.row32(static_cast<int>(y + dy))[x + dx];
            row[x] = (row[x] & kFourthByte) | (from & kColourBits);
        }
        progress.row(y);
    }
    progress.finish();
}

void FilterContour(const Pixels& px, int32_t colour, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    sourceKernel(px, progress, contourRow, offsetsOf(colour));
}

void FilterEmbossWest(const Pixels& px, int32_t colour, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    sourceKernel(px, progress, embossWestRow, offsetsOf(colour));
}

void FilterEmbossEast(const Pixels& px, int32_t colour, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    sourceKernel(px, progress, embossEastRow, offsetsOf(colour));
}

void FilterEmbossSobel(const Pixels& px, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    sourceKernel(px, progress, embossSobelRow, Offsets{{0, 0, 0}});
}

void FilterEmbossDiagonalInverse(const Pixels& px, int32_t colour, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    diagonalKernel(px, progress, 1, offsetsOf(colour));
}

void FilterEmbossDiagonal(const Pixels& px, int32_t colour, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    diagonalKernel(px, progress, -1, offsetsOf(colour));
}

} // namespace mFilterG::detail
