// The selection frame's commands on small terrains: they change the framed
// points only, keep to the grid and leave a frame beside the map alone.

#include "app/Selection.h"

#include "terrain/clsTerrain.h"

#include <gtest/gtest.h>

namespace {

using Selection::Rect;

TEST(SelectionFrame, ConvertOrdersCornersAndWidensAClickToTwoPoints)
{
    int32_t x1 = 5, y1 = 7, x2 = 2, y2 = 7;
    Selection::convertFrameData(x1, y1, x2, y2);
    EXPECT_EQ(x1, 2);
    EXPECT_EQ(x2, 5);
    EXPECT_EQ(y1, 7);
    EXPECT_EQ(y2, 8);
}

TEST(SelectionFrame, SecondCornerMovesUpToAnEvenPoint)
{
    EXPECT_EQ(Selection::evenCorner(5), 6);
    EXPECT_EQ(Selection::evenCorner(6), 6);
    EXPECT_EQ(Selection::evenCorner(0), 0);
    EXPECT_EQ(Selection::evenCorner(-3), -2);
    EXPECT_EQ(Selection::cornerFromMouse(4.5), 4);
    EXPECT_EQ(Selection::cornerFromMouse(5.5), 6);
}

TEST(SelectionFrame, ClipKeepsTheGridPartAndRefusesAFrameBesideTheMap)
{
    EXPECT_EQ(Selection::clipToGrid({-5, -5, 3, 3}, 8), (Rect{0, 0, 3, 3}));
    EXPECT_EQ(Selection::clipToGrid({12, 12, 6, 6}, 8), (Rect{6, 6, 8, 8}));
    EXPECT_FALSE(Selection::clipToGrid({10, 2, 20, 4}, 8));
    EXPECT_FALSE(Selection::clipToGrid({-4, -4, -1, -1}, 8));
    // A click on the last point widens past the grid and keeps that point.
    EXPECT_EQ(Selection::clipToGrid({8, 8, 8, 8}, 8), (Rect{8, 8, 8, 8}));
}

TEST(SelectionFrame, DiscRadiusAndPoints)
{
    EXPECT_DOUBLE_EQ(Selection::discRadius({1, 1}, {4, 5}), 5.0);
    const Selection::Disc d{4, 4, 2};
    EXPECT_TRUE(Selection::inDisc(d, 4, 2));
    EXPECT_TRUE(Selection::inDisc(d, 3, 3));
    EXPECT_FALSE(Selection::inDisc(d, 2, 3));
    EXPECT_EQ(Selection::discBounds(d), (Rect{2, 2, 6, 6}));
}

// A 9 x 9 terrain (Size 8), flat at 0.
class SelectionCommandTest : public testing::Test {
protected:
    void SetUp() override
    {
        ter.Init(9);
        ter.Fill(0);
    }

    int pointsEqualTo(int32_t v) const
    {
        int n = 0;
        for (int y = 0; y <= 8; ++y)
            for (int x = 0; x <= 8; ++x)
                if (ter.GetPoint(x, y) == v) ++n;
        return n;
    }

    // Heights that tell every point apart: 10 x + y.
    void numberPoints()
    {
        for (int y = 0; y <= 8; ++y)
            for (int x = 0; x <= 8; ++x) ter.SetPoint(x, y, 10 * x + y);
    }

    clsTerrain ter;
};

TEST_F(SelectionCommandTest, FillWritesTheFramedPointsOnly)
{
    EXPECT_TRUE(Selection::fill(ter, {4, 5, 2, 3}, 100));
    EXPECT_EQ(pointsEqualTo(100), 9);
    EXPECT_EQ(ter.GetPoint(2, 3), 100);
    EXPECT_EQ(ter.GetPoint(4, 5), 100);
    EXPECT_EQ(ter.GetPoint(1, 3), 0);
    EXPECT_EQ(ter.GetPoint(5, 5), 0);
    EXPECT_EQ(ter.GetPoint(3, 6), 0);
}

TEST_F(SelectionCommandTest, FillPastTheGridLeavesTheSpareRowsAlone)
{
    EXPECT_TRUE(Selection::fill(ter, {6, 6, 20, 20}, 7));
    EXPECT_EQ(pointsEqualTo(7), 9);
    // Rows and columns Size + 1 and Size + 2 are not terrain points.
    EXPECT_EQ(ter.row(9)[9], 0);
    EXPECT_EQ(ter.row(6)[10], 0);
}

TEST_F(SelectionCommandTest, FrameBesideTheMapChangesNothing)
{
    numberPoints();
    EXPECT_FALSE(Selection::fill(ter, {10, 0, 14, 4}, 7));
    EXPECT_FALSE(Selection::lift(ter, {-9, -9, -2, -2}, 75000));
    EXPECT_FALSE(Selection::reflectVertically(ter, {0, 9, 8, 12}));
    EXPECT_FALSE(Selection::trim(ter, {9, 9, 9, 9}));
    EXPECT_TRUE(Selection::objectPicture(ter, {20, 20, 30, 30}).isNull());
    EXPECT_EQ(ter.GetPoint(3, 4), 34);
    EXPECT_EQ(ter.GetPoint(8, 8), 88);
}

TEST_F(SelectionCommandTest, LiftRaisesTheFrameCentreMostAndNothingOutside)
{
    // Strength 30: 75000 x the bell's peak 0.36.
    EXPECT_TRUE(Selection::lift(ter, {2, 2, 6, 6}, Selection::liftAmount(30)));
    EXPECT_EQ(ter.GetPoint(4, 4), 27000);
    EXPECT_GT(ter.GetPoint(4, 4), ter.GetPoint(3, 4));
    EXPECT_GT(ter.GetPoint(3, 4), ter.GetPoint(2, 4));
    EXPECT_EQ(ter.GetPoint(1, 4), 0);
    EXPECT_EQ(ter.GetPoint(7, 4), 0);
    EXPECT_EQ(ter.GetPoint(4, 7), 0);
}

TEST_F(SelectionCommandTest, LowerIsLiftTurnedDown)
{
    EXPECT_TRUE(Selection::lift(ter, {2, 2, 6, 6}, -Selection::liftAmount(30)));
    EXPECT_EQ(ter.GetPoint(4, 4), -27000);
    EXPECT_EQ(ter.GetPoint(1, 1), 0);
}

TEST_F(SelectionCommandTest, LiftWithStrengthZeroChangesNothing)
{
    numberPoints();
    EXPECT_TRUE(Selection::lift(ter, {0, 0, 8, 8}, Selection::liftAmount(0)));
    EXPECT_EQ(ter.GetPoint(4, 4), 44);
    EXPECT_EQ(ter.GetPoint(0, 8), 8);
}

TEST_F(SelectionCommandTest, LiftOfAFramePastTheGridKeepsItsBellWhereItWasDrawn)
{
    // Frame 4..12: its centre (8, 8) is the grid's corner.
    EXPECT_TRUE(Selection::lift(ter, {4, 4, 12, 12}, 75000));
    EXPECT_EQ(ter.GetPoint(8, 8), 27000);
    EXPECT_EQ(ter.GetPoint(3, 8), 0);
    EXPECT_EQ(ter.row(9)[9], 0);
}

TEST_F(SelectionCommandTest, ReflectVerticallyMirrorsColumnsInsideTheFrame)
{
    numberPoints();
    EXPECT_TRUE(Selection::reflectVertically(ter, {3, 2, 1, 1}));
    EXPECT_EQ(ter.GetPoint(1, 1), 31);
    EXPECT_EQ(ter.GetPoint(3, 1), 11);
    EXPECT_EQ(ter.GetPoint(2, 2), 22);
    EXPECT_EQ(ter.GetPoint(1, 2), 32);
    EXPECT_EQ(ter.GetPoint(0, 1), 1);
    EXPECT_EQ(ter.GetPoint(4, 1), 41);
    EXPECT_EQ(ter.GetPoint(1, 3), 13);
}

TEST_F(SelectionCommandTest, ReflectHorizontallyMirrorsRowsInsideTheFrame)
{
    numberPoints();
    EXPECT_TRUE(Selection::reflectHorizontally(ter, {2, 1, 3, 4}));
    EXPECT_EQ(ter.GetPoint(2, 1), 24);
    EXPECT_EQ(ter.GetPoint(2, 4), 21);
    EXPECT_EQ(ter.GetPoint(3, 2), 33);
    EXPECT_EQ(ter.GetPoint(1, 1), 11);
    EXPECT_EQ(ter.GetPoint(2, 0), 20);
    EXPECT_EQ(ter.GetPoint(2, 5), 25);
}

TEST_F(SelectionCommandTest, ReflectOfAFramePastTheGridMirrorsItsGridPart)
{
    numberPoints();
    // Cut to columns 6..8, rows 0..1.
    EXPECT_TRUE(Selection::reflectVertically(ter, {6, 0, 12, 0}));
    EXPECT_EQ(ter.GetPoint(6, 0), 80);
    EXPECT_EQ(ter.GetPoint(8, 1), 61);
    EXPECT_EQ(ter.GetPoint(7, 1), 71);
    EXPECT_EQ(ter.GetPoint(6, 2), 62);
}

TEST_F(SelectionCommandTest, RoundFrameFillsItsDiscOnly)
{
    const Selection::Disc d{4, 4, 2};
    EXPECT_TRUE(Selection::fill(ter, Selection::discBounds(d), 5, d));
    EXPECT_EQ(pointsEqualTo(5), 13);
    EXPECT_EQ(ter.GetPoint(4, 2), 5);
    EXPECT_EQ(ter.GetPoint(3, 3), 5);
    EXPECT_EQ(ter.GetPoint(2, 2), 0);
}

TEST_F(SelectionCommandTest, RoundFrameLiftsItsDiscOnly)
{
    const Selection::Disc d{4, 4, 1};
    EXPECT_TRUE(Selection::lift(ter, Selection::discBounds(d), 75000, d));
    EXPECT_GT(ter.GetPoint(4, 4), 0);
    EXPECT_GT(ter.GetPoint(4, 3), 0);
    EXPECT_EQ(ter.GetPoint(3, 3), 0);
    EXPECT_EQ(ter.GetPoint(5, 5), 0);
}

TEST_F(SelectionCommandTest, TrimMovesTheFramedHeightsToTheOrigin)
{
    numberPoints();
    EXPECT_TRUE(Selection::trim(ter, {2, 3, 3, 4}));
    EXPECT_EQ(ter.GetPoint(0, 0), 23);
    EXPECT_EQ(ter.GetPoint(1, 0), 33);
    EXPECT_EQ(ter.GetPoint(0, 1), 24);
    EXPECT_EQ(ter.GetPoint(1, 1), 34);
    EXPECT_EQ(ter.GetPoint(2, 0), -32768);
    EXPECT_EQ(ter.GetPoint(8, 8), -32768);
    EXPECT_EQ(ter.Size(), 8);
}

TEST_F(SelectionCommandTest, ObjectPictureOfAFlatFrameIsBlack)
{
    ter.Fill(1234);
    const QImage img = Selection::objectPicture(ter, {1, 1, 5, 5});
    ASSERT_EQ(img.size(), QSize(4, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(img.pixel(x, y), qRgb(0, 0, 0));
}

TEST_F(SelectionCommandTest, ObjectPictureCentresTheFrameAndGreysByHeight)
{
    // Heights 0, 512, ..., 2048 across: 8 steps a grey level, 64 levels a column.
    for (int y = 0; y <= 8; ++y)
        for (int x = 0; x <= 8; ++x) ter.SetPoint(x, y, x * 512 - 32768);
    const QImage img = Selection::objectPicture(ter, {0, 0, 4, 2});
    // Side 4; the two-step-high frame sits one row down.
    ASSERT_EQ(img.size(), QSize(4, 4));
    EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(3, 0), qRgb(0, 0, 0));
    for (int y = 1; y <= 3; ++y) {
        EXPECT_EQ(img.pixel(0, y), qRgb(0, 0, 0));
        EXPECT_EQ(img.pixel(1, y), qRgb(64, 64, 64));
        EXPECT_EQ(img.pixel(3, y), qRgb(192, 192, 192));
    }
}

} // namespace
