// Kuwahara filter over four 3 x 3 regions, and the 3 x 3 maximum, minimum and
// inner edge. All read the picture as it came; each channel on its own.

#include "picfilter/FilterCommon.h"

#include <algorithm>
#include <cstdlib>

namespace mFilterG::detail {
namespace {

// Mean and deviation of every 3 x 3 block centred on one row: each block is
// shared by four pixels, so it is computed once.
struct BlockStats {
    std::vector<uchar> mean;      // (S \ 9) per centre and channel
    std::vector<uint16_t> dev;    // sum of |value - mean| over the nine values
};

void computeBlockStats(const Pixels& px, int cy, BlockStats& out, std::vector<uint16_t>& columnSums)
{
    const uchar* up = px.row(cy - 1);
    const uchar* mid = px.row(cy);
    const uchar* down = px.row(cy + 1);
    const int bytes = 4 * px.w;
    for (int i = 0; i < bytes; ++i) columnSums[i] = static_cast<uint16_t>(up[i] + mid[i] + down[i]);
    for (int x = 1; x < px.w - 1; ++x) {
        for (int c = 0; c < 3; ++c) {
            const int i = 4 * x + c;
            const int m = (columnSums[i - 4] + columnSums[i] + columnSums[i + 4]) / 9;
            int d = 0;
            for (int k = i - 4; k <= i + 4; k += 4) d += std::abs(up[k] - m) + std::abs(mid[k] - m) + std::abs(down[k] - m);
            out.mean[i] = static_cast<uchar>(m);
            out.dev[i] = static_cast<uint16_t>(d);
        }
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

// Pixels 1 .. w - 2 take the colour of `colour`, keeping their fourth byte.
KV_VECTOR_CLONES void writeColourRow(uint32_t* __restrict out, const uint32_t* __restrict colour, int w)
{
    for (int x = 1; x < w - 1; ++x) out[x] = (out[x] & kFourthByte) | (colour[x] & kColourBits);
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
        writeColourRow(px.row32(y), reinterpret_cast<const uint32_t*>(both.data()), px.w);
        progress.row(y);
    }
    progress.finish();
}

} // namespace

void FilterAqua(const Pixels& px, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    if (px.w < 5 || px.h < 5) {
        progress.finish();  // no pixel has all four regions inside the picture
        return;
    }
    const size_t bytes = static_cast<size_t>(px.w) * 4;
    BlockStats ring[3];
    for (auto& s : ring) {
        s.mean.assign(bytes, 0);
        s.dev.assign(bytes, 0);
    }
    std::vector<uint16_t> columnSums(bytes);
    // The block rows above the first pixel row; each later one is computed just
    // before the row it overlaps is overwritten.
    computeBlockStats(px, 1, ring[1], columnSums);
    computeBlockStats(px, 2, ring[2], columnSums);
    for (int y = 2; y < px.h - 2; ++y) {
        computeBlockStats(px, y + 1, ring[(y + 1) % 3], columnSums);
        const BlockStats& above = ring[(y - 1) % 3];
        const BlockStats& below = ring[(y + 1) % 3];
        uchar* out = px.row(y);
        for (int x = 2; x < px.w - 2; ++x) {
            for (int c = 0; c < 3; ++c) {
                const int i = 4 * x + c;
                // Regions 1 upper left, 2 upper right, 3 lower left, 4 lower right;
                // the first one with the smallest deviation wins.
                const int centres[4] = {i - 4, i + 4, i - 4, i + 4};
                const BlockStats* rows[4] = {&above, &above, &below, &below};
                int best = 99999;
                int value = 0;
                for (int r = 0; r < 4; ++r) {
                    const int d = rows[r]->dev[centres[r]];
                    if (d < best) {
                        best = d;
                        value = rows[r]->mean[centres[r]];
                    }
                }
                out[i] = static_cast<uchar>(value);
            }
        }
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
