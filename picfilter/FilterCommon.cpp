#include "picfilter/FilterCommon.h"

#include "runtime/Ui.h"

// Table look-ups have no plain vector form; processors with byte permutes
// (AVX-512 VBMI) do 64 of them in a few instructions.
#if defined(__GNUC__) && defined(__x86_64__)
#define KV_HAVE_BYTE_PERMUTE 1
#include <immintrin.h>
#else
#define KV_HAVE_BYTE_PERMUTE 0
#endif

namespace mFilterG::detail {

void FilterProgress::set(int32_t v, bool pump)
{
    m_value = v;
    if (pump) rt::DoEvents();
}

namespace {

KV_VECTOR_CLONES uint64_t greySumRow(const uint32_t* __restrict p, int w)
{
    uint64_t sum = 0;
    for (int x = 0; x < w; ++x) {
        const uint32_t v = p[x];
        sum += greyOfPixel(v);
    }
    return sum;
}

void mapRowPlain(uint32_t* __restrict p, int w, const uchar* __restrict lutB, const uchar* __restrict lutG,
                 const uchar* __restrict lutR)
{
    for (int x = 0; x < w; ++x) {
        const uint32_t v = p[x];
        p[x] = (v & kFourthByte) | pixelOf(lutB[v & 0xFF], lutG[(v >> 8) & 0xFF], lutR[(v >> 16) & 0xFF]);
    }
}

#if KV_HAVE_BYTE_PERMUTE
// A 256-entry table looked up 64 bytes at a time: two 128-byte permutes, the
// top bit of each byte choosing between them.
struct ZmmTable {
    __m512i q[4];
};

__attribute__((target("avx512f,avx512bw,avx512vbmi"))) inline ZmmTable loadTable(const uchar* lut)
{
    return {{_mm512_loadu_si512(lut), _mm512_loadu_si512(lut + 64), _mm512_loadu_si512(lut + 128),
             _mm512_loadu_si512(lut + 192)}};
}

__attribute__((target("avx512f,avx512bw,avx512vbmi"))) inline __m512i lookup(const ZmmTable& t, __m512i idx)
{
    const __m512i low = _mm512_permutex2var_epi8(t.q[0], idx, t.q[1]);
    const __m512i high = _mm512_permutex2var_epi8(t.q[2], idx, t.q[3]);
    return _mm512_mask_blend_epi8(_mm512_movepi8_mask(idx), low, high);
}

__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void mapRowPermute(
    uint32_t* p, int w, const uchar* lutB, const uchar* lutG, const uchar* lutR)
{
    const ZmmTable tb = loadTable(lutB);
    const ZmmTable tg = loadTable(lutG);
    const ZmmTable tr = loadTable(lutR);
    const bool oneTable = lutB == lutG && lutG == lutR;
    constexpr __mmask64 greenBytes = 0x2222222222222222ull;
    constexpr __mmask64 redBytes = 0x4444444444444444ull;
    constexpr __mmask64 fourthBytes = 0x8888888888888888ull;
    int x = 0;
    for (; x + 16 <= w; x += 16) {
        const __m512i v = _mm512_loadu_si512(p + x);
        __m512i out = lookup(tb, v);
        if (!oneTable) {
            out = _mm512_mask_mov_epi8(out, greenBytes, lookup(tg, v));
            out = _mm512_mask_mov_epi8(out, redBytes, lookup(tr, v));
        }
        _mm512_storeu_si512(p + x, _mm512_mask_mov_epi8(out, fourthBytes, v));
    }
    mapRowPlain(p + x, w - x, lutB, lutG, lutR);
}

bool hasBytePermute()
{
    static const bool has = __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi");
    return has;
}
#endif

void mapRow(uint32_t* p, int w, const uchar* lutB, const uchar* lutG, const uchar* lutR)
{
#if KV_HAVE_BYTE_PERMUTE
    if (hasBytePermute()) {
        mapRowPermute(p, w, lutB, lutG, lutR);
        return;
    }
#endif
    mapRowPlain(p, w, lutB, lutG, lutR);
}

} // namespace

int meanGrey(const Pixels& px)
{
    uint64_t sum = 0;
    for (int y = 0; y < px.h; ++y) sum += greySumRow(px.row32(y), px.w);
    return static_cast<int>(sum / (static_cast<uint64_t>(px.w) * static_cast<uint64_t>(px.h)));
}

KV_VECTOR_CLONES void writeColourRow(uint32_t* __restrict out, const uint32_t* __restrict colour, int x0, int x1)
{
    for (int x = x0; x < x1; ++x) out[x] = (out[x] & kFourthByte) | (colour[x] & kColourBits);
}

void mapChannels(const Pixels& px, const uchar* lutB, const uchar* lutG, const uchar* lutR,
                 FilterProgress& progress, int base, int span)
{
    for (int y = 0; y < px.h; ++y) {
        mapRow(px.row32(y), px.w, lutB, lutG, lutR);
        progress.row(y, base, span);
    }
}

} // namespace mFilterG::detail
