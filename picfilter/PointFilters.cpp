// Per-pixel filters: each output pixel depends only on the same input pixel
// (mosaic and contrast also on block or picture statistics). Reading the pixel
// before writing it makes the source copy unnecessary here.

#include "picfilter/FilterCommon.h"

#include "runtime/Numbers.h"
#include "runtime/Ui.h"

#include <algorithm>

namespace mFilterG::detail {
namespace {

// (b + g + r) \ 3 without a table: exact for every sum up to 765.
inline uint32_t greyOfPixel(uint32_t v)
{
    const uint32_t sum = (v & 0xFF) + ((v >> 8) & 0xFF) + ((v >> 16) & 0xFF);
    return (sum * 683u) >> 11;
}

// One mosaic block row: each block's mean is computed once, then written to
// every row of the block row.
void mosaicBlockRow(const Pixels& px, int y0, int y1, int64_t n, std::vector<int64_t>& sums,
                    std::vector<uint32_t>& means)
{
    std::fill(sums.begin(), sums.end(), 0);
    for (int y = y0; y < y1; ++y) {
        const uchar* p = px.row(y);
        for (size_t k = 0; k < means.size(); ++k) {
            const int x0 = static_cast<int>(static_cast<int64_t>(k) * n);
            const int x1 = static_cast<int>(std::min<int64_t>(x0 + n, px.w));
            uint64_t b = 0, g = 0, r = 0;
            for (int x = x0; x < x1; ++x) {
                b += p[4 * x + kBlue];
                g += p[4 * x + kGreen];
                r += p[4 * x + kRed];
            }
            sums[k * 3] += static_cast<int64_t>(b);
            sums[k * 3 + 1] += static_cast<int64_t>(g);
            sums[k * 3 + 2] += static_cast<int64_t>(r);
        }
    }
    const int64_t rows = y1 - y0;
    for (size_t k = 0; k < means.size(); ++k) {
        const int64_t x0 = static_cast<int64_t>(k) * n;
        const int64_t count = (std::min<int64_t>(x0 + n, px.w) - x0) * rows;
        const int64_t* s = &sums[k * 3];
        means[k] = pixelOf(static_cast<uint32_t>(s[0] / count), static_cast<uint32_t>(s[1] / count),
                           static_cast<uint32_t>(s[2] / count));
    }
}

// Keeps the excess of a clipped channel in the pixel: half of it goes to each
// of the other two channels. Each pass puts at least one channel on its bound.
void spill(int64_t c[3])
{
    auto inRange = [](int64_t v) { return v >= 0 && v <= 255; };
    while (!(inRange(c[0]) && inRange(c[1]) && inRange(c[2]))) {
        if (c[0] <= 0 && c[1] <= 0 && c[2] <= 0) {
            c[0] = c[1] = c[2] = 0;
        } else if (c[0] >= 255 && c[1] >= 255 && c[2] >= 255) {
            c[0] = c[1] = c[2] = 255;
        } else {
            for (int k = 0; k < 3; ++k) {
                int64_t give = 0;
                if (c[k] < 0) {
                    give = c[k] / 2;
                    c[k] = 0;
                } else if (c[k] > 255) {
                    give = (c[k] - 255) / 2;
                    c[k] = 255;
                } else {
                    continue;
                }
                c[(k + 1) % 3] += give;
                c[(k + 2) % 3] += give;
            }
        }
    }
}

} // namespace

void FilterInvert(const Pixels& px, int32_t& progressValue)
{
    // Invert never pumps events, neither per row nor at the end.
    FilterProgress progress(progressValue, px.h);
    for (int y = 0; y < px.h; ++y) {
        uint32_t* p = px.row32(y);
        for (int x = 0; x < px.w; ++x) p[x] ^= kColourBits;
        progress.row(y, 0, 100, false);
    }
    progress.finish(false);
}

void FilterGreyscale(const Pixels& px, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    for (int y = 0; y < px.h; ++y) {
        uint32_t* p = px.row32(y);
        for (int x = 0; x < px.w; ++x) {
            const uint32_t v = p[x];
            p[x] = (v & kFourthByte) | (greyOfPixel(v) * 0x010101u);
        }
        progress.row(y);
    }
    progress.finish();
}

void FilterBrightness(const Pixels& px, int32_t p, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    // 1. The factor is kept in single precision; the wide sum avoids overflow of p + 100.
    const float f = static_cast<float>((static_cast<double>(p) + 100.0) / 100.0);
    // 2. Tone curve.
    uchar lut[256];
    for (int i = 0; i < 256; ++i) lut[i] = clampByte(rt::roundHalfEven(static_cast<double>(f) * i));
    // 3. Every channel through the curve.
    mapChannels(px, lut, lut, lut, progress, 0, 100);
    progress.finish();
}

void FilterMosaic(const Pixels& px, int32_t n, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    const int64_t size = n;  // at least 1, checked by the entry
    const size_t blocks = static_cast<size_t>((px.w + size - 1) / size);
    std::vector<int64_t> sums(blocks * 3);
    std::vector<uint32_t> means(blocks);
    for (int y0 = 0; y0 < px.h; y0 = static_cast<int>(std::min<int64_t>(y0 + size, px.h))) {
        const int y1 = static_cast<int>(std::min<int64_t>(y0 + size, px.h));
        mosaicBlockRow(px, y0, y1, size, sums, means);
        for (int y = y0; y < y1; ++y) {
            uint32_t* p = px.row32(y);
            for (size_t k = 0; k < blocks; ++k) {
                const int x0 = static_cast<int>(static_cast<int64_t>(k) * size);
                const int x1 = static_cast<int>(std::min<int64_t>(x0 + size, px.w));
                for (int x = x0; x < x1; ++x) p[x] = (p[x] & kFourthByte) | means[k];
            }
            progress.row(y);
        }
    }
    progress.finish();
}

void FilterSwapChannels(const Pixels& px, int32_t p, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    for (int y = 0; y < px.h; ++y) {
        uint32_t* q = px.row32(y);
        if (p >= 1 && p <= 5) {
            for (int x = 0; x < px.w; ++x) {
                const uint32_t v = q[x];
                const uint32_t b = v & 0xFF, g = (v >> 8) & 0xFF, r = (v >> 16) & 0xFF;
                uint32_t out = 0;
                switch (p) {
                case 1: out = pixelOf(g, r, b); break;
                case 2: out = pixelOf(r, b, g); break;
                case 3: out = pixelOf(g, b, r); break;
                case 4: out = pixelOf(r, g, b); break;
                default: out = pixelOf(b, r, g); break;
                }
                q[x] = (v & kFourthByte) | out;
            }
        }
        progress.row(y);
    }
    progress.finish();
}

void FilterContrast(const Pixels& px, int32_t p, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    // 1.-2. Mean grey of the picture.
    const int m = meanGrey(px);
    // 3. Factor in single precision.
    const float f = static_cast<float>((static_cast<double>(p) + 100.0) / 100.0);
    // 4. Tone curve, not clamped: the spill below needs the excess.
    int64_t curve[256];
    for (int i = 0; i < 256; ++i) curve[i] = rt::CLng(static_cast<double>(f) * (i - m) + m);
    // 5.
    progress.set(5);
    // 6. Curve, then spill what left 0..255 into the other channels.
    for (int y = 0; y < px.h; ++y) {
        uint32_t* q = px.row32(y);
        for (int x = 0; x < px.w; ++x) {
            const uint32_t v = q[x];
            int64_t c[3] = {curve[v & 0xFF], curve[(v >> 8) & 0xFF], curve[(v >> 16) & 0xFF]};
            if ((static_cast<uint64_t>(c[0]) | static_cast<uint64_t>(c[1]) | static_cast<uint64_t>(c[2])) > 255) {
                spill(c);
            }
            q[x] = (v & kFourthByte)
                | pixelOf(static_cast<uint32_t>(c[0]), static_cast<uint32_t>(c[1]), static_cast<uint32_t>(c[2]));
        }
        // 7.
        progress.row(y, 5, 95);
    }
    progress.finish();
}

void FilterColourThreshold(const Pixels& px, int32_t colour, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    int32_t r0 = 0, g0 = 0, b0 = 0;
    // 1. (SplitRGB's rule, repeated here to keep the entry's header free of internals.)
    r0 = colour % 256;
    g0 = (colour >> 8) & 255;
    b0 = (colour >> 16) & 255;
    // 2. White where any channel reaches its threshold.
    for (int y = 0; y < px.h; ++y) {
        uint32_t* q = px.row32(y);
        for (int x = 0; x < px.w; ++x) {
            const uint32_t v = q[x];
            const int b = static_cast<int>(v & 0xFF), g = static_cast<int>((v >> 8) & 0xFF),
                      r = static_cast<int>((v >> 16) & 0xFF);
            const bool white = r >= r0 || g >= g0 || b >= b0;
            q[x] = (v & kFourthByte) | (white ? kColourBits : 0u);
        }
        progress.row(y);
    }
    progress.finish();
}

void FilterMaskThreshold(const Pixels& px, int32_t p, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    for (int y = 0; y < px.h; ++y) {
        uint32_t* q = px.row32(y);
        for (int x = 0; x < px.w; ++x) {
            const uint32_t v = q[x];
            const int b = static_cast<int>(v & 0xFF), g = static_cast<int>((v >> 8) & 0xFF),
                      r = static_cast<int>((v >> 16) & 0xFF);
            const bool white = b > p && g > p && r > p;
            q[x] = (v & kFourthByte) | (white ? kColourBits : 0u);
        }
        // Progress is not written per row here; the pump still runs.
        rt::DoEvents();
    }
    progress.finish();
}

} // namespace mFilterG::detail
