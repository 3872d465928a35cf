// Tone filters: automatic levels, noise, saturation and gamma. Each channel
// goes through a curve or gets a random amount.

#include "picfilter/FilterCommon.h"

#include "runtime/Numbers.h"
#include "runtime/Rnd.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace mFilterG::detail {
namespace {

// Running minimum and maximum of each byte position within 64-byte blocks.
KV_VECTOR_CLONES void minMaxRow(const uchar* __restrict row, int bytes, uchar* __restrict lo, uchar* __restrict hi)
{
    int i = 0;
    for (; i + 64 <= bytes; i += 64) {
        for (int j = 0; j < 64; ++j) {
            lo[j] = std::min(lo[j], row[i + j]);
            hi[j] = std::max(hi[j], row[i + j]);
        }
    }
    for (int j = 0; i + j < bytes; ++j) {
        lo[j] = std::min(lo[j], row[i + j]);
        hi[j] = std::max(hi[j], row[i + j]);
    }
}

// One channel moved f times its distance from the grey, rounded halves to even.
// f * (c - grey) + c is exact in double precision; values beyond -1..256 are
// cut before rounding, which changes nothing after the clamp.
inline uint32_t saturated(double f, int c, int grey)
{
    double t = f * (c - grey) + c;
    t = t < -1.0 ? -1.0 : (t > 256.0 ? 256.0 : t);
    const int v = static_cast<int>(std::nearbyint(t));
    return static_cast<uint32_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

KV_VECTOR_CLONES void saturationRow(uint32_t* __restrict p, int w, float f)
{
    const double factor = f;
    for (int x = 0; x < w; ++x) {
        const uint32_t v = p[x];
        const int b = static_cast<int>(v & 0xFF), g = static_cast<int>((v >> 8) & 0xFF),
                  r = static_cast<int>((v >> 16) & 0xFF);
        const int grey = static_cast<int>(greyOfPixel(v));
        p[x] = (v & kFourthByte)
            | pixelOf(saturated(factor, b, grey), saturated(factor, g, grey), saturated(factor, r, grey));
    }
}

} // namespace

void FilterAutoLevels(const Pixels& px, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    // Smallest and largest value of each channel, kept per byte position of
    // a 64-byte block (16 pixels) and folded per channel afterwards.
    uchar lo64[64], hi64[64];
    std::fill(std::begin(lo64), std::end(lo64), uchar{255});
    std::fill(std::begin(hi64), std::end(hi64), uchar{0});
    for (int y = 0; y < px.h; ++y) {
        minMaxRow(px.row(y), 4 * px.w, lo64, hi64);
        progress.row(y, 0, 10);
    }
    int lo[3] = {255, 255, 255};
    int hi[3] = {0, 0, 0};
    for (int j = 0; j < 64; ++j) {
        if ((j & 3) == 3) continue;
        lo[j & 3] = std::min<int>(lo[j & 3], lo64[j]);
        hi[j & 3] = std::max<int>(hi[j & 3], hi64[j]);
    }
    progress.set(10);
    // Stretch each channel to 0..255; a channel of one value has no range
    // to stretch and is left as it is.
    uchar lut[3][256];
    for (int c = 0; c < 3; ++c) {
        for (int v = 0; v < 256; ++v) {
            lut[c][v] = hi[c] == lo[c]
                ? static_cast<uchar>(v)
                : clampByte(rt::CLng(static_cast<double>((v - lo[c]) * 255) / (hi[c] - lo[c])));
        }
    }
    mapChannels(px, lut[0], lut[1], lut[2], progress, 10, 90);
    progress.finish();
}

void FilterNoise(const Pixels& px, int32_t a, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    // Wide: 2a + 1 may leave 32 bits.
    const double span = 2.0 * a + 1.0;
    for (int y = 0; y < px.h; ++y) {
        uchar* p = px.row(y);
        for (int x = 0; x < px.w; ++x, p += 4) {
            // Three draws per pixel, blue, green, red in this order.
            for (int c = 0; c < 3; ++c) {
                const double r = rt::Rnd();
                p[c] = clampByte(rt::roundHalfEven(r * span - a + p[c]));
            }
        }
        progress.row(y);
    }
    progress.finish();
}

void FilterSaturation(const Pixels& px, int32_t p, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    // The factor in single precision.
    const float f = static_cast<float>(p / 100.0);
    for (int y = 0; y < px.h; ++y) {
        saturationRow(px.row32(y), px.w, f);
        progress.row(y);
    }
    progress.finish();
}

void FilterGamma(const Pixels& px, int32_t p, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    // Gamma in single precision, and its inverse too (p at least 1, checked by the entry).
    const float g = static_cast<float>(p / 100.0);
    const float inverse = 1.0f / g;
    // The curve lies within 0..255 by itself.
    uchar lut[256];
    for (int v = 0; v < 256; ++v) {
        const uchar out = clampByte(rt::CLng(255.0 * std::pow(v / 255.0, static_cast<double>(inverse))));
        lut[v] = out;
    }
    mapChannels(px, lut, lut, lut, progress, 0, 100);
    progress.finish();
}

} // namespace mFilterG::detail
