// Per-pixel filters: each output pixel depends only on the same input pixel
// (mosaic and contrast also on block or picture statistics). Reading the pixel
// before writing it makes the source copy unnecessary here.

#include "picfilter/FilterCommon.h"

#include "runtime/Numbers.h"
#include "runtime/Ui.h"

#include <algorithm>

namespace mFilterG::detail {
namespace {

KV_VECTOR_CLONES void invertRow(uint32_t* __restrict p, int w)
{
    for (int x = 0; x < w; ++x) p[x] ^= kColourBits;
}

KV_VECTOR_CLONES void greyRow(uint32_t* __restrict p, int w)
{
    for (int x = 0; x < w; ++x) {
        const uint32_t v = p[x];
        const uint32_t g = greyOfPixel(v);
        p[x] = (v & kFourthByte) | g | (g << 8) | (g << 16);
    }
}

template <int Perm>
inline uint32_t swapped(uint32_t v)
{
    const uint32_t b = v & 0xFF, g = (v >> 8) & 0xFF, r = (v >> 16) & 0xFF;
    if constexpr (Perm == 1) return pixelOf(g, r, b);
    if constexpr (Perm == 2) return pixelOf(r, b, g);
    if constexpr (Perm == 3) return pixelOf(g, b, r);
    if constexpr (Perm == 4) return pixelOf(r, g, b);
    return pixelOf(b, r, g);
}

template <int Perm>
void swapLoop(uint32_t* __restrict p, int w)
{
    for (int x = 0; x < w; ++x) p[x] = (p[x] & kFourthByte) | swapped<Perm>(p[x]);
}

KV_VECTOR_CLONES void swapRow(uint32_t* __restrict p, int w, int perm)
{
    switch (perm) {
    case 1: swapLoop<1>(p, w); break;
    case 2: swapLoop<2>(p, w); break;
    case 3: swapLoop<3>(p, w); break;
    case 4: swapLoop<4>(p, w); break;
    case 5: swapLoop<5>(p, w); break;
    default: break;
    }
}

// White (all three 255) or black, fourth byte kept.
inline uint32_t blackOrWhite(uint32_t v, bool white)
{
    return (v & kFourthByte) | ((0u - static_cast<uint32_t>(white)) & kColourBits);
}

KV_VECTOR_CLONES void colourThresholdRow(uint32_t* __restrict p, int w, int r0, int g0, int b0)
{
    for (int x = 0; x < w; ++x) {
        const uint32_t v = p[x];
        const int b = static_cast<int>(v & 0xFF), g = static_cast<int>((v >> 8) & 0xFF),
                  r = static_cast<int>((v >> 16) & 0xFF);
        p[x] = blackOrWhite(v, (r >= r0) | (g >= g0) | (b >= b0));
    }
}

KV_VECTOR_CLONES void maskThresholdRow(uint32_t* __restrict p, int w, int t)
{
    for (int x = 0; x < w; ++x) {
        const uint32_t v = p[x];
        const int b = static_cast<int>(v & 0xFF), g = static_cast<int>((v >> 8) & 0xFF),
                  r = static_cast<int>((v >> 16) & 0xFF);
        p[x] = blackOrWhite(v, (b > t) & (g > t) & (r > t));
    }
}

// Adds one row's bytes to 16-bit column sums (room for 257 rows).
KV_VECTOR_CLONES void addRow(uint16_t* __restrict sums, const uchar* __restrict row, int bytes)
{
    for (int i = 0; i < bytes; ++i) sums[i] = static_cast<uint16_t>(sums[i] + row[i]);
}

// Moves 16-bit column sums into the 32-bit ones and clears them.
KV_VECTOR_CLONES void flushSums(uint32_t* __restrict sums, uint16_t* __restrict partial, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        sums[i] += partial[i];
        partial[i] = 0;
    }
}

// The mean colour of each block from the column sums of its block row.
template <class Sum>
void blockMeans(const Sum* columnSums, int w, int64_t n, int64_t rows, std::vector<uint32_t>& means)
{
    for (size_t k = 0; k < means.size(); ++k) {
        const int x0 = static_cast<int>(static_cast<int64_t>(k) * n);
        const int x1 = static_cast<int>(std::min<int64_t>(x0 + n, w));
        uint64_t b = 0, g = 0, r = 0;
        for (int x = x0; x < x1; ++x) {
            b += columnSums[4 * static_cast<size_t>(x) + kBlue];
            g += columnSums[4 * static_cast<size_t>(x) + kGreen];
            r += columnSums[4 * static_cast<size_t>(x) + kRed];
        }
        // Truncated quotients in double precision: exact while count stays far below
        // 2^44 (a quotient at most 255 is never within 255 * 2^-53 of the next integer).
        const double count = static_cast<double>(x1 - x0) * static_cast<double>(rows);
        means[k] = pixelOf(static_cast<uint32_t>(static_cast<double>(b) / count),
                           static_cast<uint32_t>(static_cast<double>(g) / count),
                           static_cast<uint32_t>(static_cast<double>(r) / count));
    }
}

// One mosaic block row: each block's mean is computed once, then written to
// every row of the block row. The 16-bit column sums hold 257 rows; taller
// block rows move them into 32-bit sums, enough for any height below 2^24.
void mosaicBlockRow(const Pixels& px, int y0, int y1, int64_t n, std::vector<uint32_t>& columnSums,
                    std::vector<uint16_t>& partial, std::vector<uint32_t>& means)
{
    std::fill(partial.begin(), partial.end(), uint16_t{0});
    const int bytes = 4 * px.w;
    const int rows = y1 - y0;
    if (rows <= 257) {
        for (int y = y0; y < y1; ++y) addRow(partial.data(), px.row(y), bytes);
        blockMeans(partial.data(), px.w, n, rows, means);
        return;
    }
    std::fill(columnSums.begin(), columnSums.end(), 0u);
    for (int y = y0; y < y1; ++y) {
        addRow(partial.data(), px.row(y), bytes);
        if ((y - y0) % 257 == 256 || y == y1 - 1) flushSums(columnSums.data(), partial.data(), bytes);
    }
    blockMeans(columnSums.data(), px.w, n, rows, means);
}

} // namespace

void FilterInvert(const Pixels& px, int32_t& progressValue)
{
    // Invert never pumps events, neither per row nor at the end.
    FilterProgress progress(progressValue, px.h);
    for (int y = 0; y < px.h; ++y) {
        invertRow(px.row32(y), px.w);
        progress.row(y, 0, 100, false);
    }
    progress.finish(false);
}

void FilterGreyscale(const Pixels& px, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    for (int y = 0; y < px.h; ++y) {
        greyRow(px.row32(y), px.w);
        progress.row(y);
    }
    progress.finish();
}

void FilterBrightness(const Pixels& px, int32_t p, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    // The factor is kept in single precision; the wide sum avoids overflow of p + 100.
    const float f = static_cast<float>((static_cast<double>(p) + 100.0) / 100.0);
    // Tone curve.
    uchar lut[256];
    for (int i = 0; i < 256; ++i) lut[i] = clampByte(rt::roundHalfEven(static_cast<double>(f) * i));
    // Every channel through the curve.
    mapChannels(px, lut, lut, lut, progress, 0, 100);
    progress.finish();
}

void FilterMosaic(const Pixels& px, int32_t n, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    const int64_t size = n;  // at least 1, checked by the entry
    const size_t blocks = static_cast<size_t>((px.w + size - 1) / size);
    std::vector<uint32_t> columnSums(static_cast<size_t>(px.w) * 4);
    std::vector<uint16_t> partial(columnSums.size());
    std::vector<uint32_t> means(blocks);
    std::vector<uint32_t> rowColours(static_cast<size_t>(px.w));
    for (int y0 = 0; y0 < px.h; y0 = static_cast<int>(std::min<int64_t>(y0 + size, px.h))) {
        const int y1 = static_cast<int>(std::min<int64_t>(y0 + size, px.h));
        mosaicBlockRow(px, y0, y1, size, columnSums, partial, means);
        for (size_t k = 0; k < blocks; ++k) {
            const int64_t x0 = static_cast<int64_t>(k) * size;
            std::fill(rowColours.begin() + x0, rowColours.begin() + std::min<int64_t>(x0 + size, px.w), means[k]);
        }
        for (int y = y0; y < y1; ++y) {
            writeColourRow(px.row32(y), rowColours.data(), 0, px.w);
            progress.row(y);
        }
    }
    progress.finish();
}

void FilterSwapChannels(const Pixels& px, int32_t p, int32_t& progressValue)
{
    // Numbers other than 1 to 5 write no pixel; the rows and progress still run.
    FilterProgress progress(progressValue, px.h);
    for (int y = 0; y < px.h; ++y) {
        swapRow(px.row32(y), px.w, p);
        progress.row(y);
    }
    progress.finish();
}

void FilterColourThreshold(const Pixels& px, int32_t colour, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    // Red may be negative (the colour's sign): then every pixel reaches it.
    const int r0 = colour % 256;
    const int g0 = (colour >> 8) & 255;
    const int b0 = (colour >> 16) & 255;
    // White where any channel reaches its threshold.
    for (int y = 0; y < px.h; ++y) {
        colourThresholdRow(px.row32(y), px.w, r0, g0, b0);
        progress.row(y);
    }
    progress.finish();
}

void FilterMaskThreshold(const Pixels& px, int32_t p, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    for (int y = 0; y < px.h; ++y) {
        maskThresholdRow(px.row32(y), px.w, p);
        // Progress is not written per row here; the pump still runs.
        rt::DoEvents();
    }
    progress.finish();
}

} // namespace mFilterG::detail
