// Tone filters: automatic levels, noise, saturation and gamma. Each channel
// goes through a curve or gets a random amount.

#include "picfilter/FilterCommon.h"

#include "runtime/Numbers.h"
#include "runtime/Rnd.h"

#include <cmath>

namespace mFilterG::detail {
void FilterAutoLevels(const Pixels& px, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    // 1. Smallest and largest value of each channel.
    int lo[3] = {255, 255, 255};
    int hi[3] = {0, 0, 0};
    for (int y = 0; y < px.h; ++y) {
        const uchar* p = px.row(y);
        for (int x = 0; x < px.w; ++x, p += 4) {
            for (int c = 0; c < 3; ++c) {
                lo[c] = std::min<int>(lo[c], p[c]);
                hi[c] = std::max<int>(hi[c], p[c]);
            }
        }
        progress.row(y, 0, 10);
    }
    progress.set(10);
    // 2. Stretch each channel to 0..255; a channel of one value has no range
    //    to stretch and is left as it is.
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
    // 1.
    const float f = static_cast<float>(p / 100.0);
    // 2. The result depends only on the grey and the channel: one table for all pairs.
    std::vector<uchar> table(256 * 256);
    for (int grey = 0; grey < 256; ++grey) {
        for (int c = 0; c < 256; ++c) {
            table[grey * 256 + c] = clampByte(rt::roundHalfEven(static_cast<double>(f) * (c - grey) + c));
        }
    }
    for (int y = 0; y < px.h; ++y) {
        uint32_t* q = px.row32(y);
        for (int x = 0; x < px.w; ++x) {
            const uint32_t v = q[x];
            const uint32_t b = v & 0xFF, g = (v >> 8) & 0xFF, r = (v >> 16) & 0xFF;
            const uchar* t = &table[static_cast<size_t>(greyOfSum(b + g + r)) * 256];
            q[x] = (v & kFourthByte) | pixelOf(t[b], t[g], t[r]);
        }
        // 3.
        progress.row(y);
    }
    progress.finish();
}

void FilterGamma(const Pixels& px, int32_t p, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    // 1. Gamma in single precision, and its inverse too (p at least 1, checked by the entry).
    const float g = static_cast<float>(p / 100.0);
    const float inverse = 1.0f / g;
    // 2. The curve lies within 0..255 by itself.
    uchar lut[256];
    for (int v = 0; v < 256; ++v) {
        const uchar out = clampByte(rt::CLng(255.0 * std::pow(v / 255.0, static_cast<double>(inverse))));
        lut[v] = out;
    }
    mapChannels(px, lut, lut, lut, progress, 0, 100);
    progress.finish();
}

} // namespace mFilterG::detail
