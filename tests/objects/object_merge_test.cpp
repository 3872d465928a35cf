// Stamping objects into tiny terrains, one case per merge mode.

#include "objects/mdlObjects.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>

using namespace mdlObjects;

namespace {

constexpr QRgb kWhite = 0xffffffff;

class ObjectMergeTest : public testing::Test {
protected:
    // A terrain of 5 x 5 points (Size 4) at height h.
    void flat(int32_t h)
    {
        ter.Init(5);
        ter.Fill(h);
    }
    // A 2 x 2 white object at (x, y); with H1 = 16777216 a white pixel is worth 16777215.
    ObjectRecord object(double x, double y, int16_t mode, double h1 = 16777216.0)
    {
        ObjectRecord r;
        r.X = x;
        r.Y = y;
        r.XSpread = 2;
        r.YSpread = 2;
        r.Mode = mode;
        r.H1 = h1;
        return r;
    }
    static QImage white(int side)
    {
        QImage img(side, side, QImage::Format_RGB32);
        img.fill(kWhite);
        return img;
    }
    clsTerrain ter;
};

TEST_F(ObjectMergeTest, AddRaisesExactlyTheCoveredPoints)
{
    flat(0);
    MergeObject(ter, white(2), object(1, 1, ModeAdd, 65536));
    EXPECT_EQ(ter.GetPoint(1, 1), 65536);
    EXPECT_EQ(ter.GetPoint(2, 2), 65536);
    EXPECT_EQ(ter.GetPoint(0, 0), 0);
    EXPECT_EQ(ter.GetPoint(3, 3), 0);
    EXPECT_EQ(ter.GetPoint(3, 1), 0);
}

TEST_F(ObjectMergeTest, HalfPointPositionIsRoundedOnceAndColumnsFollowOneByOne)
{
    // X 1.5 and Y 0.5 round (halves to even) to column 2 and row 0; rounding
    // each X + i on its own would give columns 2, 2, 4, 4 and rows 0, 2, 2, 4.
    ter.Init(9);
    ter.Fill(0);
    ObjectRecord r = object(1.5, 0.5, ModeAdd, 65536);
    r.XSpread = 4;
    r.YSpread = 4;
    MergeObject(ter, white(4), r);
    for (int32_t y = 0; y <= 8; ++y)
        for (int32_t x = 0; x <= 8; ++x) {
            const bool covered = x >= 2 && x <= 5 && y <= 3;
            EXPECT_EQ(ter.GetPoint(x, y), covered ? 65536 : 0) << x << "," << y;
        }
}

TEST_F(ObjectMergeTest, SubtractMultiplyAndDivideCombineWithTheHeight)
{
    flat(100);
    MergeObject(ter, white(2), object(0, 0, ModeSubtract));
    EXPECT_EQ(ter.GetPoint(0, 0), 100 - 16777215);

    flat(3);
    MergeObject(ter, white(2), object(0, 0, ModeMultiply));
    EXPECT_EQ(ter.GetPoint(1, 1), 3 * 16777215);

    flat(2 * 16777215);
    MergeObject(ter, white(2), object(0, 0, ModeDivide));
    EXPECT_EQ(ter.GetPoint(1, 0), 2);
}

TEST_F(ObjectMergeTest, ProductBeyond32BitsIsClampedNotWrapped)
{
    flat(1000);
    MergeObject(ter, white(2), object(0, 0, ModeMultiply));
    EXPECT_EQ(ter.GetPoint(0, 0), std::numeric_limits<int32_t>::max());
    flat(-1000);
    MergeObject(ter, white(2), object(0, 0, ModeMultiply));
    EXPECT_EQ(ter.GetPoint(0, 0), std::numeric_limits<int32_t>::min());
}

TEST_F(ObjectMergeTest, PutOnTerrainStandsLevelOnTheHeightUnderTheCentre)
{
    ter.Init(5);
    for (int y = 0; y <= 4; ++y)
        for (int x = 0; x <= 4; ++x) ter.SetPoint(x, y, 10 * x);
    ObjectRecord r = object(0, 0, ModePutOnTerrain);
    r.H2 = 5;
    MergeObject(ter, white(2), r);
    // Centre (1, 1) lies at 10.
    EXPECT_EQ(ter.GetPoint(0, 0), 10 + 5 + 16777215);
    EXPECT_EQ(ter.GetPoint(1, 1), 10 + 5 + 16777215);
    EXPECT_EQ(ter.GetPoint(2, 0), 20);
}

TEST_F(ObjectMergeTest, HighestAndLowestCompareWithTheShiftedValue)
{
    // White with H1 65536: v - 32768 = 32767.996, stored as 32768.
    ter.Init(5);
    ter.Fill(0);
    ter.SetPoint(1, 1, 40000);
    MergeObject(ter, white(2), object(0, 0, ModeHighest, 65536));
    EXPECT_EQ(ter.GetPoint(0, 0), 32768);
    EXPECT_EQ(ter.GetPoint(1, 1), 40000);

    ter.Fill(0);
    ter.SetPoint(1, 1, 40000);
    MergeObject(ter, white(2), object(0, 0, ModeLowest, 65536));
    EXPECT_EQ(ter.GetPoint(0, 0), 0);
    EXPECT_EQ(ter.GetPoint(1, 1), 32768);
}

TEST_F(ObjectMergeTest, DarkPixelsAndTinyValuesAreTransparent)
{
    flat(7);
    QImage pic(2, 2, QImage::Format_RGB32);
    pic.setPixel(0, 0, qRgb(0, 0, 0));
    pic.setPixel(1, 0, qRgb(5, 0, 0));         // colour value 5
    pic.setPixel(0, 1, qRgb(6, 0, 0));         // colour value 6: counts
    pic.setPixel(1, 1, qRgb(255, 255, 255));
    MergeObject(ter, pic, object(0, 0, ModeHighest, 16777216.0));
    EXPECT_EQ(ter.GetPoint(0, 0), 7);
    EXPECT_EQ(ter.GetPoint(1, 0), 7);
    EXPECT_EQ(ter.GetPoint(0, 1), 7);  // 6 - 32768 is lower
    EXPECT_EQ(ter.GetPoint(1, 1), 16777215 - 32768);

    flat(7);
    MergeObject(ter, white(2), object(0, 0, ModeAdd, 1.0));  // v is just under 1
    EXPECT_EQ(ter.GetPoint(0, 0), 7);
}

TEST_F(ObjectMergeTest, UnknownModeWritesNothing)
{
    flat(7);
    MergeObject(ter, white(2), object(0, 0, 7));
    EXPECT_EQ(ter.GetPoint(0, 0), 7);
}

TEST_F(ObjectMergeTest, ObjectPastTheLastColumnIsCutAtSize)
{
    flat(0);
    ObjectRecord r = object(3, 3, ModeAdd);
    r.XSpread = 3;
    r.YSpread = 3;
    MergeObject(ter, white(3), r);
    EXPECT_EQ(ter.GetPoint(3, 3), 16777215);
    EXPECT_EQ(ter.GetPoint(4, 4), 16777215);
    // The spare rows beyond Size stay untouched.
    EXPECT_EQ(ter.row(5)[5], 0);
    EXPECT_EQ(ter.row(3)[5], 0);
}

TEST_F(ObjectMergeTest, FarEdgeComparesTheUnroundedPositionWithSize)
{
    // At 3.25 the second column and row would lie at 4.25, past Size 4,
    // although they round to 4.
    flat(0);
    MergeObject(ter, white(2), object(3.25, 3.25, ModeAdd, 65536));
    EXPECT_EQ(ter.GetPoint(3, 3), 65536);
    EXPECT_EQ(ter.GetPoint(4, 3), 0);
    EXPECT_EQ(ter.GetPoint(3, 4), 0);
    EXPECT_EQ(ter.GetPoint(4, 4), 0);
    // At 4.25 even the first column lies past it.
    flat(0);
    MergeObject(ter, white(2), object(4.25, 0, ModeAdd, 65536));
    EXPECT_EQ(ter.Range(), 0);
}

TEST_F(ObjectMergeTest, ObjectLeftOfTheGridWritesOnlyItsPartOnTheGrid)
{
    flat(0);
    QImage pic(2, 2, QImage::Format_RGB32);
    pic.fill(Qt::black);
    pic.setPixel(1, 0, kWhite);
    pic.setPixel(0, 1, kWhite);  // lies on column -1: dropped
    MergeObject(ter, pic, object(-1, 0, ModeAdd));
    EXPECT_EQ(ter.GetPoint(0, 0), 16777215);
    EXPECT_EQ(ter.GetPoint(0, 1), 0);
}

TEST_F(ObjectMergeTest, ObjectFarOffTheGridFinishesAtOnce)
{
    flat(0);
    ObjectRecord r = object(-2e9, -2e9, ModeAdd);
    r.XSpread = 4e9;
    r.YSpread = 4e9;
    const auto start = std::chrono::steady_clock::now();
    MergeObject(ter, white(2), r);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(ter.GetPoint(0, 0), 0);
}

TEST_F(ObjectMergeTest, WiderSpreadReadsPastThePictureAsTransparent)
{
    flat(0);
    ObjectRecord r = object(0, 0, ModeAdd);
    r.XSpread = 4;
    r.YSpread = 4;
    MergeObject(ter, white(2), r);
    EXPECT_EQ(ter.GetPoint(1, 1), 16777215);
    EXPECT_EQ(ter.GetPoint(2, 2), 0);
}

} // namespace
