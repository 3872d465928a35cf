// 3 x 3 neighbourhood filters: in place against from the source, truncating
// division, offsets, flat pictures and the untouched frame.

#include "tests/picfilter/PictureTestSupport.h"

#include "runtime/Rnd.h"

#include <gtest/gtest.h>

#include <set>

using namespace pictest;
using namespace mFilterG;

namespace {

// A vertical edge, 4 x 3: the two inner pixels are (1, 1) and (2, 1).
QImage edgePicture()
{
    return greyPicture(4, 3, {10, 10, 50, 50,
                              10, 10, 50, 50,
                              10, 10, 50, 50});
}

std::vector<int> edgeWithMiddleRow(int a, int b)
{
    return {10, 10, 50, 50, 10, a, b, 50, 10, 10, 50, 50};
}

} // namespace

// In place: the second inner pixel sees the first one's new value as its W
// neighbour; from the source it would see 10.
TEST(InPlaceNeighbourFilters, SharpenReadsItsOwnOutput)
{
    // (2,2): (24*10 - 2*200) \ 8 < 0 -> 0; (3,2): (24*50 - 2*270) \ 8 = 82 (from the source: 80).
    QImage img = edgePicture();
    apply(pfSharpen, img, 0);
    EXPECT_EQ(greys(img), edgeWithMiddleRow(0, 82));
}

TEST(InPlaceNeighbourFilters, SoftSharpenReadsItsOwnOutput)
{
    // p = 0: 9P - S8. (2,2): 90 - 200 -> 0; (3,2): 450 - 270 = 180 (from the source: 170).
    QImage img = edgePicture();
    apply(pfSharpenSoft, img, 0);
    EXPECT_EQ(greys(img), edgeWithMiddleRow(0, 180));
}

TEST(InPlaceNeighbourFilters, BlurReadsItsOwnOutput)
{
    // (2,2): 200 \ 8 = 25; (3,2): (10+50+50+25+50+10+50+50) \ 8 = 295 \ 8 = 36 (from the source: 35).
    QImage img = edgePicture();
    apply(pfBlur, img);
    EXPECT_EQ(greys(img), edgeWithMiddleRow(25, 36));
}

TEST(InPlaceNeighbourFilters, SmoothReadsItsOwnOutput)
{
    // (2,2): 90 \ 5 = 18; (3,2): (50+50+18+50+50) \ 5 = 43 (from the source: 42).
    QImage img = edgePicture();
    apply(pfSmooth, img);
    EXPECT_EQ(greys(img), edgeWithMiddleRow(18, 43));
}

TEST(InPlaceNeighbourFilters, SharpenWithANegativeDivisor)
{
    // p = -11: centre 13, divisor -3. (2,2): (130 - 400) \ -3 = 90;
    // (3,2) with W = 90: (650 - 2 * 360) \ -3 = -70 \ -3 = 23.
    QImage img = edgePicture();
    apply(pfSharpen, img, -11);
    EXPECT_EQ(greys(img), edgeWithMiddleRow(90, 23));
}

TEST(SourceNeighbourFilters, EmbossEastReadsThePictureAsItCame)
{
    // Both inner pixels: (50+50+50) - (10+10+10) = 120; in place the second would give 10.
    QImage img = edgePicture();
    apply(pfEmbossEast, img, 0);
    EXPECT_EQ(greys(img), edgeWithMiddleRow(120, 120));
}

TEST(SourceNeighbourFilters, EmbossWestClampsTheNegativeRelief)
{
    QImage img = edgePicture();
    apply(pfEmbossWest, img, 0x000000);
    EXPECT_EQ(greys(img), edgeWithMiddleRow(0, 0));
}

TEST(SourceNeighbourFilters, ContourIsTheLaplacianPlusTheOffset)
{
    // (2,2): 80 - 200 -> 0 + offset; (3,2): 400 - 280 = 120 + offset. Offset blue 3, green 2, red 1.
    QImage img = edgePicture();
    apply(pfContour, img, 0x030201);
    EXPECT_EQ(at(img, 1, 1), (Bgr{0, 0, 0}));
    EXPECT_EQ(at(img, 2, 1), (Bgr{123, 122, 121}));
}

TEST(SourceNeighbourFilters, ContourOfAFlatPictureIsTheOffsetInsideTheFrame)
{
    QImage img = flatPicture(4, 4, {100, 100, 100});
    apply(pfContour, img, 5);
    EXPECT_EQ(at(img, 1, 1), (Bgr{0, 0, 5}));
    EXPECT_EQ(at(img, 2, 2), (Bgr{0, 0, 5}));
    EXPECT_EQ(at(img, 0, 0), (Bgr{100, 100, 100}));
    EXPECT_EQ(at(img, 3, 2), (Bgr{100, 100, 100}));
}

TEST(SourceNeighbourFilters, SobelHalvesTowardZero)
{
    // Only E is 7: (0 - 7) \ 2 = -3 (floor would give -4), + 50 = 47.
    QImage img = greyPicture(3, 3, {0, 0, 0,
                                    0, 0, 7,
                                    0, 0, 0});
    apply(pfEmbossSobel, img);
    EXPECT_EQ(greys(img)[4], 47);
}

TEST(SourceNeighbourFilters, SobelOfAFlatAreaIsHalfPlus50)
{
    for (auto [v, expected] : {std::pair{100, 100}, std::pair{0, 50}, std::pair{255, 177}}) {
        QImage img = flatPicture(3, 3, {v, v, v});
        apply(pfEmbossSobel, img);
        EXPECT_EQ(greys(img)[4], expected) << v;
        EXPECT_EQ(greys(img)[0], v);
    }
}

TEST(DiagonalEmboss, PixelMinusLowerRightAndTheReverse)
{
    // Offset 5 in every channel. Column 2 meets the edge: |10 - 50 + 5| = 35 and |50 - 10 + 5| = 45.
    QImage inverse = edgePicture();
    apply(pfEmbossDiagonalInverse, inverse, 0x050505);
    QImage plain = edgePicture();
    apply(pfEmbossDiagonal, plain, 0x050505);
    // Visited: x = 1..3, y = 1..2; the last column and row are kept.
    EXPECT_EQ(greys(inverse), (std::vector<int>{5, 35, 5, 50,
                                                5, 35, 5, 50,
                                                10, 10, 50, 50}));
    EXPECT_EQ(greys(plain), (std::vector<int>{5, 45, 5, 50,
                                              5, 45, 5, 50,
                                              10, 10, 50, 50}));
}

TEST(NeighbourFilters, FlatPicturesStayFlat)
{
    for (auto [filter, p] : {std::pair{pfSharpen, 5}, std::pair{pfSharpen, 0}, std::pair{pfSharpen, -20},
                             std::pair{pfSharpenSoft, 0}, std::pair{pfSharpenSoft, 7}, std::pair{pfBlur, 0},
                             std::pair{pfSmooth, 0}, std::pair{pfDiffuse, 10}}) {
        QImage img = flatPicture(5, 5, {30, 140, 251});
        const QImage before = img.copy();
        apply(filter, img, p);
        EXPECT_EQ(img, before) << filter << " " << p;
    }
}

TEST(NeighbourFilters, PicturesTwoPixelsHighOrWideAreUnchangedAndReach100)
{
    for (int32_t filter : {pfSharpen, pfBlur, pfSmooth, pfSharpenSoft, pfContour, pfEmbossWest, pfEmbossEast,
                           pfEmbossSobel}) {
        for (const QSize size : {QSize(5, 2), QSize(2, 5)}) {
            QImage img = greyPicture(size.width(), size.height(), {0, 9, 200, 3, 77, 1, 250, 4, 18, 60});
            const QImage before = img.copy();
            const Result res = apply(filter, img, 5);
            EXPECT_EQ(img, before) << filter;
            EXPECT_EQ(res.progress, 100) << filter;
        }
    }
}

TEST(Diffuse, ZeroSpreadKeepsThePicture)
{
    QImage img = greyPicture(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    const QImage before = img.copy();
    apply(pfDiffuse, img, 0);
    EXPECT_EQ(img, before);
}

TEST(Diffuse, MovesOnlyColoursOfThePictureAndNeverReadsOutside)
{
    rt::Randomize(17.0);
    std::vector<int> values;
    for (int i = 0; i < 20; ++i) values.push_back(10 * i + 1);
    QImage img = greyPicture(5, 4, values);
    apply(pfDiffuse, img, 10);
    const std::set<int> allowed(values.begin(), values.end());
    for (int v : greys(img)) EXPECT_TRUE(allowed.count(v)) << v;
    EXPECT_EQ(channel(img, 3), std::vector<int>(20, kFourth));
}

TEST(Diffuse, SeededOffsetsRoundHalvesToEvenAndLeavingAnAxisCountsAsZero)
{
    // p = 3, half = 2: d = round(3 r - 2), dx from the first draw, dy from the second.
    // Seed 7 draws (0.9269, 0.2240) (0.3563, 0.2252) (0.8681, 0.2637)
    //              (0.0459, 0.8203) (0.7050, 0.8585) (0.2561, 0.2042).
    // (0,0): dx 1, dy -1 leaves: takes (1,0) = 20. (1,0): dx -1, dy -1 leaves:
    // takes (0,0), already 20. (2,0): both leave, stays. (0,1): dx -2 leaves, dy 0.
    // (1,1): dx 0, dy 1 leaves. (2,1): dx -1, dy -1: takes (1,0) = 20.
    rt::Randomize(7.0);
    QImage img = greyPicture(3, 2, {10, 20, 30, 40, 50, 60});
    apply(pfDiffuse, img, 3);
    EXPECT_EQ(greys(img), (std::vector<int>{20, 20, 30, 40, 50, 20}));
    EXPECT_EQ(channel(img, 3), std::vector<int>(6, kFourth));
}
