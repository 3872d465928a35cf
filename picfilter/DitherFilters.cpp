// Black-and-white dithering: every output pixel ends with blue, green and red
// all 0 or all 255. All read the picture as it came and scan rows left to right.

#include "picfilter/FilterCommon.h"

#include <algorithm>

namespace mFilterG::detail {
namespace {

inline void setBlackWhite(uchar* p, bool white)
{
    const uchar v = white ? 255 : 0;
    p[kBlue] = v;
    p[kGreen] = v;
    p[kRed] = v;
}

// Sharpened value of one channel of an inner pixel: (10 P - S8) \ 2, clamped.
inline int sharpened(const uchar* up, const uchar* mid, const uchar* down, int i)
{
    const int s8 = up[i - 4] + up[i] + up[i + 4] + mid[i - 4] + mid[i + 4] + down[i - 4] + down[i] + down[i + 4];
    return clampByte((10 * mid[i] - s8) / 2);
}

// One position that receives a share of the error: error row, column offset, weight.
struct Share {
    int row;
    int dx;
    int weight;
};

struct Diffusion {
    int startProgress;  // the value reported before the mean is computed
    int divisor;
    int rows;           // error rows kept: the current one and those below
    std::vector<Share> shares;
};

const Diffusion& floydSteinberg()
{
    static const Diffusion d{2, 16, 2, {{0, 1, 7}, {1, -1, 3}, {1, 0, 5}, {1, 1, 1}}};
    return d;
}

const Diffusion& burkes()
{
    static const Diffusion d{3, 32, 2,
                             {{0, 1, 8}, {0, 2, 4},
                              {1, -2, 2}, {1, -1, 4}, {1, 0, 8}, {1, 1, 4}, {1, 2, 2}}};
    return d;
}

const Diffusion& stucki()
{
    static const Diffusion d{3, 42, 3,
                             {{0, 1, 8}, {0, 2, 4},
                              {1, -2, 2}, {1, -1, 4}, {1, 0, 8}, {1, 1, 4}, {1, 2, 2},
                              {2, -2, 1}, {2, -1, 2}, {2, 0, 4}, {2, 1, 2}, {2, 2, 1}}};
    return d;
}

// Error diffusion with the given weights; p scales the error when it is used.
void diffuseError(const Pixels& px, const Diffusion& d, int32_t p, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    // 1. Share table: entry (e, k) = e * weight(k) \ D for every error -255..255.
    const size_t k = d.shares.size();
    std::vector<int> shareTable(511 * k);
    for (int e = -255; e <= 255; ++e) {
        for (size_t j = 0; j < k; ++j) shareTable[(e + 255) * k + j] = e * d.shares[j].weight / d.divisor;
    }
    // Error rows with two spare columns on each side, so shares outside the
    // picture land there and are dropped.
    const size_t cols = static_cast<size_t>(px.w) + 4;
    std::vector<int64_t> errors(cols * static_cast<size_t>(d.rows), 0);
    auto errorRow = [&](int r) { return errors.data() + cols * static_cast<size_t>(r) + 2; };
    // 2.-3.
    progress.set(d.startProgress);
    const int m = meanGrey(px);
    progress.set(10);
    // 4.
    for (int y = 0; y < px.h; ++y) {
        uchar* row = px.row(y);
        const int rowsBelow = std::min(d.rows - 1, px.h - 1 - y);
        for (int x = 0; x < px.w; ++x) {
            uchar* q = row + 4 * x;
            const int64_t v = clampByte(greyOf(q) + errorRow(0)[x] * 10 / p);
            const bool white = v >= m;
            setBlackWhite(q, white);
            const int e = static_cast<int>(v) - (white ? 255 : 0);
            const int* s = &shareTable[(e + 255) * k];
            for (size_t j = 0; j < k; ++j) {
                if (d.shares[j].row <= rowsBelow) errorRow(d.shares[j].row)[x + d.shares[j].dx] += s[j];
            }
        }
        // 5. Shift the error rows up; the last starts empty.
        std::move(errors.begin() + cols, errors.end(), errors.begin());
        std::fill(errors.end() - cols, errors.end(), 0);
        // 6.
        progress.row(y, 10, 90);
    }
    progress.finish();
}

} // namespace

void FilterDitherCarry(const Pixels& px, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    // 1.
    const int m = meanGrey(px);
    progress.set(5);
    SourceRows src(px, 2);
    int carry = 0;  // crosses row ends
    for (int y = 0; y < px.h; ++y) {
        src.save(y);
        const uchar* mid = src.row(y);
        const bool innerRow = y > 0 && y < px.h - 1;
        const uchar* up = innerRow ? src.row(y - 1) : nullptr;
        const uchar* down = innerRow ? src.row(y + 1) : nullptr;
        uchar* out = px.row(y);
        for (int x = 0; x < px.w; ++x) {
            const int i = 4 * x;
            // 2. Inner pixels are sharpened first, the frame is used as it is.
            int sum = mid[i + kBlue] + mid[i + kGreen] + mid[i + kRed];
            if (innerRow && x > 0 && x < px.w - 1) {
                sum = sharpened(up, mid, down, i + kBlue) + sharpened(up, mid, down, i + kGreen)
                    + sharpened(up, mid, down, i + kRed);
            }
            // 3.-5. Only a quarter of the error is carried on.
            const int v = clampByte(greyTable()[sum] + carry);
            const bool white = v >= m;
            setBlackWhite(out + i, white);
            carry = (v - (white ? 255 : 0)) / 4;
        }
        // 6.
        progress.row(y, 5, 95);
    }
    progress.finish();
}

void FilterDitherOrdered(const Pixels& px, int32_t& progressValue)
{
    static const int matrix[4][4] = {{1, 13, 4, 16}, {9, 5, 12, 8}, {3, 15, 2, 14}, {11, 7, 10, 6}};
    FilterProgress progress(progressValue, px.h);
    for (int y = 0; y < px.h; ++y) {
        uchar* row = px.row(y);
        const int* m = matrix[y % 4];
        for (int x = 0; x < px.w; ++x) {
            uchar* q = row + 4 * x;
            const int level = greyOf(q) / 16 + 1;  // 1..16
            setBlackWhite(q, level >= m[x % 4]);
        }
        progress.row(y);
    }
    progress.finish();
}

void FilterDitherFloydSteinberg(const Pixels& px, int32_t p, int32_t& progress)
{
    diffuseError(px, floydSteinberg(), p, progress);
}

void FilterDitherBurkes(const Pixels& px, int32_t p, int32_t& progress)
{
    diffuseError(px, burkes(), p, progress);
}

void FilterDitherStucki(const Pixels& px, int32_t p, int32_t& progress)
{
    diffuseError(px, stucki(), p, progress);
}

} // namespace mFilterG::detail
