// Black-and-white dithering: every output pixel ends with blue, green and red
// all 0 or all 255. All read the picture as it came and scan rows left to right.

#include "picfilter/FilterCommon.h"

#include <algorithm>
#include <array>

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

template <int Rows, size_t K>
struct Diffusion {
    int startProgress;  // the value reported before the mean is computed
    int divisor;
    std::array<Share, K> shares;
};

constexpr Diffusion<2, 4> kFloydSteinberg{2, 16, {{{0, 1, 7}, {1, -1, 3}, {1, 0, 5}, {1, 1, 1}}}};
constexpr Diffusion<2, 7> kBurkes{3, 32,
                                  {{{0, 1, 8}, {0, 2, 4},
                                    {1, -2, 2}, {1, -1, 4}, {1, 0, 8}, {1, 1, 4}, {1, 2, 2}}}};
constexpr Diffusion<3, 12> kStucki{3, 42,
                                   {{{0, 1, 8}, {0, 2, 4},
                                     {1, -2, 2}, {1, -1, 4}, {1, 0, 8}, {1, 1, 4}, {1, 2, 2},
                                     {2, -2, 1}, {2, -1, 2}, {2, 0, 4}, {2, 1, 2}, {2, 2, 1}}}};

// The accumulated error of a pixel stays within -255..255: it is a sum of
// truncated shares whose weights add up to at most the divisor.
constexpr int kMaxError = 255;

// Error diffusion with the given weights; p scales the error when it is used.
template <int Rows, size_t K>
void diffuseError(const Pixels& px, const Diffusion<Rows, K>& d, int32_t p, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    // 1. Share table: entry (e, k) = e * weight(k) \ D for every error -255..255,
    //    and the scaled error e * 10 \ p for every accumulated error.
    std::vector<std::array<int32_t, K>> shareTable(2 * kMaxError + 1);
    std::vector<int32_t> scaled(2 * kMaxError + 1);
    for (int e = -kMaxError; e <= kMaxError; ++e) {
        for (size_t j = 0; j < K; ++j) shareTable[static_cast<size_t>(e + kMaxError)][j] = e * d.shares[j].weight / d.divisor;
        scaled[static_cast<size_t>(e + kMaxError)] = static_cast<int32_t>(static_cast<int64_t>(e) * 10 / p);
    }
    // Error rows with two spare columns on each side and one spare row below
    // the picture: shares that fall outside land there and are dropped.
    const size_t cols = static_cast<size_t>(px.w) + 4;
    std::vector<int32_t> errors(cols * Rows, 0);
    auto errorRow = [&](int r) { return errors.data() + cols * static_cast<size_t>(r) + 2; };
    // 2.-3.
    progress.set(d.startProgress);
    const int m = meanGrey(px);
    progress.set(10);
    // 4.
    for (int y = 0; y < px.h; ++y) {
        uchar* row = px.row(y);
        int32_t* rows[Rows];
        for (int r = 0; r < Rows; ++r) rows[r] = errorRow(r);
        for (int x = 0; x < px.w; ++x) {
            uchar* q = row + 4 * x;
            const int32_t error = rows[0][x];
            const int scaledError = error >= -kMaxError && error <= kMaxError
                ? scaled[static_cast<size_t>(error + kMaxError)]
                : static_cast<int>(static_cast<int64_t>(error) * 10 / p);
            const int v = clampByte(greyOf(q) + static_cast<int64_t>(scaledError));
            const bool white = v >= m;
            setBlackWhite(q, white);
            const auto& shares = shareTable[static_cast<size_t>(v - (white ? 255 : 0) + kMaxError)];
            for (size_t j = 0; j < K; ++j) rows[d.shares[j].row][x + d.shares[j].dx] += shares[j];
        }
        // 5. Shift the error rows up; the last starts empty.
        std::move(errors.begin() + static_cast<std::ptrdiff_t>(cols), errors.end(), errors.begin());
        std::fill(errors.end() - static_cast<std::ptrdiff_t>(cols), errors.end(), 0);
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
    diffuseError(px, kFloydSteinberg, p, progress);
}

void FilterDitherBurkes(const Pixels& px, int32_t p, int32_t& progress)
{
    diffuseError(px, kBurkes, p, progress);
}

void FilterDitherStucki(const Pixels& px, int32_t p, int32_t& progress)
{
    diffuseError(px, kStucki, p, progress);
}

} // namespace mFilterG::detail
