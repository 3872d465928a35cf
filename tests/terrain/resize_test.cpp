#include "terrain/ResizeTerrain.h"

#include "terrain/TerrainGlobals.h"
#include "terrain/clsTerrain.h"
#include "runtime/Rnd.h"
#include "runtime/Ui.h"
#include "tests/support/ScriptedUi.h"

#include <gtest/gtest.h>

namespace {

class ResizeTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_oldCurrent = CurrentTerrain;
        CurrentTerrain = &terrain;
        rt::Randomize(7);
    }
    void TearDown() override { CurrentTerrain = m_oldCurrent; }

    // A grid of n points whose heights are f(x, y) over 0..Size+2.
    template <class F>
    void fill(int n, F f)
    {
        terrain.Init(n);
        for (int x = 0; x <= n + 1; ++x)
            for (int y = 0; y <= n + 1; ++y) terrain.SetPoint(x, y, f(x, y));
    }

    clsTerrain terrain;

private:
    clsTerrain* m_oldCurrent = nullptr;
};

} // namespace

TEST_F(ResizeTest, DoublingInRepeatModeMakesEachPointATwoByTwoBlock)
{
    fill(129, [](int x, int y) { return x * 1000 + y; });
    ResizeTerrain(terrain, KVTools2::ResizeRepeat);
    ASSERT_EQ(terrain.XPoints(), 257);
    for (int x : {0, 1, 64, 127})
        for (int y : {0, 5, 127}) {
            const int h = x * 1000 + y;
            EXPECT_EQ(terrain.GetPoint(2 * x, 2 * y), h);
            EXPECT_EQ(terrain.GetPoint(2 * x + 1, 2 * y), h);
            EXPECT_EQ(terrain.GetPoint(2 * x + 1, 2 * y + 1), h);
            EXPECT_EQ(terrain.GetPoint(2 * x, 2 * y + 1), h);
        }
    EXPECT_EQ(terrain.GetPoint(256, 256), 128 * 1000 + 128);
}

TEST_F(ResizeTest, DoublingInMeanModeWithoutRoughnessAveragesNeighbours)
{
    terrain.Init(3);  // Size 2
    const int h[3][3] = {{1, 2, 7}, {4, 8, 0}, {3, 6, 5}};  // h[y][x]
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) terrain.SetPoint(x, y, h[y][x]);
    ResizeTerrain(terrain, KVTools2::ResizeMean, 0);
    ASSERT_EQ(terrain.Size(), 4);
    EXPECT_EQ(terrain.GetPoint(0, 0), 1);
    EXPECT_EQ(terrain.GetPoint(2, 0), 2);
    EXPECT_EQ(terrain.GetPoint(1, 0), 2);  // (1 + 2) / 2 = 1.5, halves to even
    EXPECT_EQ(terrain.GetPoint(3, 0), 4);  // (2 + 7) / 2 = 4.5
    EXPECT_EQ(terrain.GetPoint(0, 1), 2);  // (1 + 4) / 2 = 2.5
    EXPECT_EQ(terrain.GetPoint(1, 1), 4);  // diagonal only: (1 + 8) / 2 = 4.5
    EXPECT_EQ(terrain.GetPoint(3, 3), 6);  // (8 + 5) / 2 = 6.5
}

TEST_F(ResizeTest, DoublingKeepsHeaderAndLeavesNoScratchTerrain)
{
    fill(129, [](int, int) { return 5; });
    terrain.setBaseHeight(12);
    terrain.setHeightScale(77);
    terrain.setScaleT(25.0f);
    terrain.setCRAD(1234.0f);
    terrain.setCRVM(1);
    ResizeTerrain(terrain, KVTools2::ResizeMean, 0);
    EXPECT_EQ(terrain.Size(), 256);
    EXPECT_EQ(terrain.BaseHeight(), 12);
    EXPECT_EQ(terrain.HeightScale(), 77);
    EXPECT_FLOAT_EQ(terrain.ScaleT(), 25.0f);
    EXPECT_FLOAT_EQ(terrain.CRAD(), 1234.0f);
    EXPECT_EQ(terrain.CRVM(), 1);
    EXPECT_EQ(GeneratedTerrain, nullptr);
    EXPECT_FALSE(rt::BusyFlag);
    EXPECT_EQ(terrain.pProgress, 100);
    EXPECT_EQ(terrain.min(), 5);
    EXPECT_EQ(terrain.max(), 5);
}

TEST_F(ResizeTest, RandomStepModeStaysBetweenAPointAndItsNeighbour)
{
    terrain.Init(3);
    terrain.SetPoint(0, 0, 0);
    terrain.SetPoint(1, 0, 1000);
    ResizeTerrain(terrain, KVTools2::ResizeRandomStep, 10);
    EXPECT_EQ(terrain.GetPoint(0, 0), 0);
    // 0 + 1000 / (2 + d) with 0 <= d < 0.1 * f
    EXPECT_GE(terrain.GetPoint(1, 0), 470);
    EXPECT_LE(terrain.GetPoint(1, 0), 500);
}

TEST_F(ResizeTest, UnknownModeLeavesTheDoubledGridFlat)
{
    fill(5, [](int x, int y) { return 100 + x + y; });
    ResizeTerrain(terrain, 7);
    EXPECT_EQ(terrain.Size(), 8);
    EXPECT_EQ(terrain.Range(), 0);
    EXPECT_EQ(terrain.GetPoint(3, 3), 0);
}

TEST_F(ResizeTest, HalvingAveragesTwoByTwoBlocksHalvesToEven)
{
    terrain.Init(5);  // Size 4 -> 3 points
    // Blocks (x0, y0) of the 2 x 2 means: sums 6 (1.5), 10 (2.5), 5 (1.25), 7 (1.75)
    const int h[5][5] = {{1, 2, 2, 3, 9}, {1, 2, 2, 3, 9}, {1, 1, 2, 2, 9}, {1, 2, 1, 2, 9}, {9, 9, 9, 9, 9}};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) terrain.SetPoint(x, y, h[y][x]);
    ResizeTerrainAlt(terrain);
    ASSERT_EQ(terrain.XPoints(), 3);
    EXPECT_EQ(terrain.GetPoint(0, 0), 2);  // 1 + 2 + 2 + 1 = 6 -> 1.5 -> 2
    EXPECT_EQ(terrain.GetPoint(1, 0), 2);  // 2 + 3 + 3 + 2 = 10 -> 2.5 -> 2
    EXPECT_EQ(terrain.GetPoint(0, 1), 1);  // 1 + 1 + 2 + 1 = 5 -> 1.25
    EXPECT_EQ(terrain.GetPoint(1, 1), 2);  // 2 + 2 + 2 + 1 = 7 -> 1.75
    EXPECT_EQ(terrain.GetPoint(2, 2), 9);
    EXPECT_EQ(GeneratedTerrain, nullptr);
}

TEST_F(ResizeTest, HalvingAConstantTerrainKeepsItsHeightAndIgnoresTheSpareRows)
{
    fill(257, [](int x, int y) { return x > 256 || y > 256 ? 30000 : 100; });
    ResizeTerrainAlt(terrain);
    ASSERT_EQ(terrain.XPoints(), 129);
    EXPECT_EQ(terrain.Range(), 0);
    EXPECT_EQ(terrain.GetPoint(128, 128), 100);
    EXPECT_EQ(terrain.GetPoint(130, 130), 100);  // the new spare rows too
    EXPECT_EQ(terrain.GetPoint(128, 0), 100);
}

TEST_F(ResizeTest, HalvingThenDoublingInRepeatModeRestoresTheGridSize)
{
    fill(257, [](int x, int) { return x; });
    ResizeTerrainAlt(terrain);
    ResizeTerrain(terrain, KVTools2::ResizeRepeat);
    EXPECT_EQ(terrain.XPoints(), 257);
    EXPECT_EQ(terrain.GetPoint(0, 0), 0);    // (0 + 0 + 1 + 1) / 4 = 0.5 -> 0
    EXPECT_EQ(terrain.GetPoint(5, 9), 4);    // block 2 of x: (4 + 4 + 5 + 5) / 4 = 4.5 -> 4
}

TEST_F(ResizeTest, OtherTerrainsAreLeftAloneAndProgressGoesToTheResizedOne)
{
    clsTerrain preview, current;
    preview.Init(5);
    GeneratedTerrain = &preview;
    CurrentTerrain = &current;
    bool generatedKept = true;
    scriptedUi().onPumpAsked = [&] { generatedKept = generatedKept && GeneratedTerrain == &preview; };
    fill(9, [](int, int) { return 1; });
    ResizeTerrainAlt(terrain);
    ResizeTerrain(terrain, KVTools2::ResizeRepeat);
    scriptedUi().onPumpAsked = nullptr;
    EXPECT_TRUE(generatedKept);
    EXPECT_EQ(preview.XPoints(), 5);
    EXPECT_EQ(terrain.pProgress, 100);
    EXPECT_EQ(current.pProgress, 0);
    GeneratedTerrain = nullptr;
}
