#pragma once
// The one random sequence of the program. Tests seed it to get repeatable pens,
// noise and generators.
//
// The sequence is that of the 32-bit Mersenne Twister (the same numbers as
// std::mt19937 with the same seed). Its words are kept 32 bits wide and
// turned into floats a block at a time, so a draw is one load; the block
// refill runs as vector code.

#include <cstdint>

namespace rt {

namespace detail {
struct RndState {
    static constexpr int kWords = 624;
    uint32_t words[kWords];
    float ready[kWords];  // the draws made from the current words
    int next;             // index of the next ready draw; kWords: refill first
};
extern RndState g_rnd;
// Makes the next block of draws.
void refillRnd();
} // namespace detail

// Uniform in [0, 1).
inline float Rnd()
{
    detail::RndState& s = detail::g_rnd;
    if (s.next >= detail::RndState::kWords) [[unlikely]]
        detail::refillRnd();
    return s.ready[s.next++];
}
// Re-seeds from the time of day.
void Randomize();
// Re-seeds from a number: the same number gives the same sequence.
void Randomize(double seed);

} // namespace rt
