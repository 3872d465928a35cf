#pragma once
// Pictures the benchmarks share, built the same way in every run.

#include "generate/kvGenerator.h"

#include <QImage>

#include <cstdint>

namespace benchpictures {

// Five grey layers of side x side points for the perlin-set generator.
inline kvGenerator::LayerPictures noisePictures(int side)
{
    kvGenerator::LayerPictures p;
    for (int k = 0; k < 5; ++k) {
        QImage img(side, side, QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x) {
                const int g = (x * (k + 3) + y * 11 + x * y / 23) & 255;
                line[x] = qRgb(g, g, g);
            }
        }
        p[size_t(k)] = img;
    }
    return p;
}

// A colour picture with smooth areas, edges and noise, for the picture filters.
inline QImage filterPicture(int side)
{
    QImage p(side, side, QImage::Format_RGB32);
    uint32_t seed = 12345;
    for (int y = 0; y < side; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(p.scanLine(y));
        for (int x = 0; x < side; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const uint32_t noise = (seed >> 24) & 31;
            const uint32_t b = (x / 8 + noise) & 255;
            const uint32_t g = ((x + y) / 16 + ((x / 64 + y / 64) % 2) * 100) & 255;
            const uint32_t r = (y / 8 + noise * 2) & 255;
            row[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    }
    return p;
}

} // namespace benchpictures
