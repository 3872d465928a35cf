// Kuwahara (Aqua), dilate, erode and inner edge.

#include "tests/picfilter/PictureTestSupport.h"

#include <gtest/gtest.h>

using namespace pictest;
using namespace mFilterG;

namespace {

// Upper regions tie at deviation 16: region 1 has mean 1, region 2 mean 2;
// the lower regions are noisy.
const std::vector<int> kTieLeftFirst = {0, 0, 0, 4, 4,
                                        0, 9, 0, 4, 4,
                                        0, 0, 0, 3, 3,
                                        255, 0, 255, 0, 255,
                                        0, 255, 0, 255, 0};

std::vector<int> mirrored(const std::vector<int>& v)
{
    std::vector<int> out(v.size());
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) out[static_cast<size_t>(y * 5 + x)] = v[static_cast<size_t>(y * 5 + 4 - x)];
    }
    return out;
}

} // namespace

TEST(Aqua, TiesGoToTheFirstRegionEachChannelOnItsOwn)
{
    // Blue: region 1 (mean 1) wins the tie. Red, mirrored: region 1 now has mean 2.
    const std::vector<int> red = mirrored(kTieLeftFirst);
    std::vector<Bgr> pixels;
    for (size_t i = 0; i < 25; ++i) pixels.push_back({kTieLeftFirst[i], 7, red[i]});
    QImage img = picture(5, 5, pixels);
    const QImage before = img.copy();
    const Result res = apply(pfAqua, img);
    EXPECT_EQ(res.progress, 100);
    EXPECT_EQ(at(img, 2, 2), (Bgr{1, 7, 2}));
    // Only the centre of a 5 x 5 picture has all four regions inside.
    img.setPixel(2, 2, before.pixel(2, 2));
    EXPECT_EQ(img, before);
}

TEST(Aqua, TakesTheTruncatedMeanOfTheCalmestRegion)
{
    // Lower right region 20 except one 21: mean 181 \ 9 = 20, deviation 8; the others are noisy.
    QImage img = greyPicture(5, 5, {0, 200, 0, 200, 0,
                                    200, 0, 200, 0, 200,
                                    0, 200, 20, 20, 20,
                                    200, 0, 20, 21, 20,
                                    0, 200, 20, 20, 20});
    apply(pfAqua, img);
    EXPECT_EQ(greys(img)[12], 20);
}

TEST(Aqua, PicturesSmallerThanFiveAreUnchanged)
{
    for (const QSize size : {QSize(4, 6), QSize(6, 4)}) {
        std::vector<int> values;
        for (int i = 0; i < 24; ++i) values.push_back(i * 10);
        QImage img = greyPicture(size.width(), size.height(), values);
        const QImage before = img.copy();
        EXPECT_EQ(apply(pfAqua, img).progress, 100);
        EXPECT_EQ(img, before);
    }
}

TEST(Morphology, FlatPicturesStayFlatAndInnerEdgeTurnsTheInsideBlack)
{
    for (int32_t filter : {pfAqua, pfDilate, pfErode}) {
        QImage img = flatPicture(6, 5, {30, 140, 251});
        const QImage before = img.copy();
        apply(filter, img);
        EXPECT_EQ(img, before) << filter;
    }
    QImage img = flatPicture(4, 3, {30, 140, 251});
    apply(pfInnerEdge, img);
    EXPECT_EQ(at(img, 1, 1), (Bgr{0, 0, 0}));
    EXPECT_EQ(at(img, 2, 1), (Bgr{0, 0, 0}));
    EXPECT_EQ(at(img, 0, 1), (Bgr{30, 140, 251}));
    EXPECT_EQ(at(img, 3, 2), (Bgr{30, 140, 251}));
}

TEST(Morphology, AWhitePixelGrowsUnderDilateAndVanishesUnderErode)
{
    std::vector<int> dot(25, 0);
    dot[12] = 255;
    QImage grown = greyPicture(5, 5, dot);
    apply(pfDilate, grown);
    EXPECT_EQ(greys(grown), (std::vector<int>{0, 0, 0, 0, 0,
                                              0, 255, 255, 255, 0,
                                              0, 255, 255, 255, 0,
                                              0, 255, 255, 255, 0,
                                              0, 0, 0, 0, 0}));
    QImage gone = greyPicture(5, 5, dot);
    apply(pfErode, gone);
    EXPECT_EQ(greys(gone), std::vector<int>(25, 0));
}

TEST(Morphology, ReadThePictureAsItCame)
{
    // An edge: both inner pixels see 10 and 50, whatever was written before.
    const std::vector<int> edge = {10, 10, 50, 50,
                                   10, 10, 50, 50,
                                   10, 10, 50, 50};
    QImage dilated = greyPicture(4, 3, edge);
    apply(pfDilate, dilated);
    EXPECT_EQ(greys(dilated), (std::vector<int>{10, 10, 50, 50, 10, 50, 50, 50, 10, 10, 50, 50}));
    QImage eroded = greyPicture(4, 3, edge);
    apply(pfErode, eroded);
    EXPECT_EQ(greys(eroded), (std::vector<int>{10, 10, 50, 50, 10, 10, 10, 50, 10, 10, 50, 50}));
    QImage inner = greyPicture(4, 3, edge);
    apply(pfInnerEdge, inner);
    EXPECT_EQ(greys(inner), (std::vector<int>{10, 10, 50, 50, 10, 0, 40, 50, 10, 10, 50, 50}));
}

TEST(Morphology, ChannelsAreTreatedOnTheirOwn)
{
    QImage img = picture(3, 3, {{1, 200, 7}, {2, 100, 8}, {3, 0, 9},
                                {4, 90, 6}, {5, 80, 5}, {6, 70, 4},
                                {7, 60, 3}, {8, 50, 2}, {9, 40, 1}});
    QImage dilated = img.copy();
    apply(pfDilate, dilated);
    EXPECT_EQ(at(dilated, 1, 1), (Bgr{9, 200, 9}));
    apply(pfErode, img);
    EXPECT_EQ(at(img, 1, 1), (Bgr{1, 0, 1}));
}

TEST(Morphology, PicturesNarrowerThanThreeAreUnchanged)
{
    for (int32_t filter : {pfAqua, pfDilate, pfErode, pfInnerEdge}) {
        QImage img = greyPicture(2, 4, {0, 50, 100, 150, 200, 250, 25, 75});
        const QImage before = img.copy();
        EXPECT_EQ(apply(filter, img).progress, 100);
        EXPECT_EQ(img, before);
    }
}
