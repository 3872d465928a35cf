// The contrast filter: a tone curve about the picture's mean grey, with the
// excess of a clipped channel spilled into the other two.

#include "picfilter/FilterCommon.h"

#include "runtime/Numbers.h"

#include <algorithm>

namespace mFilterG::detail {
namespace {

// What a clipped channel passes on to each of the other two: half its excess.
inline int64_t excessHalf(int64_t c)
{
    const int64_t below = c < 0 ? c : 0;
    const int64_t above = c > 255 ? c - 255 : 0;
    return below / 2 + above / 2;
}

inline int64_t clampChannel(int64_t c)
{
    return c < 0 ? 0 : (c > 255 ? 255 : c);
}

inline bool outOfRange(int64_t c)
{
    return static_cast<uint64_t>(c) > 255;
}

} // namespace

void spillPixel(int64_t& b, int64_t& g, int64_t& r)
{
    if (!(outOfRange(b) | outOfRange(g) | outOfRange(r))) return;
    do {
        if ((b <= 0) & (g <= 0) & (r <= 0)) {
            b = g = r = 0;
            return;
        }
        if ((b >= 255) & (g >= 255) & (r >= 255)) {
            b = g = r = 255;
            return;
        }
        int64_t give = excessHalf(b);
        b = clampChannel(b);
        g += give;
        r += give;
        give = excessHalf(g);
        g = clampChannel(g);
        b += give;
        r += give;
        give = excessHalf(r);
        r = clampChannel(r);
        b += give;
        g += give;
    } while (outOfRange(b) | outOfRange(g) | outOfRange(r));
}

namespace {

// Curve values below this leave the spill's sums far inside 32 bits: one pass
// at most a little more than doubles the largest magnitude, and the pixel's
// sum, which the spill keeps, bounds the passes after it.
constexpr int32_t kSmallCurve = 1 << 24;

inline int32_t halfTowardZero(int32_t v)
{
    return v / 2;
}

// One pass of the spill over a whole row, per pixel without branches so the
// loop vectorises. Returns whether any pixel was still out of range.
KV_VECTOR_CLONES bool spillPassRow(int32_t* __restrict bs, int32_t* __restrict gs, int32_t* __restrict rs, int w)
{
    int32_t anyOut = 0;
    for (int x = 0; x < w; ++x) {
        const int32_t b = bs[x], g = gs[x], r = rs[x];
        const bool inRange = (static_cast<uint32_t>(b) <= 255) & (static_cast<uint32_t>(g) <= 255)
            & (static_cast<uint32_t>(r) <= 255);
        const bool noneAbove = (b <= 0) & (g <= 0) & (r <= 0);
        const bool allAtTop = (b >= 255) & (g >= 255) & (r >= 255);
        auto give = [](int32_t c) {
            return halfTowardZero(c < 0 ? c : 0) + halfTowardZero(c > 255 ? c - 255 : 0);
        };
        auto clamp = [](int32_t c) { return c < 0 ? 0 : (c > 255 ? 255 : c); };
        const int32_t gb = give(b);
        const int32_t b1 = clamp(b), g1 = g + gb, r1 = r + gb;
        const int32_t gg = give(g1);
        const int32_t g2 = clamp(g1), b2 = b1 + gg, r2 = r1 + gg;
        const int32_t gr = give(r2);
        const int32_t r3 = clamp(r2), b3 = b2 + gr, g3 = g2 + gr;
        const int32_t settled = noneAbove ? 0 : 255;
        const bool ends = noneAbove | allAtTop;
        bs[x] = inRange ? b : (ends ? settled : b3);
        gs[x] = inRange ? g : (ends ? settled : g3);
        rs[x] = inRange ? r : (ends ? settled : r3);
        anyOut |= !inRange;
    }
    return anyOut != 0;
}

// The curve values of a row's three channels.
KV_VECTOR_CLONES void curveRow(const uint32_t* __restrict q, int w, const int32_t* __restrict curve,
                               int32_t* __restrict bs, int32_t* __restrict gs, int32_t* __restrict rs)
{
    for (int x = 0; x < w; ++x) {
        const uint32_t v = q[x];
        bs[x] = curve[v & 0xFF];
        gs[x] = curve[(v >> 8) & 0xFF];
        rs[x] = curve[(v >> 16) & 0xFF];
    }
}

// Settled channels back into the row, fourth byte kept.
KV_VECTOR_CLONES void packRow(uint32_t* __restrict q, int w, const int32_t* __restrict bs,
                              const int32_t* __restrict gs, const int32_t* __restrict rs)
{
    for (int x = 0; x < w; ++x) {
        q[x] = (q[x] & kFourthByte)
            | pixelOf(static_cast<uint32_t>(bs[x]), static_cast<uint32_t>(gs[x]), static_cast<uint32_t>(rs[x]));
    }
}

} // namespace

void spillRow(std::vector<int32_t>& bs, std::vector<int32_t>& gs, std::vector<int32_t>& rs, int w,
              std::vector<int32_t>& index)
{
    if (!spillPassRow(bs.data(), gs.data(), rs.data(), w)) return;
    int n = 0;
    for (int x = 0; x < w; ++x) {
        index[static_cast<size_t>(n)] = x;
        n += static_cast<int>((static_cast<uint32_t>(bs[x]) > 255) | (static_cast<uint32_t>(gs[x]) > 255)
                              | (static_cast<uint32_t>(rs[x]) > 255));
    }
    if (n == 0) return;
    std::vector<int32_t> b(static_cast<size_t>(n)), g(b.size()), r(b.size());
    for (int k = 0; k < n; ++k) {
        const auto x = static_cast<size_t>(index[static_cast<size_t>(k)]);
        b[static_cast<size_t>(k)] = bs[x];
        g[static_cast<size_t>(k)] = gs[x];
        r[static_cast<size_t>(k)] = rs[x];
    }
    while (spillPassRow(b.data(), g.data(), r.data(), n)) {
    }
    for (int k = 0; k < n; ++k) {
        const auto x = static_cast<size_t>(index[static_cast<size_t>(k)]);
        bs[x] = b[static_cast<size_t>(k)];
        gs[x] = g[static_cast<size_t>(k)];
        rs[x] = r[static_cast<size_t>(k)];
    }
}

void FilterContrast(const Pixels& px, int32_t p, int32_t& progressValue)
{
    FilterProgress progress(progressValue, px.h);
    // Mean grey of the picture.
    const int m = meanGrey(px);
    // Factor in single precision.
    const float f = static_cast<float>((static_cast<double>(p) + 100.0) / 100.0);
    // Tone curve, not clamped: the spill below needs the excess.
    int64_t curve[256];
    for (int i = 0; i < 256; ++i) curve[i] = rt::CLng(static_cast<double>(f) * (i - m) + m);
    progress.set(5);
    // Curve, then spill what left 0..255 into the other channels: a row at a
    // time with passes until every pixel is settled, or pixel by pixel in
    // wide numbers when the curve is huge.
    bool small = true;
    int32_t curve32[256];
    for (int i = 0; i < 256; ++i) {
        small = small && curve[i] > -kSmallCurve && curve[i] < kSmallCurve;
        curve32[i] = static_cast<int32_t>(curve[i]);
    }
    std::vector<int32_t> bs(static_cast<size_t>(px.w)), gs(bs.size()), rs(bs.size()), index(bs.size());
    for (int y = 0; y < px.h; ++y) {
        uint32_t* q = px.row32(y);
        if (small) {
            curveRow(q, px.w, curve32, bs.data(), gs.data(), rs.data());
            spillRow(bs, gs, rs, px.w, index);
            packRow(q, px.w, bs.data(), gs.data(), rs.data());
        } else {
            for (int x = 0; x < px.w; ++x) {
                const uint32_t v = q[x];
                int64_t b = curve[v & 0xFF], g = curve[(v >> 8) & 0xFF], r = curve[(v >> 16) & 0xFF];
                spillPixel(b, g, r);
                q[x] = (v & kFourthByte)
                    | pixelOf(static_cast<uint32_t>(b), static_cast<uint32_t>(g), static_cast<uint32_t>(r));
            }
        }
        progress.row(y, 5, 95);
    }
    progress.finish();
}

} // namespace mFilterG::detail
