// The stroke brushes without a window: the mask, and what a release applies
// around each marked point.

#include "app/AppState.h"
#include "app/Brushes.h"
#include "generate/KVFilter.h"
#include "runtime/Numbers.h"
#include "runtime/Ui.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/clsTerrain.h"
#include "tests/support/ScriptedUi.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(StrokeMarks, PressRoundsHalvesToEvenAndIgnoresPointsOffTheMask)
{
    Brushes::StrokeMask mask;
    mask.reset(9);
    EXPECT_EQ(mask.bound(), 9);
    Brushes::markPress(mask, {2.5, 3.5});
    EXPECT_TRUE(mask.marked(2, 4));
    Brushes::markPress(mask, {9.6, 4});
    Brushes::markPress(mask, {-0.6, 4});
    EXPECT_FALSE(mask.marked(10, 4));
    EXPECT_FALSE(mask.mark(10, 0));
    mask.reset(9);
    EXPECT_FALSE(mask.marked(2, 4));
}

TEST(StrokeMarks, DragKeepsThePointWithinTheTerrain)
{
    Brushes::StrokeMask mask;
    mask.reset(9);
    EXPECT_EQ(Brushes::markDrag(mask, {-5, 300}, 8), QPoint(0, 8));
    EXPECT_TRUE(mask.marked(0, 8));
    EXPECT_EQ(Brushes::markDrag(mask, {3.4, 5.5}, 8), QPoint(3, 6));
}

class StrokeTest : public testing::Test {
protected:
    void SetUp() override
    {
        KVFilter::InitBrushTable(512);
        ter.Init(65);
        ter.Fill(0);
        mask.reset(ter.XPoints());
        TerrainEmpty = true;
        TerrainSaved = true;
    }
    void TearDown() override
    {
        rt::setAppPath(QString());
        KVFilter::ErosionPatternFile.clear();
    }
    Brushes::StrokeSettings brush(int tool, int radius, int strength)
    {
        Brushes::StrokeSettings s;
        s.tool = tool;
        s.radius = radius;
        s.strength = strength;
        return s;
    }
    int changedOutside(int32_t xFirst, int32_t xLast, int32_t yFirst, int32_t yLast, int32_t h = 0)
    {
        int n = 0;
        for (int32_t y = 0; y <= 66; ++y)
            for (int32_t x = 0; x <= 66; ++x)
                if ((x < xFirst || x > xLast || y < yFirst || y > yLast) && ter.GetPoint(x, y) != h) ++n;
        return n;
    }

    clsTerrain ter;
    Brushes::StrokeMask mask;
};

TEST_F(StrokeTest, UpRaisesTheSquareAroundTheMarkedPointByTheBell)
{
    mask.mark(30, 20);
    ASSERT_TRUE(Brushes::applyStroke(ter, mask, brush(Brushes::Up, 10, 5)));
    // Peak 20 * 20 * (5 * 0.36) = 720; every 5 points off (a quarter of the
    // table, two deviations) multiply by e^-2: 97.4, then 13.2 diagonally; the
    // square's edges lie four deviations out, e^-8 x 720 = 0.24.
    const int32_t expected[5][5] = {{0, 0, 0, 0, 0},
                                    {0, 13, 97, 13, 0},
                                    {0, 97, 720, 97, 0},
                                    {0, 13, 97, 13, 0},
                                    {0, 0, 0, 0, 0}};
    for (int32_t j = 0; j < 5; ++j)
        for (int32_t i = 0; i < 5; ++i)
            EXPECT_EQ(ter.GetPoint(20 + 5 * i, 10 + 5 * j), expected[j][i]) << i << "," << j;
    EXPECT_EQ(changedOutside(20, 40, 10, 30), 0);
    EXPECT_FALSE(TerrainEmpty);
    EXPECT_FALSE(TerrainSaved);
    EXPECT_FALSE(rt::BusyFlag);
    EXPECT_EQ(ter.pProgress, 100);
    EXPECT_EQ(scriptedUi().statusTexts.value(0), QStringLiteral("Filter Process....."));
}

TEST_F(StrokeTest, DownLowersByTheSameAmountsAndMarksAddUp)
{
    mask.mark(30, 20);
    mask.mark(31, 20);
    ASSERT_TRUE(Brushes::applyStroke(ter, mask, brush(Brushes::Down, 10, 5)));
    clsTerrain up;
    up.Init(65);
    Brushes::raiseAround(up, 30, 20, 20, 5, 1);
    Brushes::raiseAround(up, 31, 20, 20, 5, 1);
    for (int32_t x = 19; x <= 42; ++x)
        for (int32_t y = 9; y <= 31; ++y) EXPECT_EQ(ter.GetPoint(x, y), -up.GetPoint(x, y)) << x << "," << y;
    EXPECT_LT(ter.GetPoint(30, 20), -720);
}

TEST_F(StrokeTest, StrengthZeroAddsNothingButTheTerrainCountsAsChanged)
{
    mask.mark(30, 20);
    ASSERT_TRUE(Brushes::applyStroke(ter, mask, brush(Brushes::Up, 10, 0)));
    EXPECT_EQ(changedOutside(0, -1, 0, -1), 0);
    EXPECT_FALSE(TerrainSaved);
}

TEST_F(StrokeTest, RadiusOneGivesOnlyTheCentreAVisibleRise)
{
    mask.mark(30, 20);
    ASSERT_TRUE(Brushes::applyStroke(ter, mask, brush(Brushes::Up, 1, 30)));
    // 40 * 30 * 0.36; the ring's weight of 0.36 e^-8 rounds away.
    EXPECT_EQ(ter.GetPoint(30, 20), 432);
    EXPECT_EQ(changedOutside(30, 30, 20, 20), 0);
}

TEST_F(StrokeTest, RowAndColumnZeroAreNeverApplied)
{
    mask.mark(0, 20);
    mask.mark(20, 0);
    mask.mark(0, 0);
    ASSERT_TRUE(Brushes::applyStroke(ter, mask, brush(Brushes::Up, 10, 5)));
    EXPECT_EQ(changedOutside(0, -1, 0, -1), 0);
    EXPECT_TRUE(TerrainSaved);
    EXPECT_TRUE(TerrainEmpty);
}

TEST_F(StrokeTest, BrushLargerThanTheGridStaysInsideIt)
{
    ter.Init(9);
    mask.reset(ter.XPoints());
    mask.mark(1, 1);
    mask.mark(9, 9);  // XPoints: the spare column
    ASSERT_TRUE(Brushes::applyStroke(ter, mask, brush(Brushes::Up, 60, 30)));
    EXPECT_GT(ter.GetPoint(1, 1), 0);
    EXPECT_GT(ter.GetPoint(10, 10), 0);
}

TEST_F(StrokeTest, EveryBrushAtTheCornersOfA2049GridStaysInsideIt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage grey(3, 3, QImage::Format_RGB32);
    grey.fill(qRgb(128, 128, 128));
    ASSERT_TRUE(grey.save(dir.filePath("erode0.flt"), "BMP"));
    rt::setAppPath(dir.path());
    ter.Init(2049);
    ter.Fill(1000);
    mask.reset(ter.XPoints());
    for (const auto& [x, y] : {std::pair{1, 1}, {2049, 1}, {1, 2049}, {2049, 2049}, {2048, 2048}}) mask.mark(x, y);
    for (int tool = Brushes::Up; tool <= Brushes::Sharpen; ++tool)
        ASSERT_TRUE(Brushes::applyStroke(ter, mask, brush(tool, 60, 30))) << tool;
    EXPECT_NE(ter.GetPoint(2050, 2050), 1000);
    EXPECT_NE(ter.GetPoint(0, 0), 1000);
    EXPECT_EQ(ter.GetPoint(1024, 1024), 1000);
}

TEST_F(StrokeTest, NoiseWorksOnTheSquareOfSideDMinusTwo)
{
    ter.Fill(1000);
    mask.mark(30, 20);
    ASSERT_TRUE(Brushes::applyStroke(ter, mask, brush(Brushes::Noise, 5, 30)));
    // Strength 30 / 3 + 1 = 11: up to +-27.5 % of the height.
    EXPECT_EQ(changedOutside(25, 33, 15, 23, 1000), 0);
    int changed = 0;
    for (int32_t x = 25; x <= 33; ++x)
        for (int32_t y = 15; y <= 23; ++y) {
            EXPECT_GE(ter.GetPoint(x, y), 725);
            EXPECT_LE(ter.GetPoint(x, y), 1275);
            changed += ter.GetPoint(x, y) != 1000;
        }
    EXPECT_GT(changed, 0);
    EXPECT_FALSE(rt::BusyFlag);
}

TEST_F(StrokeTest, SmoothWorksOnTheSquareOneUpAndLeft)
{
    // Stripes: every diagonal neighbour differs from the point.
    for (int32_t y = 0; y <= 66; ++y)
        for (int32_t x = 0; x <= 66; ++x) ter.SetPoint(x, y, x % 2 ? 1000 : 0);
    mask.mark(30, 20);
    ASSERT_TRUE(Brushes::applyStroke(ter, mask, brush(Brushes::Smooth, 3, 5)));
    // Window 26..30 by 16..20.
    for (int32_t y = 0; y <= 66; ++y)
        for (int32_t x = 0; x <= 66; ++x) {
            const bool inside = x >= 26 && x <= 30 && y >= 16 && y <= 20;
            if (inside) EXPECT_NE(ter.GetPoint(x, y), x % 2 ? 1000 : 0) << x << "," << y;
            else EXPECT_EQ(ter.GetPoint(x, y), x % 2 ? 1000 : 0) << x << "," << y;
        }
}

TEST_F(StrokeTest, SmoothFlattensASpikeInItsWindow)
{
    ter.SetPoint(28, 18, 5000);
    mask.mark(30, 20);
    ASSERT_TRUE(Brushes::applyStroke(ter, mask, brush(Brushes::Smooth, 3, 5)));
    EXPECT_LT(ter.GetPoint(28, 18), 5000);
    EXPECT_GT(ter.GetPoint(27, 17), 0);
}

TEST_F(StrokeTest, SharpenChangesNoHeightButCountsAsAnEdit)
{
    ter.Fill(300);
    mask.mark(30, 20);
    ASSERT_TRUE(Brushes::applyStroke(ter, mask, brush(Brushes::Sharpen, 10, 5)));
    EXPECT_EQ(changedOutside(0, -1, 0, -1, 300), 0);
    EXPECT_FALSE(TerrainSaved);
}

TEST_F(StrokeTest, ErodeStampsThePatternOnTheSquareOfSideDMinusTwo)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage black(2, 2, QImage::Format_RGB32);
    black.fill(qRgb(0, 0, 0));
    ASSERT_TRUE(black.save(dir.filePath("erode0.flt"), "BMP"));
    rt::setAppPath(dir.path());
    ter.Fill(-500);
    mask.mark(30, 20);
    ASSERT_TRUE(Brushes::applyStroke(ter, mask, brush(Brushes::Erode, 4, 5)));
    EXPECT_EQ(ter.GetPoint(26, 16), -497);
    EXPECT_EQ(ter.GetPoint(32, 22), -497);
    EXPECT_EQ(changedOutside(26, 32, 16, 22, -500), 0);
}

TEST_F(StrokeTest, ErodeWithoutItsPatternStopsTheStrokeAndSaysWhy)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    rt::setAppPath(dir.path());
    mask.mark(30, 20);
    QString error;
    EXPECT_FALSE(Brushes::applyStroke(ter, mask, brush(Brushes::Erode, 4, 5), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(changedOutside(0, -1, 0, -1), 0);
    EXPECT_TRUE(TerrainSaved);
    EXPECT_FALSE(rt::BusyFlag);
}

} // namespace
