#include "tools/NoiseField.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace makedata {

uint64_t splitmix64(uint64_t& state)
{
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

GradientNoise::GradientNoise(uint64_t seed) : m_perm(512)
{
    std::vector<uint16_t> p(256);
    for (int i = 0; i < 256; ++i) p[size_t(i)] = uint16_t(i);
    uint64_t state = seed;
    for (int i = 255; i > 0; --i) std::swap(p[size_t(i)], p[size_t(splitmix64(state) % uint64_t(i + 1))]);
    for (int i = 0; i < 512; ++i) m_perm[size_t(i)] = p[size_t(i & 255)];
}

namespace {

// Eight unit-ish gradient directions; enough for isotropic-looking noise.
constexpr double Grad[8][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1},
                               {0.7071, 0.7071}, {-0.7071, 0.7071}, {0.7071, -0.7071}, {-0.7071, -0.7071}};

double fade(double t)
{
    return t * t * t * (t * (t * 6 - 15) + 10);
}

} // namespace

double GradientNoise::corner(int ix, int iy, double dx, double dy) const
{
    const int h = m_perm[size_t(m_perm[size_t(ix & 255)] + (iy & 255))] & 7;
    return Grad[h][0] * dx + Grad[h][1] * dy;
}

double GradientNoise::at(double x, double y) const
{
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int ix = int(fx);
    const int iy = int(fy);
    const double dx = x - fx;
    const double dy = y - fy;
    const double u = fade(dx);
    const double v = fade(dy);
    const double n00 = corner(ix, iy, dx, dy);
    const double n10 = corner(ix + 1, iy, dx - 1, dy);
    const double n01 = corner(ix, iy + 1, dx, dy - 1);
    const double n11 = corner(ix + 1, iy + 1, dx - 1, dy - 1);
    const double a = n00 + u * (n10 - n00);
    const double b = n01 + u * (n11 - n01);
    return (a + v * (b - a)) * 1.4142;
}

std::vector<uint8_t> makeGreyField(const FieldSpec& spec)
{
    const size_t n = size_t(spec.side) * size_t(spec.side);
    std::vector<double> field(n, 0.0);
    for (int o = 0; o < spec.octaves; ++o) {
        // Each octave its own lattice, shifted, so octaves do not line up.
        const GradientNoise noise(spec.seed * 1315423911ull + uint64_t(o) * 2654435761ull + 7);
        const double scale = std::ldexp(1.0, o) / spec.wavelength;
        const double weight = std::ldexp(1.0, -o);
        const double shift = 17.31 * (o + 1);
        for (int y = 0; y < spec.side; ++y)
            for (int x = 0; x < spec.side; ++x)
                field[size_t(y) * size_t(spec.side) + size_t(x)] +=
                    weight * noise.at(x * scale + shift, y * scale - shift);
    }
    for (double& v : field) {
        if (spec.shape == NoiseShape::Ridged) v = 1.0 - std::fabs(v);
        if (spec.shape == NoiseShape::Billow) v = std::fabs(v);
        if (spec.shape == NoiseShape::Channels) v = std::sqrt(std::fabs(v));
    }

    // Stretch to the full grey range so every picture uses all 256 levels.
    const auto [lo, hi] = std::minmax_element(field.begin(), field.end());
    const double low = *lo;
    const double span = std::max(*hi - low, 1e-12);
    std::vector<uint8_t> grey(n);
    for (size_t i = 0; i < n; ++i) grey[i] = uint8_t(std::lround((field[i] - low) / span * 255.0));
    return grey;
}

} // namespace makedata
