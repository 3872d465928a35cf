#include "runtime/Rnd.h"

#include <chrono>
#include <cstring>

namespace rt {
namespace detail {
namespace {

constexpr int kN = RndState::kWords;
constexpr int kM = 397;
constexpr uint32_t kMatrix = 0x9908b0dfu;
constexpr uint32_t kUpper = 0x80000000u;
constexpr uint32_t kLower = 0x7fffffffu;

// The Mersenne Twister's seeding, draws to be made on first use.
constexpr RndState seeded(uint32_t seed)
{
    RndState s{};
    s.words[0] = seed;
    for (int i = 1; i < kN; ++i) s.words[i] = 1812433253u * (s.words[i - 1] ^ (s.words[i - 1] >> 30)) + uint32_t(i);
    s.next = kN;
    return s;
}

inline uint32_t twist(uint32_t current, uint32_t following, uint32_t far)
{
    const uint32_t y = (current & kUpper) | (following & kLower);
    return far ^ (y >> 1) ^ ((0u - (y & 1u)) & kMatrix);
}

} // namespace

constinit RndState g_rnd = seeded(0x4b56u);

void refillRnd()
{
    uint32_t* __restrict w = g_rnd.words;
    // Stretches that each read words at a fixed distance the compiler can
    // see: the first old words ahead (its length a multiple of the vector
    // width, so it vectorises even at -O2), the second new words behind.
    constexpr int kVectorPart = (kN - kM) / 8 * 8;
    for (int i = 0; i < kVectorPart; ++i) w[i] = twist(w[i], w[i + 1], w[i + kM]);
    for (int i = kVectorPart; i < kN - kM; ++i) w[i] = twist(w[i], w[i + 1], w[i + kM]);
    for (int i = kN - kM; i < kN - 1; ++i) w[i] = twist(w[i], w[i + 1], w[i + kM - kN]);
    w[kN - 1] = twist(w[kN - 1], w[0], w[kM - 1]);
    // Tempering, then 24 random bits give every float in [0, 1) with equal
    // spacing and never 1.
    for (int i = 0; i < kN; ++i) {
        uint32_t y = w[i];
        y ^= y >> 11;
        y ^= (y << 7) & 0x9d2c5680u;
        y ^= (y << 15) & 0xefc60000u;
        y ^= y >> 18;
        g_rnd.ready[i] = static_cast<float>(y >> 8) * (1.0f / 16777216.0f);
    }
    g_rnd.next = 0;
}

} // namespace detail

void Randomize()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    detail::g_rnd = detail::seeded(
        static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
}

void Randomize(double seed)
{
    uint64_t bits = 0;
    static_assert(sizeof bits == sizeof seed);
    std::memcpy(&bits, &seed, sizeof bits);
    detail::g_rnd = detail::seeded(static_cast<uint32_t>(bits ^ (bits >> 32)));
}

} // namespace rt
