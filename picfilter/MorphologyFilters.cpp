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

// max (or min) of each byte over three rows, then over three neighbouring
// pixels, into `both` (bytes 4 .. 4w - 5).
template <class Pick>
void extremeRow(const uchar* up, const uchar* mid, const uchar* down, int w, std::vector<uchar>& vertical,
                std::vector<uchar>& both, Pick pick)
{
    const int bytes = 4 * w;
    uchar* v = vertical.data();
    uchar* b = both.data();
    for (int i = 0; i < bytes; ++i) v[i] = pick(pick(up[i], mid[i]), down[i]);
    for (int i = 4; i < bytes - 4; ++i) b[i] = pick(pick(v[i - 4], v[i]), v[i + 4]);
}

template <class Pick>
void morphology(const Pixels& px, int32_t& progressValue, Pick pick)
{
    FilterProgress progress(progressValue, px.h);
    SourceRows src(px, 2);
    std::vector<uchar> vertical(static_cast<size_t>(px.w) * 4);
    std::vector<uchar> both(static_cast<size_t>(px.w) * 4);
    for (int y = 1; y < px.h - 1; ++y) {
        src.save(y);
        extremeRow(src.row(y - 1), src.row(y), src.row(y + 1), px.w, vertical, both, pick);
        // Keep the fourth byte of each pixel.
        uint32_t* out = px.row32(y);
        const auto* r = reinterpret_cast<const uint32_t*>(both.data());
        for (int x = 1; x < px.w - 1; ++x) out[x] = (out[x] & kFourthByte) | (r[x] & kColourBits);
        progress.row(y);
    }
    progress.finish();
}

constexpr auto pickMax = [](uchar a, uchar b) { return a > b ? a : b; };
constexpr auto pickMin = [](uchar a, uchar b) { return a < b ? a : b; };

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
    morphology(px, progressValue, pickMax);
}

void FilterErode(const Pixels& px, int32_t& progressValue)
{
    morphology(px, progressValue, pickMin);
}

void FilterInnerEdge(const Pixels& px, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    SourceRows src(px, 2);
    std::vector<uchar> vertical(static_cast<size_t>(px.w) * 4);
    std::vector<uchar> minimum(static_cast<size_t>(px.w) * 4);
    for (int y = 1; y < px.h - 1; ++y) {
        src.save(y);
        const uchar* mid = src.row(y);
        uchar* out = px.row(y);
        // The pixel minus its 3 x 3 minimum: never negative.
        extremeRow(src.row(y - 1), mid, src.row(y + 1), px.w, vertical, minimum, pickMin);
        for (int i = 4; i < 4 * (px.w - 1); ++i) {
            if ((i & 3) != 3) out[i] = static_cast<uchar>(mid[i] - minimum[i]);
        }
        progress.row(y);
    }
    progress.finish();
}

} // namespace mFilterG::detail
