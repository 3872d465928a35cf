// 3 x 3 neighbourhood filters: sharpening, smoothing, random diffusion,
// contour and relief. Each channel is treated on its own with one formula.

#include "picfilter/FilterCommon.h"

#include "runtime/Numbers.h"
#include "runtime/Rnd.h"

#include <cstdlib>

namespace mFilterG::detail {
namespace {

// The eight neighbours and the centre of one channel.
struct Window {
    int nw, n, ne, w, p, e, sw, s, se;
    int sum8() const { return nw + n + ne + w + e + sw + s + se; }
};

inline Window windowAt(const uchar* up, const uchar* mid, const uchar* down, int i)
{
    return {up[i - 4], up[i], up[i + 4], mid[i - 4], mid[i], mid[i + 4], down[i - 4], down[i], down[i + 4]};
}

// Offsets per channel (blue, green, red) from a colour &H00BBGGRR.
struct Offsets {
    int c[3];
};

Offsets offsetsOf(int32_t colour)
{
    return {{(colour >> 16) & 255, (colour >> 8) & 255, colour % 256}};
}

// In place: the window is read from the picture being written, so the left
// and upper neighbours are already filtered. f gives the new value of one channel.
template <class F>
void inPlaceKernel(const Pixels& px, FilterProgress& progress, bool pump, F f)
{
    for (int y = 1; y < px.h - 1; ++y) {
        const uchar* up = px.row(y - 1);
        uchar* mid = px.row(y);
        const uchar* down = px.row(y + 1);
        for (int x = 1; x < px.w - 1; ++x) {
            const int i = 4 * x;
            // All three channels are computed before any is written.
            const uchar b = f(windowAt(up, mid, down, i + kBlue));
            const uchar g = f(windowAt(up, mid, down, i + kGreen));
            const uchar r = f(windowAt(up, mid, down, i + kRed));
            mid[i + kBlue] = b;
            mid[i + kGreen] = g;
            mid[i + kRed] = r;
        }
        progress.row(y, 0, 100, pump);
    }
    progress.finish(pump);
}

// From the source: the window is read from the picture as it came.
// f(window, channel) gives the new value, before clamping.
template <class F>
void sourceKernel(const Pixels& px, FilterProgress& progress, F f)
{
    SourceRows src(px, 2);
    for (int y = 1; y < px.h - 1; ++y) {
        src.save(y);
        const uchar* up = src.row(y - 1);
        const uchar* mid = src.row(y);
        const uchar* down = src.row(y + 1);
        uchar* out = px.row(y);
        for (int x = 1; x < px.w - 1; ++x) {
            const int i = 4 * x;
            for (int c = 0; c < 3; ++c) out[i + c] = clampByte(f(windowAt(up, mid, down, i + c), c));
        }
        progress.row(y);
    }
    progress.finish();
}

// Relief along the diagonal: only the pixel and its lower-right neighbour are
// read, and neither is written yet, so writing in place sees the picture as it came.
template <class F>
void diagonalKernel(const Pixels& px, FilterProgress& progress, F f)
{
    for (int y = 0; y < px.h - 1; ++y) {
        uchar* row = px.row(y);
        const uchar* below = px.row(y + 1);
        for (int x = 0; x < px.w - 1; ++x) {
            for (int c = 0; c < 3; ++c) {
                const int i = 4 * x + c;
                row[i] = clampByte(f(row[i], below[i + 4], c));
            }
        }
        progress.row(y);
    }
    progress.finish();
}

} // namespace

void FilterSharpen(const Pixels& px, int32_t p, int32_t& progressValue)
{
    // Wide: the centre weight may leave 32 bits for a large strength.
    const int64_t centre = static_cast<int64_t>(p) + 24;
    const int64_t divisor = static_cast<int64_t>(p) + 8;  // not 0, checked by the entry
    FilterProgress progress(progressValue, px.h);
    // This filter never pumps events.
    inPlaceKernel(px, progress, false, [&](const Window& v) {
        return clampByte((v.p * centre - 2 * v.sum8()) / divisor);
    });
}

void FilterSharpenSoft(const Pixels& px, int32_t p, int32_t& progressValue)
{
    const int64_t centre = static_cast<int64_t>(p) + 9;
    const int64_t divisor = static_cast<int64_t>(p) + 1;  // not 0, checked by the entry
    FilterProgress progress(progressValue, px.h);
    inPlaceKernel(px, progress, true, [&](const Window& v) {
        return clampByte((v.p * centre - v.sum8()) / divisor);
    });
}

void FilterBlur(const Pixels& px, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    inPlaceKernel(px, progress, true, [](const Window& v) { return static_cast<uchar>(v.sum8() / 8); });
}

void FilterSmooth(const Pixels& px, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    inPlaceKernel(px, progress, true,
                  [](const Window& v) { return static_cast<uchar>((v.p + v.n + v.w + v.e + v.s) / 5); });
}

void FilterDiffuse(const Pixels& px, int32_t p, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    // 1.
    const int64_t half = rt::CLng(p / 2.0);
    for (int y = 0; y < px.h; ++y) {
        uint32_t* row = px.row32(y);
        for (int x = 0; x < px.w; ++x) {
            // 2. Two draws, the horizontal one first.
            const int64_t dx0 = rt::CLng(static_cast<double>(rt::Rnd()) * p - half);
            const int64_t dy0 = rt::CLng(static_cast<double>(rt::Rnd()) * p - half);
            // 3. An offset that leaves the picture becomes 0 on its axis.
            const int64_t dx = (x + dx0 < 0 || x + dx0 >= px.w) ? 0 : dx0;
            const int64_t dy = (y + dy0 < 0 || y + dy0 >= px.h) ? 0 : dy0;
            // 4. The current value there, which may have moved already.
            const uint32_t from = px.row32(static_cast<int>(y + dy))[x + dx];
            row[x] = (row[x] & kFourthByte) | (from & kColourBits);
        }
        progress.row(y);
    }
    progress.finish();
}

void FilterContour(const Pixels& px, int32_t colour, int32_t& progressValue)
{
    const Offsets off = offsetsOf(colour);
    FilterProgress progress(progressValue, px.h);
    sourceKernel(px, progress, [&](const Window& v, int c) { return 8 * v.p - v.sum8() + off.c[c]; });
}

void FilterEmbossWest(const Pixels& px, int32_t colour, int32_t& progressValue)
{
    const Offsets off = offsetsOf(colour);
    FilterProgress progress(progressValue, px.h);
    sourceKernel(px, progress, [&](const Window& v, int c) {
        return (v.nw + v.w + v.sw) - (v.ne + v.e + v.se) + off.c[c];
    });
}

void FilterEmbossEast(const Pixels& px, int32_t colour, int32_t& progressValue)
{
    const Offsets off = offsetsOf(colour);
    FilterProgress progress(progressValue, px.h);
    sourceKernel(px, progress, [&](const Window& v, int c) {
        return (v.ne + v.e + v.se) - (v.nw + v.w + v.sw) + off.c[c];
    });
}

void FilterEmbossSobel(const Pixels& px, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    sourceKernel(px, progress, [](const Window& v, int) {
        return (v.p + 2 * v.nw + v.w + v.n - v.s - v.e - 2 * v.se) / 2 + 50;
    });
}

void FilterEmbossDiagonalInverse(const Pixels& px, int32_t colour, int32_t& progressValue)
{
    const Offsets off = offsetsOf(colour);
    FilterProgress progress(progressValue, px.h);
    diagonalKernel(px, progress, [&](int p, int se, int c) { return std::abs(p - se + off.c[c]); });
}

void FilterEmbossDiagonal(const Pixels& px, int32_t colour, int32_t& progressValue)
{
    const Offsets off = offsetsOf(colour);
    FilterProgress progress(progressValue, px.h);
    diagonalKernel(px, progress, [&](int p, int se, int c) { return std::abs(se - p + off.c[c]); });
}

} // namespace mFilterG::detail
