// Black-and-white dithering: patterns worked out by hand, truncated error
// shares, the carried error, and pictures of only black and white.

#include "tests/picfilter/PictureTestSupport.h"

#include <gtest/gtest.h>

using namespace pictest;
using namespace mFilterG;

namespace {
constexpr int B = 0;
constexpr int W = 255;

QImage gradient5x5()
{
    std::vector<Bgr> pixels;
    for (int i = 0; i < 25; ++i) pixels.push_back({i * 10, 255 - i * 9, (i * 53) % 256});
    return picture(5, 5, pixels);
}
} // namespace

TEST(DitherFilters, GiveOnlyBlackAndWhiteAndKeepTheFourthByte)
{
    for (auto [filter, p] : {std::pair{pfDitherCarry, 0}, std::pair{pfDitherOrdered, 0},
                             std::pair{pfDitherFloydSteinberg, 10}, std::pair{pfDitherFloydSteinberg, -10},
                             std::pair{pfDitherBurkes, 3}, std::pair{pfDitherStucki, 25}}) {
        QImage img = gradient5x5();
        const Result res = apply(filter, img, p);
        EXPECT_EQ(res.progress, 100);
        for (int v : greys(img)) EXPECT_TRUE(v == B || v == W) << filter << " " << v;
        EXPECT_EQ(channel(img, 3), std::vector<int>(25, kFourth));
    }
}

TEST(DitherFilters, WhiteStaysWhiteAndBlackBecomesWhite)
{
    for (int32_t filter : {pfDitherCarry, pfDitherFloydSteinberg, pfDitherBurkes, pfDitherStucki}) {
        QImage white = flatPicture(4, 3, {255, 255, 255});
        apply(filter, white, 10);
        EXPECT_EQ(greys(white), std::vector<int>(12, W)) << filter;
        // Mean 0: every value reaches the threshold.
        QImage black = flatPicture(4, 3, {0, 0, 0});
        apply(filter, black, 10);
        EXPECT_EQ(greys(black), std::vector<int>(12, W)) << filter;
    }
}

TEST(OrderedDither, MidGreyWhitensTheMatrixPositionsOneToEight)
{
    // Grey 120 is level 8.
    QImage img = flatPicture(4, 4, {120, 120, 120});
    apply(pfDitherOrdered, img);
    EXPECT_EQ(greys(img), (std::vector<int>{W, B, W, B,
                                            B, W, B, W,
                                            W, B, W, B,
                                            B, W, B, W}));
}

TEST(OrderedDither, DarkestLevelIsWhiteOnlyWhereTheMatrixIsOneAndTheTileRepeats)
{
    QImage img = flatPicture(5, 5, {5, 10, 15});  // grey 10, level 1
    apply(pfDitherOrdered, img);
    std::vector<int> expected(25, B);
    expected[0] = expected[4] = expected[20] = expected[24] = W;
    EXPECT_EQ(greys(img), expected);
}

TEST(OrderedDither, LightestLevelIsAlwaysWhite)
{
    QImage img = flatPicture(4, 4, {240, 240, 240});
    apply(pfDitherOrdered, img);
    EXPECT_EQ(greys(img), std::vector<int>(16, W));
}

TEST(FloydSteinberg, DiffusedErrorFlipsPixelsAndSharesTruncateTowardZero)
{
    // Mean 155. (1,1) 140 black, e = 140: right +61, below +43, below right +8.
    // (2,1) 201 white, e = -54: below left -162 \ 16 = -10, below -270 \ 16 = -16.
    // (1,2) 140 + 33 = 173 white, e = -82: right -574 \ 16 = -35.
    // (2,2) 200 + 8 - 16 - 35 = 157 white; with flooring shares it would be 154, black.
    QImage img = greyPicture(2, 2, {140, 140,
                                    140, 200});
    apply(pfDitherFloydSteinberg, img, 10);
    EXPECT_EQ(greys(img), (std::vector<int>{B, W, W, W}));
}

TEST(FloydSteinberg, ErrorScaleWeakensTheError)
{
    // Flat 128, one row: (1) white, e = -127, right -889 \ 16 = -55.
    // p = 10: (2) 73 black. p = 1000: (2) 128 + (-550 \ 1000 = 0) white.
    QImage strong = flatPicture(3, 1, {128, 128, 128});
    apply(pfDitherFloydSteinberg, strong, 10);
    EXPECT_EQ(greys(strong), (std::vector<int>{W, B, W}));
    QImage weak = flatPicture(3, 1, {128, 128, 128});
    apply(pfDitherFloydSteinberg, weak, 1000);
    EXPECT_EQ(greys(weak), (std::vector<int>{W, W, W}));
}

TEST(Burkes, SpreadsTwoPixelsToTheRight)
{
    // Flat 128: (1) white e -127: +1 -31, +2 -15. (2) 97 black e 97: +1 24. (3) 128 - 15 + 24 = 137 white.
    QImage img = flatPicture(3, 1, {128, 128, 128});
    apply(pfDitherBurkes, img, 10);
    EXPECT_EQ(greys(img), (std::vector<int>{W, B, W}));
}

TEST(Stucki, ReachesTwoRowsDown)
{
    // One column, mean (100 + 100 + 90) \ 3 = 96. (1) 100 white, e -155:
    // below 8/42 -> -1240 \ 42 = -29, two below 4/42 -> -620 \ 42 = -14.
    // (2) 100 - 29 = 71 black, e 71: below +13. (3) 90 - 14 + 13 = 89 black.
    QImage img = greyPicture(1, 3, {100, 100, 90});
    apply(pfDitherStucki, img, 10);
    EXPECT_EQ(greys(img), (std::vector<int>{W, B, B}));
}

TEST(DitherCarry, CarriedQuarterTruncatesTowardZero)
{
    // Mean 100. (1) 100 white, carry (100 - 255) \ 4 = -38 (floor: -39).
    // (2) 138 - 38 = 100 reaches the mean: white (with -39 it would be black). (3) 62 - 38 black.
    QImage img = greyPicture(3, 1, {100, 138, 62});
    apply(pfDitherCarry, img);
    EXPECT_EQ(greys(img), (std::vector<int>{W, W, B}));
}

TEST(DitherCarry, CarryCrossesRowEnds)
{
    // One column: (1) 100 white, carry -38; (2) 72 black, carry 18; (3) 108 white.
    QImage img = greyPicture(1, 3, {100, 110, 90});
    apply(pfDitherCarry, img);
    EXPECT_EQ(greys(img), (std::vector<int>{W, B, W}));
}

TEST(DitherCarry, InnerPixelsAreSharpenedFirst)
{
    // Mean 101. The centre sharpens to (1100 - 800) \ 2 = 150 and stays white
    // after the carry of -34; unsharpened it would be 76, black.
    QImage img = greyPicture(3, 3, {100, 100, 100,
                                    100, 110, 100,
                                    100, 100, 100});
    apply(pfDitherCarry, img);
    EXPECT_EQ(greys(img), (std::vector<int>{B, W, B,
                                            W, W, B,
                                            W, B, W}));
}
