// Kuwahara filter over four 3 x 3 regions, and the 3 x 3 maximum, minimum and
// inner edge. All read the picture as it came; each channel on its own.

#include "picfilter/FilterCommon.h"

#include <algorithm>
#include <cstdlib>

namespace mFilterG::detail {
namespace {

// Mean and deviation of every 3 x 3 block centred on one row, per byte: each
// block is shared by four pixels, so it is computed once. The fourth bytes
// are computed too, to keep the loops plain, and never used.
struct BlockStats {
    std::vector<uint16_t> mean;  // S \ 9
    std::vector<uint16_t> dev;   // sum of |value - mean| over the nine values
};

// Every value and sum below fits 16 bits (a deviation is at most 9 x 255),
// so the loops run in 16-bit lanes, twice as many per vector as in 32.
inline uint16_t absDiff(uint16_t a, uint16_t b)
{
    return static_cast<uint16_t>(a > b ? a - b : b - a);
}

// Bytes 4 .. bytes - 5 of the block row centred on `mid`.
KV_VECTOR_CLONES void blockStatsRow(const uchar* __restrict up, const uchar* __restrict mid,
                                    const uchar* __restrict down, int bytes, uint16_t* __restrict columnSums,
                                    uint16_t* __restrict mean, uint16_t* __restrict dev)
{
    for (int i = 0; i < bytes; ++i) columnSums[i] = static_cast<uint16_t>(up[i] + mid[i] + down[i]);
    for (int i = 4; i < bytes - 4; ++i) {
        const auto s = static_cast<uint16_t>(columnSums[i - 4] + columnSums[i] + columnSums[i + 4]);
        const auto m = static_cast<uint16_t>((static_cast<uint32_t>(s) * 7282u) >> 16);  // s \ 9, exact up to 9 * 255
        uint16_t d = 0;
        for (int k = -4; k <= 4; k += 4) {
            d = static_cast<uint16_t>(d + absDiff(up[i + k], m) + absDiff(mid[i + k], m) + absDiff(down[i + k], m));
        }
        mean[i] = m;
        dev[i] = d;
    }
}

void computeBlockStats(const Pixels& px, int cy, BlockStats& out, std::vector<uint16_t>& columnSums)
{
    blockStatsRow(px.row(cy - 1), px.row(cy), px.row(cy + 1), 4 * px.w, columnSums.data(), out.mean.data(),
                  out.dev.data());
}

// Per byte of pixels 2 .. w - 3: the mean of the region with the smallest
// deviation among upper left, upper right, lower left, lower right; on ties
// the first in that order.
KV_VECTOR_CLONES void chooseRegionsRow(const uint16_t* __restrict aboveMean, const uint16_t* __restrict aboveDev,
                                       const uint16_t* __restrict belowMean, const uint16_t* __restrict belowDev,
                                       int bytes, uchar* __restrict out)
{
    for (int i = 8; i < bytes - 8; ++i) {
        // All eight values are read first, so the choice compiles to selects.
        const uint16_t d0 = aboveDev[i - 4], d1 = aboveDev[i + 4], d2 = belowDev[i - 4], d3 = belowDev[i + 4];
        const uint16_t m0 = aboveMean[i - 4], m1 = aboveMean[i + 4], m2 = belowMean[i - 4], m3 = belowMean[i + 4];
        // Strictly smaller replaces, so the earlier region keeps a tie.
        const bool upperRight = d1 < d0;
        const uint16_t best01 = upperRight ? d1 : d0;
        const uint16_t value01 = upperRight ? m1 : m0;
        const bool lowerLeft = d2 < best01;
        const uint16_t best012 = lowerLeft ? d2 : best01;
        const uint16_t value012 = lowerLeft ? m2 : value01;
        out[i] = static_cast<uchar>(d3 < best012 ? m3 : value012);
    }
}

template <bool Max>
inline uchar pick(uchar a, uchar b)
{
    if constexpr (Max) return a > b ? a : b;
    return a < b ? a : b;
}

// max (or min) of each byte over three rows, then over three neighbouring
// pixels, into `both` (bytes 4 .. 4w - 5).
template <bool Max>
inline void extremeLoop(const uchar* __restrict up, const uchar* __restrict mid, const uchar* __restrict down,
                        int w, uchar* __restrict v, uchar* __restrict both)
{
    const int bytes = 4 * w;
    for (int i = 0; i < bytes; ++i) v[i] = pick<Max>(pick<Max>(up[i], mid[i]), down[i]);
    for (int i = 4; i < bytes - 4; ++i) both[i] = pick<Max>(pick<Max>(v[i - 4], v[i]), v[i + 4]);
}

KV_VECTOR_CLONES void maxRow(const uchar* __restrict up, const uchar* __restrict mid, const uchar* __restrict down,
                             int w, uchar* __restrict v, uchar* __restrict both)
{
    extremeLoop<true>(up, mid, down, w, v, both);
}

KV_VECTOR_CLONES void minRow(const uchar* __restrict up, const uchar* __restrict mid, const uchar* __restrict down,
                             int w, uchar* __restrict v, uchar* __restrict both)
{
    extremeLoop<false>(up, mid, down, w, v, both);
}

// The pixel minus its minimum, fourth byte kept (the minimum's own fourth byte is ignored).
KV_VECTOR_CLONES void subtractRow(uint32_t* __restrict out, const uint32_t* __restrict pixel,
                                  const uint32_t* __restrict minimum, int w)
{
    // Every byte of the minimum is at most the pixel's, so no byte borrows.
    for (int x = 1; x < w - 1; ++x) {
        out[x] = (out[x] & kFourthByte) | ((pixel[x] - (minimum[x] & kColourBits)) & kColourBits);
    }
}

using ExtremeRow = void (*)(const uchar*, const uchar*, const uchar*, int, uchar*, uchar*);

void morphology(const Pixels& px, int32_t& progressValue, ExtremeRow extremeRow)
{
    FilterProgress progress(progressValue, px.h);
    SourceRows src(px, 2);
    std::vector<uchar> vertical(static_cast<size_t>(px.w) * 4);
    std::vector<uchar> both(static_cast<size_t>(px.w) * 4);
    for (int y = 1; y < px.h - 1; ++y) {
        src.save(y);
        extremeRow(src.row(y - 1), src.row(y), src.row(y + 1), px.w, vertical.data(), both.data());
        writeColourRow(px.row32(y), reinterpret_cast<const uint32_t*>(both.data()), 1, px.w - 1);
        progress.row(y);
    }
    progress.finish();
}

} // namespace

void FilterAqua(const Pixels& px, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    if (px.w < 5 || px.h < 5) {
        // No pixel has all four regions inside the picture; the rows still report.
        for (int y = 2; y < px.h - 2; ++y) progress.row(y);
        progress.finish();
        return;
    }
    const size_t bytes = static_cast<size_t>(px.w) * 4;
    BlockStats ring[3];
    for (auto& s : ring) {
        s.mean.assign(bytes, 0);
        s.dev.assign(bytes, 0);
    }
    std::vector<uint16_t> columnSums(bytes);
    std::vector<uchar> chosen(bytes);
    // The block rows above the first pixel row; each later one is computed just
    // before the row it overlaps is overwritten.
    computeBlockStats(px, 1, ring[1], columnSums);
    computeBlockStats(px, 2, ring[2], columnSums);
    for (int y = 2; y < px.h - 2; ++y) {
        computeBlockStats(px, y + 1, ring[(y + 1) % 3], columnSums);
        const BlockStats& above = ring[(y - 1) % 3];
        const BlockStats& below = ring[(y + 1) % 3];
        chooseRegionsRow(above.mean.data(), above.dev.data(), below.mean.data(), below.dev.data(),
                         static_cast<int>(bytes), chosen.data());
        writeColourRow(px.row32(y), reinterpret_cast<const uint32_t*>(chosen.data()), 2, px.w - 2);
        progress.row(y);
    }
    progress.finish();
}

void FilterDilate(const Pixels& px, int32_t& progressValue)
{
    morphology(px, progressValue, maxRow);
}

void FilterErode(const Pixels& px, int32_t& progressValue)
{
    morphology(px, progressValue, minRow);
}

void FilterInnerEdge(const Pixels& px, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    SourceRows src(px, 2);
    std::vector<uchar> vertical(static_cast<size_t>(px.w) * 4);
    std::vector<uchar> minimum(static_cast<size_t>(px.w) * 4);
    for (int y = 1; y < px.h - 1; ++y) {
        src.save(y);
        minRow(src.row(y - 1), src.row(y), src.row(y + 1), px.w, vertical.data(), minimum.data());
        subtractRow(px.row32(y), src.row32(y), reinterpret_cast<const uint32_t*>(minimum.data()), px.w);
        progress.row(y);
    }
    progress.finish();
}

} // namespace mFilterG::detail
