// Black-and-white dithering: every output pixel ends with blue, green and red
// all 0 or all 255. All read the picture as it came and scan rows left to right.

#include "picfilter/FilterCommon.h"

#include <algorithm>
#include <array>

namespace mFilterG::detail {
namespace {

// Bytes 4 .. bytes - 5 of an inner row sharpened per channel: (10 P - S8) \ 2, clamped.
KV_VECTOR_CLONES void sharpenRow(const uchar* __restrict up, const uchar* __restrict mid,
                                 const uchar* __restrict down, int bytes, uchar* __restrict out)
{
    for (int i = 4; i < bytes - 4; ++i) {
        const int s8 = up[i - 4] + up[i] + up[i + 4] + mid[i - 4] + mid[i + 4] + down[i - 4] + down[i] + down[i + 4];
        const int v = (10 * mid[i] - s8) / 2;
        out[i] = static_cast<uchar>(v < 0 ? 0 : (v > 255 ? 255 : v));
    }
}

// White where the pixel's level (grey \ 16 + 1) reaches the matrix value.
KV_VECTOR_CLONES void orderedRow(uint32_t* __restrict p, const uint32_t* __restrict threshold, int w)
{
    for (int x = 0; x < w; ++x) {
        const uint32_t v = p[x];
        const uint32_t grey = greyOfPixel(v);
        const bool white = grey / 16 + 1 >= threshold[x];
        p[x] = (v & kFourthByte) | ((0u - static_cast<uint32_t>(white)) & kColourBits);
    }
}

// One position that receives a share of the error: error row, column offset, weight.
struct Share {
    int row;  // 0: the current row, where dx is 1 or 2
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

// What a pixel's grey plus its scaled error (not yet clamped) leads to: the
// colour bits written and the shares of the error left behind. One table
// look-up replaces the clamp, the white test and the share look-up.
template <size_t K>
struct Outcome {
    std::array<int32_t, K> shares;
    uint32_t colour;  // 0 or kColourBits
};

// One picture row of error diffusion. `scale` turns the accumulated error
// into the amount added to the grey; `outcomes[v - vMin]` is the outcome of
// the unclamped value v.
template <int Rows, size_t K, class Scale>
void diffuseRow(uint32_t* row, int w, const Diffusion<Rows, K>& d, int32_t* const* rows,
                const Outcome<K>* outcomes, int vMin, Scale scale)
{
    // Shares for the next two pixels of this row travel in registers; the
    // error rows hold what earlier rows passed down.
    int32_t ahead1 = 0, ahead2 = 0;
    for (int x = 0; x < w; ++x) {
        const uint32_t pixel = row[x];
        const int v = static_cast<int>(greyOfPixel(pixel)) + scale(rows[0][x] + ahead1);
        const Outcome<K>& out = outcomes[v - vMin];
        row[x] = (pixel & kFourthByte) | out.colour;
        ahead1 = ahead2;
        ahead2 = 0;
        for (size_t j = 0; j < K; ++j) {
            const Share& share = d.shares[j];
            if (share.row == 0) {
                (share.dx == 1 ? ahead1 : ahead2) += out.shares[j];
            } else {
                rows[share.row][x + share.dx] += out.shares[j];
            }
        }
    }
}

// Error diffusion with the given weights; p scales the error when it is used.
template <int Rows, size_t K>
void diffuseError(const Pixels& px, const Diffusion<Rows, K>& d, int32_t p, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    // Share table: entry (e, k) = e * weight(k) \ D for every error -255..255,
    // and the scaled error e * 10 \ p for every accumulated error.
    std::vector<std::array<int32_t, K>> shareTable(2 * kMaxError + 1);
    std::vector<int32_t> scaled(2 * kMaxError + 1);
    for (int e = -kMaxError; e <= kMaxError; ++e) {
        for (size_t j = 0; j < K; ++j) shareTable[static_cast<size_t>(e + kMaxError)][j] = e * d.shares[j].weight / d.divisor;
        scaled[static_cast<size_t>(e + kMaxError)] = static_cast<int32_t>(static_cast<int64_t>(e) * 10 / p);
    }
    // Error rows with two spare columns on each side: shares that fall outside
    // the picture land there and are dropped. Rows below the last picture row
    // are never read.
    const size_t cols = static_cast<size_t>(px.w) + 4;
    std::vector<int32_t> errors(cols * Rows, 0);
    int32_t* rows[Rows];
    for (int r = 0; r < Rows; ++r) rows[r] = errors.data() + cols * static_cast<size_t>(r) + 2;
    // Progress: the method's own start value, then 10 once the mean grey is known.
    progress.set(d.startProgress);
    const int m = meanGrey(px);
    progress.set(10);
    // The outcome of every value a grey plus a scaled error can reach: the
    // value clamped to 0..255, white from the mean up, and the error it leaves
    // (the value itself, or that minus 255 when white).
    const auto [lowest, highest] = std::minmax_element(scaled.begin(), scaled.end());
    const int vMin = *lowest;
    const int vMax = 255 + *highest;
    std::vector<Outcome<K>> outcomes(static_cast<size_t>(vMax - vMin + 1));
    for (int v = vMin; v <= vMax; ++v) {
        const int c = std::clamp(v, 0, 255);
        const bool white = c >= m;
        outcomes[static_cast<size_t>(v - vMin)] = {shareTable[static_cast<size_t>(c - (white ? 255 : 0) + kMaxError)],
                                                    white ? kColourBits : 0u};
    }
    auto scaledError = [&](int32_t e) { return scaled[static_cast<size_t>(e + kMaxError)]; };
    // Row by row; at p = 10 the error is used as it is.
    for (int y = 0; y < px.h; ++y) {
        if (p == 10) {
            diffuseRow(px.row32(y), px.w, d, rows, outcomes.data(), vMin, [](int32_t e) { return e; });
        } else {
            diffuseRow(px.row32(y), px.w, d, rows, outcomes.data(), vMin, scaledError);
        }
        // Shift the error rows up; the last starts empty.
        std::move(errors.begin() + static_cast<std::ptrdiff_t>(cols), errors.end(), errors.begin());
        std::fill(errors.end() - static_cast<std::ptrdiff_t>(cols), errors.end(), 0);
        progress.row(y, 10, 90);
    }
    progress.finish();
}

} // namespace

namespace {

// Grey of every pixel of a row of bytes.
KV_VECTOR_CLONES void greyRow(const uchar* __restrict p, int w, int32_t* __restrict grey)
{
    for (int x = 0; x < w; ++x) grey[x] = greyOf(p + 4 * x);
}

// The carry stays within -63..63: a quarter of a clamped value's error.
constexpr int kMaxCarry = 63;

struct CarryOutcome {
    uint32_t colour;  // 0 or kColourBits
    int32_t carry;
};

} // namespace

void FilterDitherCarry(const Pixels& px, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    // The picture's mean grey is the threshold.
    const int m = meanGrey(px);
    progress.set(5);
    // The outcome of every grey plus carry, before the clamp: one look-up
    // instead of clamp, white test and the next carry on the pixel chain.
    std::array<CarryOutcome, 256 + 2 * kMaxCarry> outcomes;
    for (int v = -kMaxCarry; v <= 255 + kMaxCarry; ++v) {
        const int c = std::clamp(v, 0, 255);
        const int white = c >= m;  // 0 or 1
        // Only a quarter of the error is carried on.
        outcomes[static_cast<size_t>(v + kMaxCarry)] = {white ? kColourBits : 0u, (c - 255 * white) / 4};
    }
    SourceRows src(px, 2);
    std::vector<uchar> sharp(static_cast<size_t>(px.w) * 4);
    std::vector<int32_t> grey(static_cast<size_t>(px.w));
    int carry = 0;  // crosses row ends
    for (int y = 0; y < px.h; ++y) {
        src.save(y);
        const uchar* mid = src.row(y);
        // Inner pixels are sharpened first, the frame is used as it is.
        std::copy(mid, mid + sharp.size(), sharp.begin());
        if (y > 0 && y < px.h - 1) sharpenRow(src.row(y - 1), mid, src.row(y + 1), 4 * px.w, sharp.data());
        greyRow(sharp.data(), px.w, grey.data());
        uint32_t* out = px.row32(y);
        for (int x = 0; x < px.w; ++x) {
            const CarryOutcome& o = outcomes[static_cast<size_t>(grey[static_cast<size_t>(x)] + carry + kMaxCarry)];
            out[x] = (out[x] & kFourthByte) | o.colour;
            carry = o.carry;
        }
        progress.row(y, 5, 95);
    }
    progress.finish();
}

void FilterDitherOrdered(const Pixels& px, int32_t& progressValue)
{
    static const int matrix[4][4] = {{1, 13, 4, 16}, {9, 5, 12, 8}, {3, 15, 2, 14}, {11, 7, 10, 6}};
    FilterProgress progress(progressValue, px.h);
    // The matrix values along each of the four row patterns.
    std::vector<uint32_t> thresholds[4];
    for (int r = 0; r < 4; ++r) {
        thresholds[r].resize(static_cast<size_t>(px.w));
        for (int x = 0; x < px.w; ++x) thresholds[r][static_cast<size_t>(x)] = static_cast<uint32_t>(matrix[r][x % 4]);
    }
    for (int y = 0; y < px.h; ++y) {
        orderedRow(px.row32(y), thresholds[y % 4].data(), px.w);
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
