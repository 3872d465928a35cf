#include "runtime/Rnd.h"

#include <chrono>
#include <cstring>
#include <random>

namespace rt {
namespace {
std::mt19937& engine()
{
    static std::mt19937 e(0x4b56u);
    return e;
}
} // namespace

float Rnd()
{
    // 24 random bits give every float in [0, 1) with equal spacing and never 1.
    return static_cast<float>(engine()() >> 8) * (1.0f / 16777216.0f);
}

void Randomize()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    engine().seed(static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
}

void Randomize(double seed)
{
    uint64_t bits = 0;
    static_assert(sizeof bits == sizeof seed);
    std::memcpy(&bits, &seed, sizeof bits);
    engine().seed(static_cast<uint32_t>(bits ^ (bits >> 32)));
}

} // namespace rt
