#pragma once
// Deterministic gradient noise for the installed pictures: the same seed gives
// the same field on every machine (no library random generator involved).

#include <cstdint>
#include <vector>

namespace makedata {

// Gradient (Perlin-style) noise over the plane, lattice spacing 1, values
// roughly in -1..1. Each seed gives an independent lattice.
class GradientNoise {
public:
    explicit GradientNoise(uint64_t seed);
    double at(double x, double y) const;

private:
    double corner(int ix, int iy, double dx, double dy) const;
    std::vector<uint16_t> m_perm;  // 512 entries: a permutation of 0..255 twice
};

// How the octave sum is shaped before it becomes grey.
// Smooth: the plain sum; Ridged: sharp crests (1 - |n|); Billow: rounded
// domes with sharp valleys (|n|); Channels: narrow dark winding lines on a
// bright ground (sqrt |n|), the river pattern of the erosion picture.
enum class NoiseShape { Smooth, Ridged, Billow, Channels };

struct FieldSpec {
    uint64_t seed = 1;
    int side = 256;
    double wavelength = 64.0;  // of the first octave, in pixels
    int octaves = 2;           // each halves the wavelength and the weight
    NoiseShape shape = NoiseShape::Smooth;
};

// A side x side field, stretched to 0..255 (row-major, x fastest).
std::vector<uint8_t> makeGreyField(const FieldSpec& spec);

// splitmix64: the one source of pseudo-random numbers of the tool.
uint64_t splitmix64(uint64_t& state);

} // namespace makedata
