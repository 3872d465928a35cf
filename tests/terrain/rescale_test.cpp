#include "terrain/KVTools2Scale.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/clsTerrain.h"

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

TEST_F(Rescale, HeightsZeroToHundredFillTheRawRangeAndKeepTheirTerrainUnits)
{
    // r = 100: factor 65535 / 101 = 648.861 round the centre 50, so 100
    // becomes 32443.07 -> 32443, 0 becomes -32443 and 50 becomes 0. Under
    // HeightScale 30, BaseHeight 5 raw 100 lay at 5 + 3000 / 65536 =
    // 5.0457763671875 TU and stays there within 0.07 of a new raw step.
    t.SetPoint(10, 10, 100);
    t.SetPoint(20, 20, 50);
    t.SetPoint(257, 5, 100000);  // column Size+1 is rescaled but decides nothing
    t.SetPoint(258, 5, 100);     // column Size+2 is not rescaled
    EXPECT_EQ(t.ScaleTerrain(), 64886);
    EXPECT_EQ(t.GetPoint(0, 0), -32443);
    EXPECT_EQ(t.GetPoint(10, 10), 32443);
    EXPECT_EQ(t.GetPoint(20, 20), 0);
    EXPECT_EQ(t.GetPoint(257, 5), 64853696);  // 648.861 x 99950
    EXPECT_EQ(t.GetPoint(258, 5), 100);
    EXPECT_NEAR(t.GetPointTU(10, 10), 5.0457763671875, 1e-6);
    EXPECT_NEAR(t.GetPointTU(0, 0), 5.0, 1e-6);
    // Whole units only where the panels show them.
    EXPECT_EQ(t.MinTU(), 5);
    EXPECT_EQ(t.MaxTU(), 5);
    // Spread once, the heights span 64886 steps: the next rescale spreads
    // them to +-32767, the one after that finds 65534 and stops.
    t.ScaleTerrain();
    EXPECT_EQ(t.GetPoint(10, 10), 32767);
    const double top = t.GetPointTU(10, 10);
    EXPECT_EQ(t.ScaleTerrain(), 65534);
    EXPECT_EQ(t.GetPointTU(10, 10), top);
    EXPECT_NEAR(top, 5.0457763671875, 1e-6);
}

TEST_F(Rescale, NewRangeAboveTheOldTopIsNotClampedByIt)
{
    // Raw 40000..100000 under -10..20 lie at 23.31..50.78 TU, wholly above the
    // old top 20: the units follow the heights there, within half a new raw
    // step (27.47 / 65536 / 2 TU).
    t.Fill(40000);
    t.SetPoint(5, 5, 100000);
    t.ScaleTerrain();
    EXPECT_EQ(t.MinTU(), 23);
    EXPECT_EQ(t.MaxTU(), 51);
    EXPECT_NEAR(t.GetPointTU(5, 5), 50.7763671875, 2.1e-4);
    EXPECT_NEAR(t.GetPointTU(0, 0), 23.310546875, 2.1e-4);
}

TEST_F(Rescale, NewRangeBelowTheOldBottomKeepsBothEnds)
{
    t.Fill(-100000);
    t.SetPoint(5, 5, -40000);  // -40.8..-13.3 TU, wholly below -10
    t.ScaleTerrain();
    EXPECT_EQ(t.MinTU(), -41);
    EXPECT_EQ(t.MaxTU(), -13);
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

TEST_F(Rescale, HeightsSpanningAllThirtyTwoBitsStillKeepTheirUnits)
{
    // -2^31 and 2^31 - 1 span 2^32 - 1 steps: factor 65535 / 2^32 round the
    // centre -0.5 puts them on -+32767.49999 -> -+32767, and 0 on 0.0000076
    // -> 0, which stays 5 TU. A new raw step is 30 x 2^32 / 65535 / 65536 =
    // 30.0005 TU: 2^31 - 1 at 983045.0 TU stays within half of one.
    t.SetPoint(0, 0, INT32_MIN);
    t.SetPoint(1, 0, INT32_MAX);
    t.ScaleTerrain();
    EXPECT_EQ(t.GetPoint(0, 0), -32767);
    EXPECT_EQ(t.GetPoint(1, 0), 32767);
    EXPECT_NEAR(t.GetPointTU(2, 0), 5.0, 1e-3);
    EXPECT_NEAR(t.GetPointTU(1, 0), 983045.0, 15.1);
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
    // Pins -32767 and 32767 plus the 40000: r = 72767, centre 3616.5, each
    // point becomes (h - 3616.5) x 65535 / 72768: 40000 -> 32767.05,
    // 1000 -> -2356.42, -1000 -> -4157.63, 0 -> -3257.03.
    t.ScaleTerrain();
    EXPECT_EQ(t.GetPoint(9, 9), 32767);
    EXPECT_EQ(t.GetPoint(1, 1), -2356);
    EXPECT_EQ(t.GetPoint(1, 2), -4158);
    EXPECT_EQ(t.GetPoint(0, 0), -3257);
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
    current.pProgress = 37;
    other.Fill(0);
    other.SetPoint(3, 3, 100);
    RunScaleTerrain(other);
    EXPECT_FALSE(rt::BusyFlag);
    // Progress goes to the terrain scaled, not to the current one.
    EXPECT_EQ(other.pProgress, 100);
    EXPECT_EQ(current.pProgress, 37);
    EXPECT_EQ(other.max(), 32443);
    EXPECT_TRUE(scriptedUi().statusTexts.contains(QStringLiteral("Scale Terrain...")));
    EXPECT_EQ(scriptedUi().refreshCount, 1);
    CurrentTerrain = saved;
}
