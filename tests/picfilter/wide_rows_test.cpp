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

TEST(WideRows, AquaMatchesADirectLookAtTheFourRegions)
{
    const int w = 23, h = 7;
    // Few distinct values, so that ties between regions are common.
    std::vector<Bgr> pixels = mixedPixels(w * h);
    for (Bgr& p : pixels) p = {p.b % 3 * 40, p.g % 2 * 90, p.r % 4 * 20};
    const QImage source = picture(w, h, pixels);
    QImage img = source.copy();
    apply(pfAqua, img);
    auto value = [&](int x, int y, int c) {
        const Bgr v = at(source, x, y);
        return c == 0 ? v.b : (c == 1 ? v.g : v.r);
    };
    for (int y = 2; y < h - 2; ++y) {
        for (int x = 2; x < w - 2; ++x) {
            int out[3];
            for (int c = 0; c < 3; ++c) {
                const int corners[4][2] = {{x - 2, y - 2}, {x, y - 2}, {x - 2, y}, {x, y}};
                int best = 99999, chosen = 0;
                for (const auto& corner : corners) {
                    int sum = 0;
                    for (int dy = 0; dy < 3; ++dy)
                        for (int dx = 0; dx < 3; ++dx) sum += value(corner[0] + dx, corner[1] + dy, c);
                    const int mean = sum / 9;
                    int dev = 0;
                    for (int dy = 0; dy < 3; ++dy)
                        for (int dx = 0; dx < 3; ++dx) dev += std::abs(value(corner[0] + dx, corner[1] + dy, c) - mean);
                    if (dev < best) {
                        best = dev;
                        chosen = mean;
                    }
                }
                out[c] = chosen;
            }
            ASSERT_EQ(at(img, x, y), (Bgr{out[0], out[1], out[2]})) << x << "," << y;
        }
    }
    EXPECT_EQ(channel(img, 3), channel(source, 3));
}

namespace {

// Channel c of pixel (x, y); channel order blue, green, red.
int channelAt(const QImage& img, int x, int y, int c)
{
    const Bgr v = at(img, x, y);
    return c == 0 ? v.b : (c == 1 ? v.g : v.r);
}

int clamp255(int v)
{
    return std::clamp(v, 0, 255);
}

} // namespace

TEST(WideRows, SourceReliefFiltersMatchTheirFormulas)
{
    const int w = 41, h = 4;
    const QImage source = picture(w, h, mixedPixels(w * h));
    const int offset[3] = {0x30, 0x20, 0x10};  // colour &H302010: red 0x10, green 0x20, blue 0x30
    struct Case {
        int32_t filter;
        int32_t param;
        int (*formula)(const QImage&, int, int, int, int);
    };
    const Case cases[] = {
        {pfContour, 0x302010, [](const QImage& s, int x, int y, int c, int off) {
             int sum8 = 0;
             for (int dy = -1; dy <= 1; ++dy)
                 for (int dx = -1; dx <= 1; ++dx)
                     if (dx || dy) sum8 += channelAt(s, x + dx, y + dy, c);
             return clamp255(8 * channelAt(s, x, y, c) - sum8 + off);
         }},
        {pfEmbossWest, 0x302010, [](const QImage& s, int x, int y, int c, int off) {
             int left = 0, right = 0;
             for (int dy = -1; dy <= 1; ++dy) {
                 left += channelAt(s, x - 1, y + dy, c);
                 right += channelAt(s, x + 1, y + dy, c);
             }
             return clamp255(left - right + off);
         }},
        {pfEmbossSobel, 0, [](const QImage& s, int x, int y, int c, int) {
             auto v = [&](int dx, int dy) { return channelAt(s, x + dx, y + dy, c); };
             return clamp255((v(0, 0) + 2 * v(-1, -1) + v(-1, 0) + v(0, -1) - v(0, 1) - v(1, 0) - 2 * v(1, 1)) / 2 + 50);
         }},
    };
    for (const Case& k : cases) {
        QImage img = source.copy();
        apply(k.filter, img, k.param);
        for (int y = 1; y < h - 1; ++y) {
            for (int x = 1; x < w - 1; ++x) {
                for (int c = 0; c < 3; ++c) {
                    const int off = k.filter == pfEmbossSobel ? 0 : offset[c];
                    ASSERT_EQ(channelAt(img, x, y, c), k.formula(source, x, y, c, off)) << k.filter << " " << x;
                }
            }
        }
    }
}

TEST(WideRows, DiagonalReliefMatchesItsFormula)
{
    const int w = 41, h = 3;
    const QImage source = picture(w, h, mixedPixels(w * h));
    QImage img = source.copy();
    apply(pfEmbossDiagonal, img, 0x050505);
    for (int y = 0; y < h - 1; ++y) {
        for (int x = 0; x < w - 1; ++x) {
            for (int c = 0; c < 3; ++c) {
                const int v = std::abs(channelAt(source, x + 1, y + 1, c) - channelAt(source, x, y, c) + 5);
                ASSERT_EQ(channelAt(img, x, y, c), std::min(v, 255)) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(at(img, w - 1, 1), at(source, w - 1, 1));
}

TEST(WideRows, InPlaceBlurMatchesAScanThatReadsItsOwnOutput)
{
    const int w = 41, h = 4;
    const QImage source = picture(w, h, mixedPixels(w * h));
    QImage expected = source.copy();
    for (int y = 1; y < h - 1; ++y) {
        for (int x = 1; x < w - 1; ++x) {
            int sum[3] = {0, 0, 0};
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (dx || dy)
                        for (int c = 0; c < 3; ++c) sum[c] += channelAt(expected, x + dx, y + dy, c);
            const QRgb old = expected.pixel(x, y);
            expected.setPixel(x, y, qRgba(sum[2] / 8, sum[1] / 8, sum[0] / 8, qAlpha(old)));
        }
    }
    QImage img = source.copy();
    apply(pfBlur, img);
    EXPECT_EQ(img, expected);
}

TEST(WideRows, MosaicBlocksTallerThan257RowsStillAverageEveryRow)
{
    const int w = 3, h = 600;
    const QImage source = picture(w, h, mixedPixels(w * h));
    QImage img = source.copy();
    apply(pfMosaic, img, 1000);
    int64_t sum[3] = {0, 0, 0};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            for (int c = 0; c < 3; ++c) sum[c] += channelAt(source, x, y, c);
        }
    }
    const int n = w * h;
    const Bgr mean{static_cast<int>(sum[0] / n), static_cast<int>(sum[1] / n), static_cast<int>(sum[2] / n)};
    EXPECT_EQ(at(img, 0, 0), mean);
    EXPECT_EQ(at(img, 2, 599), mean);
}
