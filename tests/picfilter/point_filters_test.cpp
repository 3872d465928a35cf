// Per-pixel filters: invert, greyscale, brightness, mask and colour threshold,
// contrast with its spill, channel swap and mosaic.

#include "picfilter/FilterCommon.h"
#include "tests/picfilter/PictureTestSupport.h"

#include <gtest/gtest.h>

using namespace pictest;
using namespace mFilterG;

TEST(Invert, TwiceGivesThePictureBack)
{
    QImage img = picture(4, 3, {{0, 1, 2}, {3, 4, 5}, {250, 128, 127}, {255, 0, 9}, {10, 20, 30}, {7, 7, 7},
                                {1, 1, 1}, {2, 2, 2}, {3, 3, 3}, {4, 4, 4}, {200, 100, 50}, {5, 6, 7}});
    const QImage before = img.copy();
    apply(pfInvert, img);
    EXPECT_EQ(at(img, 0, 1), (Bgr{245, 235, 225}));
    apply(pfInvert, img);
    EXPECT_EQ(img, before);
}

TEST(Greyscale, TakesTheTruncatedMeanOfTheThreeChannels)
{
    QImage img = picture(3, 1, {{10, 20, 31}, {255, 255, 254}, {0, 0, 2}});
    apply(pfGreyscale, img);
    EXPECT_EQ(greys(img), (std::vector<int>{20, 254, 0}));
}

TEST(Brightness, ZeroKeepsThePictureAndMinus100MakesItBlack)
{
    QImage img = picture(2, 1, {{10, 200, 255}, {1, 2, 3}});
    const QImage before = img.copy();
    apply(pfBrightness, img, 0);
    EXPECT_EQ(img, before);
    apply(pfBrightness, img, -100);
    EXPECT_EQ(greys(img), (std::vector<int>{0, 0}));
}

TEST(Brightness, RoundsHalvesToEvenAndSaturates)
{
    // Factor 1.5: 1 -> 1.5 -> 2, 3 -> 4.5 -> 4, 5 -> 7.5 -> 8; 200 -> 300 -> 255.
    QImage img = greyPicture(4, 1, {1, 3, 5, 200});
    apply(pfBrightness, img, 50);
    EXPECT_EQ(greys(img), (std::vector<int>{2, 4, 8, 255}));
}

TEST(MaskThreshold, WhiteOnlyWhereAllThreeChannelsExceedTheThreshold)
{
    QImage img = picture(3, 1, {{6, 6, 6}, {5, 200, 200}, {200, 200, 5}});
    const Result res = apply(pfMaskThreshold, img, 5);
    EXPECT_EQ(greys(img), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(res.progress, 100);
}

TEST(ColourThreshold, WhiteWhereAnyChannelReachesTheColoursChannel)
{
    QImage img = picture(3, 1, {{0, 0, 128}, {127, 127, 127}, {0, 128, 0}});
    apply(pfColourThreshold, img, 0x808080);
    EXPECT_EQ(greys(img), (std::vector<int>{255, 0, 255}));
}

TEST(ColourThreshold, UsesBlueFromTheThirdByteAndRedFromTheFirst)
{
    // Red threshold 0x10, green 0xFF, blue 0xFF.
    QImage img = picture(2, 1, {{200, 200, 0x10}, {254, 254, 0x0F}});
    apply(pfColourThreshold, img, 0xFFFF10);
    EXPECT_EQ(greys(img), (std::vector<int>{255, 0}));
}

TEST(SwapChannels, FivePermutations)
{
    const std::vector<Bgr> expected = {{20, 30, 10}, {30, 10, 20}, {20, 10, 30}, {30, 20, 10}, {10, 30, 20}};
    for (int p = 1; p <= 5; ++p) {
        QImage img = picture(1, 1, {{10, 20, 30}});
        apply(pfSwapChannels, img, p);
        EXPECT_EQ(at(img, 0, 0), expected[static_cast<size_t>(p - 1)]) << p;
    }
}

TEST(SwapChannels, OtherNumbersLeaveThePictureButStillRun)
{
    for (int p : {0, 6, -1}) {
        QImage img = picture(1, 2, {{10, 20, 30}, {1, 2, 3}});
        const QImage before = img.copy();
        const Result res = apply(pfSwapChannels, img, p);
        EXPECT_TRUE(res.ran);
        EXPECT_EQ(res.progress, 100);
        EXPECT_EQ(img, before);
    }
}

// The contrast pictures use p = 100 (factor 2) and a second pixel that sets
// the mean grey to 100, so the curve is 2 i - 100.
TEST(Contrast, SpillMovesHalfTheExcessToTheOtherChannels)
{
    // (40, 100, 200) -> curve (-20, 100, 300); grey 113, other pixel grey 87: mean 100.
    QImage img = picture(2, 1, {{40, 100, 200}, {87, 87, 87}});
    apply(pfContrast, img, 100);
    EXPECT_EQ(at(img, 0, 0), (Bgr{17, 107, 255}));
    EXPECT_EQ(at(img, 1, 0), (Bgr{74, 74, 74}));
}

TEST(Contrast, NothingAboveZeroBecomesBlack)
{
    // (40, 49, 50) -> (-20, -2, 0); grey 46, other grey 154: mean 100.
    QImage img = picture(2, 1, {{40, 49, 50}, {154, 154, 154}});
    apply(pfContrast, img, 100);
    EXPECT_EQ(at(img, 0, 0), (Bgr{0, 0, 0}));
    EXPECT_EQ(at(img, 1, 0), (Bgr{208, 208, 208}));
}

TEST(Contrast, AllAt255OrAboveBecomesWhite)
{
    // (200, 180, 178) -> (300, 260, 256); grey 186, other grey 14 -> -72 in all three.
    QImage img = picture(2, 1, {{200, 180, 178}, {14, 14, 14}});
    apply(pfContrast, img, 100);
    EXPECT_EQ(at(img, 0, 0), (Bgr{255, 255, 255}));
    EXPECT_EQ(at(img, 1, 0), (Bgr{0, 0, 0}));
}

TEST(Contrast, ZeroKeepsThePicture)
{
    QImage img = picture(3, 1, {{0, 128, 255}, {10, 20, 30}, {99, 1, 200}});
    const QImage before = img.copy();
    apply(pfContrast, img, 0);
    EXPECT_EQ(img, before);
}

TEST(Contrast, CurveHalvesRoundToEvenAroundAnOddMean)
{
    // Mean grey (100 + 101 + 102) \ 3 = 101. f = 1.5: 99.5 -> 100, 102.5 -> 102;
    // f = 0.5: 100.5 -> 100, 101.5 -> 102; f = 2.5: 98.5 -> 98, 103.5 -> 104.
    // f = 108945.5 takes 255 beyond 2^24, where pixels are worked one by one:
    // -108844.5 -> -108844 and 109046.5 -> 109046, which spill to (0, 53, 248).
    // Nine pixels fill whole vector blocks and a tail; one pixel only a tail.
    for (const int w : {1, 9}) {
        for (const auto& [p, expected] : {std::pair{50, Bgr{100, 101, 102}}, std::pair{-50, Bgr{100, 101, 102}},
                                          std::pair{150, Bgr{98, 101, 104}}, std::pair{10894450, Bgr{0, 53, 248}}}) {
            QImage img = flatPicture(w, 1, Bgr{100, 101, 102});
            apply(pfContrast, img, p);
            for (int x = 0; x < w; ++x) EXPECT_EQ(at(img, x, 0), expected) << "p " << p << ", width " << w;
        }
    }
}

TEST(Contrast, HugeFactorSaturatesInsteadOfOverflowing)
{
    QImage img = picture(2, 1, {{0, 128, 255}, {255, 0, 128}});
    const Result res = apply(pfContrast, img, 2147483647);
    EXPECT_TRUE(res.ran);
    for (int c = 0; c < 3; ++c) {
        for (int v : channel(img, c)) {
            EXPECT_GE(v, 0);
            EXPECT_LE(v, 255);
        }
    }
}

TEST(Mosaic, BlocksAlignAtTheTopLeftAndTheLastColumnAveragesOnlyItself)
{
    // 7 x 2, n = 3: blocks columns 1-3, 4-6, 7 over both rows.
    QImage img = greyPicture(7, 2, {0, 3, 6, 10, 10, 11, 100,
                                    1, 4, 8, 10, 10, 10, 51});
    apply(pfMosaic, img, 3);
    // (0+3+6+1+4+8) \ 6 = 3, (10*5+11) \ 6 = 10, (100+51) \ 2 = 75.
    EXPECT_EQ(greys(img), (std::vector<int>{3, 3, 3, 10, 10, 10, 75,
                                            3, 3, 3, 10, 10, 10, 75}));
}

TEST(Mosaic, LowerBlockRowsStartAfterNRows)
{
    QImage img = greyPicture(2, 3, {10, 20,
                                    30, 40,
                                    7, 9});
    apply(pfMosaic, img, 2);
    EXPECT_EQ(greys(img), (std::vector<int>{25, 25, 25, 25, 8, 8}));
}

TEST(Mosaic, BlockSizeOneKeepsThePictureAndALargeOneTakesTheWholeMean)
{
    QImage img = picture(3, 2, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}, {13, 14, 15}, {16, 17, 19}});
    const QImage before = img.copy();
    apply(pfMosaic, img, 1);
    EXPECT_EQ(img, before);
    apply(pfMosaic, img, 2147483647);
    // blue (1+4+7+10+13+16) \ 6 = 8, green 9, red (3+6+9+12+15+19) \ 6 = 10
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) EXPECT_EQ(at(img, x, y), (Bgr{8, 9, 10}));
    }
}

TEST(ContrastSpill, RowPassesAgreeWithThePixelByPixelSpill)
{
    // Hand cases first, then a spread of values around and far beyond 0..255.
    std::vector<std::array<int32_t, 3>> cases = {{-20, 100, 300}, {-5, -1, 0}, {300, 260, 256}, {10, 20, 30},
                                                 {-3000, 5000, 128}, {16000000, -16000000, 7}};
    uint32_t seed = 5;
    for (int i = 0; i < 3000; ++i) {
        std::array<int32_t, 3> c{};
        for (int32_t& v : c) {
            seed = seed * 1664525u + 1013904223u;
            const int32_t range = (i % 3 == 0) ? 1000 : ((i % 3 == 1) ? 100000 : 10000000);
            v = static_cast<int32_t>(seed % static_cast<uint32_t>(2 * range)) - range + 128;
        }
        cases.push_back(c);
    }
    const int w = static_cast<int>(cases.size());
    std::vector<int32_t> bs, gs, rs;
    for (const auto& c : cases) {
        bs.push_back(c[0]);
        gs.push_back(c[1]);
        rs.push_back(c[2]);
    }
    mFilterG::detail::spillRow(bs, gs, rs, w);
    for (size_t i = 0; i < cases.size(); ++i) {
        int64_t b = cases[i][0], g = cases[i][1], r = cases[i][2];
        mFilterG::detail::spillPixel(b, g, r);
        ASSERT_EQ((std::array<int64_t, 3>{bs[i], gs[i], rs[i]}), (std::array<int64_t, 3>{b, g, r})) << i;
        ASSERT_TRUE(b >= 0 && b <= 255 && g >= 0 && g <= 255 && r >= 0 && r <= 255);
    }
    EXPECT_EQ((std::array<int32_t, 3>{bs[0], gs[0], rs[0]}), (std::array<int32_t, 3>{17, 107, 255}));
    EXPECT_EQ((std::array<int32_t, 3>{bs[1], gs[1], rs[1]}), (std::array<int32_t, 3>{0, 0, 0}));
    EXPECT_EQ((std::array<int32_t, 3>{bs[2], gs[2], rs[2]}), (std::array<int32_t, 3>{255, 255, 255}));
}
