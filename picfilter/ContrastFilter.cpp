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

// The vector helpers below are all inlined into their callers, so no vector
// crosses a call between code built for different processors.
#pragma GCC diagnostic ignored "-Wpsabi"

// Curve values below this leave the spill's sums far inside 32 bits: one pass
// at most a little more than doubles the largest magnitude, and the pixel's
// sum, which the spill keeps, bounds the passes after it.
constexpr int32_t kSmallCurve = 1 << 24;

// A block of pixels is held in registers from the curve through the spill to
// the pack; written with vector types, as the compiler's own vectorising of
// the separate row loops gave up on the spill's repeated passes. Lanes: pixels
// in a block, no wider than the processor's vectors, since GCC takes wider
// comparisons apart lane by lane.
template <int Lanes>
struct Block {
    typedef int32_t Ints __attribute__((vector_size(Lanes * 4)));
    typedef uint32_t Words __attribute__((vector_size(Lanes * 4)));
    typedef double Doubles __attribute__((vector_size(Lanes * 8)));
};

template <typename V>
[[gnu::always_inline]] inline V select(V mask, V yes, V no)
{
    return (mask & yes) | (~mask & no);
}

[[gnu::always_inline]] inline bool anyNonZero(Block<4>::Ints v)
{
    typedef int64_t Halves __attribute__((vector_size(16)));
    const auto h = reinterpret_cast<Halves>(v);
    return (h[0] | h[1]) != 0;
}

[[gnu::always_inline]] inline bool anyNonZero(Block<8>::Ints v)
{
    return anyNonZero(__builtin_shufflevector(v, v, 0, 1, 2, 3) | __builtin_shufflevector(v, v, 4, 5, 6, 7));
}

template <typename V>
[[gnu::always_inline]] inline bool anyOutOfRange(V b, V g, V r)
{
    // A negative value or one above 255 sets a bit above the lowest byte.
    return anyNonZero((b | g | r) & ~255);
}

template <typename V>
[[gnu::always_inline]] inline V clamp(V c)
{
    const V zero{}, top = zero + 255;
    const V low = c < zero ? zero : c;
    return low > top ? top : low;
}

// The spill, passes over the block until every pixel is settled; a pass
// leaves a settled pixel as it is.
template <typename V>
[[gnu::always_inline]] inline void spillLanes(V& b, V& g, V& r)
{
    const V zero{}, top = zero + 255;
    if (!anyOutOfRange(b, g, r)) return;
    do {
        const V noneAbove = ~((b > zero) | (g > zero) | (r > zero));
        const V allAtTop = ~((b < top) | (g < top) | (r < top));
        // Half the excess, toward zero, to each of the other two.
        V give = (b - clamp(b)) / 2;
        b = clamp(b);
        g += give;
        r += give;
        give = (g - clamp(g)) / 2;
        g = clamp(g);
        b += give;
        r += give;
        give = (r - clamp(r)) / 2;
        r = clamp(r);
        b += give;
        g += give;
        const V ends = noneAbove | allAtTop;
        const V settled = allAtTop & top;
        b = select(ends, settled, b);
        g = select(ends, settled, g);
        r = select(ends, settled, r);
    } while (anyOutOfRange(b, g, r));
}

// The tone curve f * (c - m) + m, rounded halves to even as a whole: with m
// odd, rounding the product alone would move exact halves the other way. The
// product of a single-precision f and a channel difference is exact in
// double, and so is the sum, so this is the table's value; adding
// 1.5 * 2^52 (which holds m exactly) rounds it to an integer, halves to even.
struct Curve {
    double f;
    int32_t m;
};

constexpr double kRoundingShift = 6755399441055744.0;

template <int Lanes>
[[gnu::always_inline]] inline void curveLanes(typename Block<Lanes>::Ints& c, const Curve& curve)
{
    using Doubles = typename Block<Lanes>::Doubles;
    const double shiftedMean = kRoundingShift + curve.m;
    const Doubles v = __builtin_convertvector(c - curve.m, Doubles) * curve.f + shiftedMean;
    c = __builtin_convertvector(v - kRoundingShift, typename Block<Lanes>::Ints);
}

template <int Lanes>
[[gnu::always_inline]] inline void contrastBlocks(uint32_t* __restrict q, int blocks, const Curve& curve)
{
    using Ints = typename Block<Lanes>::Ints;
    using Words = typename Block<Lanes>::Words;
    for (int k = 0; k < blocks; ++k) {
        Words v;
        std::memcpy(&v, q + k * Lanes, sizeof v);
        Ints b = reinterpret_cast<Ints>(v & 0xFFu), g = reinterpret_cast<Ints>((v >> 8) & 0xFFu),
             r = reinterpret_cast<Ints>((v >> 16) & 0xFFu);
        curveLanes<Lanes>(b, curve);
        curveLanes<Lanes>(g, curve);
        curveLanes<Lanes>(r, curve);
        spillLanes(b, g, r);
        v = (v & kFourthByte) | reinterpret_cast<Words>(b | (g << 8) | (r << 16));
        std::memcpy(q + k * Lanes, &v, sizeof v);
    }
}

// A row of small curve values: whole blocks in place, the last few pixels
// through a block padded with copies of the row's last pixel.
template <int Lanes>
[[gnu::always_inline]] inline void contrastRowOf(uint32_t* q, int w, const Curve& curve)
{
    const int whole = w / Lanes;
    contrastBlocks<Lanes>(q, whole, curve);
    const int rest = w - whole * Lanes;
    if (rest == 0) return;
    uint32_t tail[Lanes];
    for (int i = 0; i < Lanes; ++i) tail[i] = q[whole * Lanes + std::min(i, rest - 1)];
    contrastBlocks<Lanes>(tail, 1, curve);
    std::memcpy(q + whole * Lanes, tail, static_cast<size_t>(rest) * 4);
}

void contrastRow4(uint32_t* q, int w, const Curve& curve)
{
    contrastRowOf<4>(q, w, curve);
}

using ContrastRow = void (*)(uint32_t*, int, const Curve&);

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__)
__attribute__((target("avx2"))) void contrastRow8(uint32_t* q, int w, const Curve& curve)
{
    contrastRowOf<8>(q, w, curve);
}

ContrastRow chooseContrastRow()
{
    return __builtin_cpu_supports("avx2") ? contrastRow8 : contrastRow4;
}
#else
ContrastRow chooseContrastRow()
{
    return contrastRow4;
}
#endif

} // namespace

void spillRow(std::vector<int32_t>& bs, std::vector<int32_t>& gs, std::vector<int32_t>& rs, int w)
{
    using Ints = Block<4>::Ints;
    for (int x0 = 0; x0 < w; x0 += 4) {
        Ints b{}, g{}, r{};
        const int n = std::min(4, w - x0);
        for (int i = 0; i < n; ++i) {
            b[i] = bs[static_cast<size_t>(x0 + i)];
            g[i] = gs[static_cast<size_t>(x0 + i)];
            r[i] = rs[static_cast<size_t>(x0 + i)];
        }
        spillLanes(b, g, r);
        for (int i = 0; i < n; ++i) {
            bs[static_cast<size_t>(x0 + i)] = b[i];
            gs[static_cast<size_t>(x0 + i)] = g[i];
            rs[static_cast<size_t>(x0 + i)] = r[i];
        }
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
    // Curve, then spill what left 0..255 into the other channels: blocks of
    // pixels with passes until every pixel is settled, or pixel by pixel in
    // wide numbers when the curve is huge.
    bool small = true;
    for (int i = 0; i < 256; ++i) small = small && curve[i] > -kSmallCurve && curve[i] < kSmallCurve;
    const Curve blockCurve{static_cast<double>(f), m};
    static const ContrastRow contrastRow = chooseContrastRow();
    for (int y = 0; y < px.h; ++y) {
        uint32_t* q = px.row32(y);
        if (small) {
            contrastRow(q, px.w, blockCurve);
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
