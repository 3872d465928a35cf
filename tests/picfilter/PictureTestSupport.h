#pragma once
// Small exact pictures for the filter tests: built from channel values, read
// back per channel. The fourth byte is set to a value no filter produces, so a
// filter that touches it shows.

#include "picfilter/mFilterG.h"

#include <QImage>

#include <array>
#include <vector>

namespace pictest {

constexpr int kFourth = 0x5A;

struct Bgr {
    int b, g, r;
    bool operator==(const Bgr&) const = default;
};

// Pixels rows from the top, left to right.
inline QImage picture(int w, int h, const std::vector<Bgr>& pixels, int fourth = kFourth)
{
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Bgr& p = pixels.at(static_cast<size_t>(y * w + x));
            img.setPixel(x, y, qRgba(p.r, p.g, p.b, fourth));
        }
    }
    return img;
}

// Grey values: blue = green = red.
inline QImage greyPicture(int w, int h, const std::vector<int>& values, int fourth = kFourth)
{
    std::vector<Bgr> pixels;
    for (int v : values) pixels.push_back({v, v, v});
    return picture(w, h, pixels, fourth);
}

inline QImage flatPicture(int w, int h, Bgr colour)
{
    return picture(w, h, std::vector<Bgr>(static_cast<size_t>(w * h), colour));
}

inline Bgr at(const QImage& img, int x, int y)
{
    const QRgb v = img.pixel(x, y);
    return {qBlue(v), qGreen(v), qRed(v)};
}

// One channel (0 blue, 1 green, 2 red, 3 fourth byte) of all pixels.
inline std::vector<int> channel(const QImage& img, int c)
{
    std::vector<int> out;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QRgb v = img.pixel(x, y);
            const int values[4] = {qBlue(v), qGreen(v), qRed(v), qAlpha(v)};
            out.push_back(values[c]);
        }
    }
    return out;
}

// Blue, green and red agree and are the given grey values.
inline std::vector<int> greys(const QImage& img)
{
    std::vector<int> out;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const Bgr p = at(img, x, y);
            out.push_back(p.b == p.g && p.g == p.r ? p.b : -1);
        }
    }
    return out;
}

struct Result {
    bool ran;
    int32_t progress;
};

inline Result apply(int32_t filter, QImage& img, int32_t param = 0)
{
    int32_t progress = -7;
    const bool ran = mFilterG::ApplyPictureFilter(filter, img, param, progress);
    return {ran, progress};
}

} // namespace pictest
