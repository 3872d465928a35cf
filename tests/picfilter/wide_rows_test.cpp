// Rows wide enough for the vectorised loops give what the one-pixel-wide
// (element by element) path gives, and the 3 x 3 extremes match a direct count.

#include "tests/picfilter/PictureTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace pictest;
using namespace mFilterG;

namespace {

std::vector<Bgr> mixedPixels(int n)
{
    std::vector<Bgr> pixels;
    uint32_t seed = 99;
    for (int i = 0; i < n; ++i) {
        seed = seed * 1103515245u + 12345u;
        pixels.push_back({static_cast<int>((seed >> 8) & 255), static_cast<int>((seed >> 16) & 255),
                          (i * 7) % 256});
    }
    return pixels;
}

} // namespace

TEST(WideRows, PerPixelFiltersGiveTheSameAsAColumn)
{
    const int n = 200;  // several vector blocks and a tail
    const std::vector<Bgr> pixels = mixedPixels(n);
    for (auto [filter, p] : {std::pair{pfInvert, 0}, std::pair{pfGreyscale, 0}, std::pair{pfBrightness, 37},
                             std::pair{pfBrightness, -64}, std::pair{pfSwapChannels, 2},
                             std::pair{pfSwapChannels, 5}, std::pair{pfContrast, 100},
                             std::pair{pfColourThreshold, 0x406080}, std::pair{pfAutoLevels, 0},
                             std::pair{pfSaturation, 70}, std::pair{pfGamma, 45}, std::pair{pfMaskThreshold, 90}}) {
        QImage row = picture(n, 1, pixels);
        QImage column = picture(1, n, pixels);
        apply(filter, row, p);
        apply(filter, column, p);
        for (int i = 0; i < n; ++i) {
            ASSERT_EQ(at(row, i, 0), at(column, 0, i)) << filter << " at " << i;
        }
        EXPECT_EQ(channel(row, 3), std::vector<int>(static_cast<size_t>(n), kFourth));
    }
}

TEST(WideRows, ExtremesMatchADirectLookAtTheNineNeighbours)
{
    const int w = 37, h = 6;
    const QImage source = picture(w, h, mixedPixels(w * h));
    QImage dilated = source.copy();
    QImage eroded = source.copy();
    QImage inner = source.copy();
    apply(pfDilate, dilated);
    apply(pfErode, eroded);
    apply(pfInnerEdge, inner);
    for (int y = 1; y < h - 1; ++y) {
        for (int x = 1; x < w - 1; ++x) {
            int hi[3] = {0, 0, 0}, lo[3] = {255, 255, 255};
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const Bgr v = at(source, x + dx, y + dy);
                    const int c[3] = {v.b, v.g, v.r};
                    for (int k = 0; k < 3; ++k) {
                        hi[k] = std::max(hi[k], c[k]);
                        lo[k] = std::min(lo[k], c[k]);
                    }
                }
            }
            const Bgr p = at(source, x, y);
            ASSERT_EQ(at(dilated, x, y), (Bgr{hi[0], hi[1], hi[2]})) << x << "," << y;
            ASSERT_EQ(at(eroded, x, y), (Bgr{lo[0], lo[1], lo[2]})) << x << "," << y;
            ASSERT_EQ(at(inner, x, y), (Bgr{p.b - lo[0], p.g - lo[1], p.r - lo[2]})) << x << "," << y;
        }
    }
    EXPECT_EQ(channel(dilated, 3), channel(source, 3));
}

TEST(WideRows, MosaicOfAWidePictureAveragesEachBlock)
{
    const int w = 70, h = 5;
    const QImage source = picture(w, h, mixedPixels(w * h));
    QImage img = source.copy();
    apply(pfMosaic, img, 6);
    for (int by = 0; by < h; by += 6) {
        for (int bx = 0; bx < w; bx += 6) {
            int sum[3] = {0, 0, 0}, count = 0;
            for (int y = by; y < std::min(by + 6, h); ++y) {
                for (int x = bx; x < std::min(bx + 6, w); ++x) {
                    const Bgr v = at(source, x, y);
                    sum[0] += v.b;
                    sum[1] += v.g;
                    sum[2] += v.r;
                    ++count;
                }
            }
            ASSERT_EQ(at(img, bx, by), (Bgr{sum[0] / count, sum[1] / count, sum[2] / count})) << bx;
        }
    }
}
