#include "terrain/KVTools2Scale.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/clsTerrain.h"

#include "runtime/Numbers.h"
#include "runtime/Ui.h"
#include "tests/support/ScriptedUi.h"

#include <gtest/gtest.h>

namespace {

// A 257-point terrain at height 0 with the default header (TU -10..20).
class Rescale : public testing::Test {
protected:
    void SetUp() override { t.Fill(0); }
    clsTerrain t;
};

} // namespace

TEST_F(Rescale, HeightsZeroToHundredSpreadOverTheFullRange)
{
    t.SetPoint(10, 10, 100);
    t.SetPoint(20, 20, 50);
    t.SetPoint(257, 5, 100);  // column Size+1 is rescaled too
    t.SetPoint(258, 5, 100);  // column Size+2 is not
    EXPECT_EQ(t.ScaleTerrain(), 2 * 32443);
    EXPECT_EQ(t.min(), -32443);
    EXPECT_EQ(t.max(), 32443);
    EXPECT_EQ(t.GetPoint(0, 0), -32443);
    EXPECT_EQ(t.GetPoint(10, 10), 32443);
    EXPECT_EQ(t.GetPoint(20, 20), 0);
    EXPECT_EQ(t.GetPoint(257, 5), 32443);
    EXPECT_EQ(t.GetPoint(258, 5), 100);
}

TEST_F(Rescale, InOrderRangeComesOutAsTheTwoWritesGiveIt)
{
    // TU of raw 0..100 under HeightScale 30, BaseHeight 5: 5..5.05, both
    // round to 5; MinTU = 5 then MaxTU = 6 on -10..20 give HeightScale 2 and
    // BaseHeight 5 (the MinTU read in between rounds 4.5 to 4).
    t.SetPoint(10, 10, 100);
    t.ScaleTerrain();
    EXPECT_EQ(t.HeightScale(), 2);
    EXPECT_EQ(t.BaseHeight(), 5);
    EXPECT_EQ(t.MinTU(), 4);
    EXPECT_EQ(t.MaxTU(), 6);
}

TEST_F(Rescale, NewRangeAboveTheOldTopIsNotClampedByIt)
{
    // Raw 40000..100000 under -10..20 lie at 23.3..50.8 TU, wholly above the
    // old top 20. Writing MinTU first would clamp it to 19 and end at 20..51.
    t.Fill(40000);
    t.SetPoint(5, 5, 100000);
    t.ScaleTerrain();
    EXPECT_NEAR(t.MinTU(), 23, 1);
    EXPECT_NEAR(t.MaxTU(), 51, 1);
    EXPECT_GT(t.MinTU(), 20);
    EXPECT_EQ(t.min(), -32767);
    EXPECT_EQ(t.max(), 32767);
}

TEST_F(Rescale, NewRangeBelowTheOldBottomKeepsBothEnds)
{
    t.Fill(-100000);
    t.SetPoint(5, 5, -40000);  // -40.8..-13.3 TU, wholly below -10
    t.ScaleTerrain();
    EXPECT_NEAR(t.MinTU(), -41, 1);
    EXPECT_NEAR(t.MaxTU(), -13, 1);
}

TEST_F(Rescale, SetTuRangeAboveTheOldTop)
{
    t.setMinTU(-10);
    t.setMaxTU(30);
    setTURange(t, 100, 140);
    EXPECT_EQ(t.MinTU(), 100);
    EXPECT_EQ(t.MaxTU(), 140);
    setTURange(t, -200, -160);
    EXPECT_EQ(t.MinTU(), -200);
    EXPECT_EQ(t.MaxTU(), -160);
    setTURange(t, 7, 7);  // an empty range still keeps one unit
    EXPECT_EQ(t.HeightScale(), 1);
}

TEST_F(Rescale, FlatTerrainIsLeftAlone)
{
    t.Fill(123);
    EXPECT_EQ(t.ScaleTerrain(), 0);
    EXPECT_EQ(t.GetPoint(100, 100), 123);
    EXPECT_EQ(t.MinTU(), -10);
    EXPECT_EQ(t.MaxTU(), 20);
}

TEST_F(Rescale, FullSixteenBitRangeIsLeftAlone)
{
    t.SetPoint(0, 0, -32767);
    t.SetPoint(5, 5, 32767);
    t.SetPoint(6, 6, 1234);
    EXPECT_EQ(t.ScaleTerrain(), 65534);
    EXPECT_EQ(t.GetPoint(6, 6), 1234);
    EXPECT_EQ(t.HeightScale(), 30);
    EXPECT_EQ(t.BaseHeight(), 5);
}

TEST_F(Rescale, RescaledSpareHeightsSaturateInsteadOfWrapping)
{
    t.SetPoint(10, 10, 100);
    t.SetPoint(257, 0, INT32_MAX);  // not scanned, but rescaled
    t.ScaleTerrain();
    EXPECT_EQ(t.GetPoint(257, 0), INT32_MAX);
}

TEST_F(Rescale, WideRangeIsComputedWithoutOverflow)
{
    t.SetPoint(0, 0, INT32_MIN);
    t.SetPoint(1, 0, INT32_MAX);
    t.ScaleTerrain();
    EXPECT_EQ(t.GetPoint(0, 0), -32767);
    EXPECT_EQ(t.GetPoint(1, 0), 32767);
    EXPECT_EQ(t.GetPoint(2, 0), 0);
}

TEST_F(Rescale, FixHeightKeepsPinnedPointsWhenNothingIsSqueezed)
{
    t.setFixHeight(true);
    t.SetPoint(1, 1, 1000);
    t.SetPoint(1, 2, -1000);
    t.SetPoint(9, 9, 100);
    t.ScaleTerrain();
    EXPECT_EQ(t.GetPoint(1, 1), 1000);
    EXPECT_EQ(t.GetPoint(1, 2), -1000);
    EXPECT_EQ(t.GetPoint(9, 9), 100);
    EXPECT_EQ(t.MinTU(), -10);
    EXPECT_EQ(t.MaxTU(), 20);
}

TEST_F(Rescale, FixHeightSqueezesAndRescalesThePinnedPointsLikeTheRest)
{
    t.setFixHeight(true);
    t.SetPoint(1, 1, 1000);
    t.SetPoint(1, 2, -1000);
    t.SetPoint(9, 9, 40000);
    // Pins -32767 and 32767 plus the 40000: r = 72767, centre 3616.5.
    const double factor = 65535.0 / 72768.0;
    const double centre = 40000 - 72767 / 2.0;
    t.ScaleTerrain();
    EXPECT_LE(t.max(), 32767);
    EXPECT_EQ(t.GetPoint(9, 9), rt::CLng(factor * (40000 - centre)));
    EXPECT_EQ(t.GetPoint(1, 1), rt::CLng(factor * (1000 - centre)));
    EXPECT_EQ(t.GetPoint(1, 2), rt::CLng(factor * (-1000 - centre)));
    EXPECT_EQ(t.GetPoint(0, 0), rt::CLng(factor * (0 - centre)));
    EXPECT_EQ(t.MinTU(), -10);
    EXPECT_EQ(t.MaxTU(), 20);
}

TEST_F(Rescale, FixHeightSqueezesAnOutlierUnderAPin)
{
    t.setFixHeight(true);
    t.SetPoint(1, 1, 40000);
    t.ScaleTerrain();
    EXPECT_LE(t.GetPoint(1, 1), 32767);
    EXPECT_LE(t.max(), 32767);
}

TEST(RunScaleTerrain, ShowsStatusSetsBusyAndProgressAndRedraws)
{
    clsTerrain current, other;
    clsTerrain* saved = CurrentTerrain;
    CurrentTerrain = &current;
    other.Fill(0);
    other.SetPoint(3, 3, 100);
    RunScaleTerrain(other);
    EXPECT_FALSE(rt::BusyFlag);
    EXPECT_EQ(current.pProgress, 100);
    EXPECT_EQ(other.max(), 32443);
    EXPECT_TRUE(scriptedUi().statusTexts.contains(QStringLiteral("Scale Terrain...")));
    EXPECT_EQ(scriptedUi().refreshCount, 1);
    CurrentTerrain = saved;
}
