// Rows wide enough for the vectorised loops give what the one-pixel-wide
// (element by element) path gives, and the 3 x 3 filters give hand-worked
// values on wide pictures of vertical stripes.

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

namespace {

// Vertical stripes: blue repeats 10, 50, 90, 30; green 0, 90; red is 20.
// Every row alike, so a 3 x 3 result depends only on x mod 4 (blue) and
// x mod 2 (green).
constexpr int kBlue[4] = {10, 50, 90, 30};
constexpr int kGreen[2] = {0, 90};

QImage stripes(int w, int h)
{
    std::vector<Bgr> pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pixels.push_back({kBlue[x % 4], kGreen[x % 2], 20});
    return picture(w, h, pixels);
}

struct StripeResult {
    int blue[4];
    int green[2];
    int red;
    Bgr at(int x) const { return {blue[x % 4], green[x % 2], red}; }
};

// Pixels x0..x1 - 1 of rows y0..y1 - 1 are the stripe result; the rest kept.
void expectStripes(const QImage& img, const StripeResult& r, int x0, int x1, int y0, int y1, int filter)
{
    const QImage source = stripes(img.width(), img.height());
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const bool inside = x >= x0 && x < x1 && y >= y0 && y < y1;
            ASSERT_EQ(at(img, x, y), inside ? r.at(x) : at(source, x, y)) << filter << " at " << x << "," << y;
        }
    EXPECT_EQ(channel(img, 3), channel(source, 3));
}

} // namespace

TEST(WideRows, ExtremesOfStripes)
{
    const int w = 37, h = 4;
    // Blue neighbours (30 10 50) (10 50 90) (50 90 30) (90 30 10).
    const std::pair<int32_t, StripeResult> cases[] = {
        {pfDilate, {{50, 90, 90, 90}, {90, 90}, 20}},
        {pfErode, {{10, 10, 30, 10}, {0, 0}, 20}},
        {pfInnerEdge, {{0, 40, 60, 20}, {0, 90}, 0}},
    };
    for (const auto& [filter, r] : cases) {
        QImage img = stripes(w, h);
        apply(filter, img);
        expectStripes(img, r, 1, w - 1, 1, h - 1, filter);
    }
}

TEST(WideRows, AquaOfStripes)
{
    // Blue blocks of three columns from phase 0..3: means 50, 56, 43, 30 with
    // deviations 240, 198, 279, 120; a pixel takes its left block (phase x - 2)
    // unless its right block (phase x) is calmer. Green blocks tie: the left wins.
    QImage img = stripes(23, 5);
    apply(pfAqua, img);
    expectStripes(img, {{50, 30, 50, 30}, {30, 60}, 20}, 2, 21, 2, 3, pfAqua);
}

TEST(WideRows, ReliefFiltersOfStripes)
{
    const int w = 41, h = 4;
    const std::pair<int32_t, StripeResult> cases[] = {
        // 6 P - 3 (W + E) + offset (blue 48, green 32, red 16), clamped.
        {pfContour, {{0, 48, 255, 0}, {0, 255}, 16}},
        // 3 (W - E) + offset.
        {pfEmbossWest, {{0, 0, 108, 255}, {32, 32}, 16}},
        // (P + 3 W - 3 E) \ 2 + 50: blue -50, -190, 150, 270.
        {pfEmbossSobel, {{25, 0, 125, 185}, {50, 95}, 60}},
    };
    for (const auto& [filter, r] : cases) {
        QImage img = stripes(w, h);
        apply(filter, img, filter == pfEmbossSobel ? 0 : 0x302010);
        expectStripes(img, r, 1, w - 1, 1, h - 1, filter);
    }
    // |E - P + 5| on all but the last column and row.
    QImage img = stripes(w, 3);
    apply(pfEmbossDiagonal, img, 0x050505);
    expectStripes(img, {{45, 45, 55, 15}, {95, 85}, 5}, 0, w - 1, 0, 2, pfEmbossDiagonal);
}

TEST(WideRows, InPlaceBlurReadsTheValueItJustWrote)
{
    // Black middle row between rows of blue 80, green 160, red 50: each pixel
    // is (480 + its left neighbour's new value) \ 8 for blue, so 60, 67, 68, 68 ...
    const int w = 41;
    std::vector<Bgr> pixels(size_t(3 * w), Bgr{80, 160, 50});
    for (int x = 0; x < w; ++x) pixels[size_t(w + x)] = {0, 0, 50};
    QImage img = picture(w, 3, pixels);
    apply(pfBlur, img);
    EXPECT_EQ(at(img, 0, 1), (Bgr{0, 0, 50}));
    EXPECT_EQ(at(img, 1, 1), (Bgr{60, 120, 50}));
    EXPECT_EQ(at(img, 2, 1), (Bgr{67, 135, 50}));
    EXPECT_EQ(at(img, 3, 1), (Bgr{68, 136, 50}));
    for (int x = 5; x < w - 1; ++x) ASSERT_EQ(at(img, x, 1), (Bgr{68, 137, 50})) << x;
    EXPECT_EQ(at(img, w - 1, 1), (Bgr{0, 0, 50}));
}

TEST(WideRows, MosaicOfStripesAveragesEachBlock)
{
    // Six columns hold one whole blue period (180) and two more: blocks from
    // phase 0 add 10 + 50 (mean 40), from phase 2 90 + 30 (mean 50); the last
    // block, 66..69, holds one period (45). Green: 270 / 6 = 45, then 180 / 4.
    QImage img = stripes(70, 5);
    apply(pfMosaic, img, 6);
    for (int x = 0; x < 66; ++x) ASSERT_EQ(at(img, x, 4), (Bgr{(x / 6) % 2 ? 50 : 40, 45, 20})) << x;
    for (int x = 66; x < 70; ++x) ASSERT_EQ(at(img, x, 0), (Bgr{45, 45, 20})) << x;
}

TEST(WideRows, MosaicBlocksTallerThan257RowsStillAverageEveryRow)
{
    // 300 black rows over 300 rows of 200: the one block's mean is 100.
    const int w = 3, h = 600;
    std::vector<Bgr> pixels(size_t(w * h), Bgr{0, 0, 0});
    for (size_t i = size_t(w * 300); i < pixels.size(); ++i) pixels[i] = {200, 100, 2};
    QImage img = picture(w, h, pixels);
    apply(pfMosaic, img, 1000);
    EXPECT_EQ(at(img, 0, 0), (Bgr{100, 50, 1}));
    EXPECT_EQ(at(img, 2, 599), (Bgr{100, 50, 1}));
}
