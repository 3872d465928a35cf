#pragma once
// The one random sequence of the program. Tests seed it to get repeatable pens,
// noise and generators.

#include <cstdint>

namespace rt {

// Uniform in [0, 1).
float Rnd();
// Re-seeds from the time of day.
void Randomize();
// Re-seeds from a number: the same number gives the same sequence.
void Randomize(double seed);

} // namespace rt
