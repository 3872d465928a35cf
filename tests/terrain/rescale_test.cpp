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

TEST_F(Rescale, HeightsZeroToHundredKeepTheirTerrainUnits)
{
    // Raw 0..100 under HeightScale 30, BaseHeight 5 lie at 5 .. 5.0457763671875
    // TU. Whole units round them: 5..6, an odd span, widened below to 4..6, so
    // HeightScale 2 and BaseHeight 5; a raw step is now 2/65536 TU and raw 100
    // becomes 0.0457763671875 x 32768 = 1500.
    t.SetPoint(10, 10, 100);
    t.SetPoint(20, 20, 50);
    t.SetPoint(257, 5, 100);  // column Size+1 is rescaled too
    t.SetPoint(258, 5, 100);  // column Size+2 is not
    EXPECT_EQ(t.ScaleTerrain(), 1500);
    EXPECT_EQ(t.HeightScale(), 2);
    EXPECT_EQ(t.BaseHeight(), 5);
    EXPECT_EQ(t.GetPoint(0, 0), 0);
    EXPECT_EQ(t.GetPoint(20, 20), 750);
    EXPECT_EQ(t.GetPoint(257, 5), 1500);
    EXPECT_EQ(t.GetPoint(258, 5), 100);
}

TEST_F(Rescale, PointOnAWholeUnitIsNotRoundedBelowItSoASecondRescaleKeepsAll)
{
    // Raw -10000 and 0 under HeightScale 30, BaseHeight 5: 0.42 and exactly 5
    // TU, so the header becomes 0..6 (HeightScale 6, BaseHeight 3). 5 TU is raw
    // 21845.33 there; the nearest raw 21845 lies below 5 TU and would make the
    // next rescale choose -1..5. The point takes 21846 instead.
    t.SetPoint(3, 3, -10000);
    t.ScaleTerrain();
    EXPECT_EQ(t.HeightScale(), 6);
    EXPECT_EQ(t.BaseHeight(), 3);
    EXPECT_EQ(t.GetPoint(0, 0), 21846);
    EXPECT_EQ(t.GetPoint(3, 3), -28155);  // (0.42236328125 - 3) x 65536 / 6
    t.ScaleTerrain();
    EXPECT_EQ(t.HeightScale(), 6);
    EXPECT_EQ(t.GetPoint(0, 0), 21846);
}

TEST_F(Rescale, NewRangeAboveTheOldTopIsNotClampedByIt)
{
    // Raw 40000..100000 under -10..20 lie at 23.31..50.78 TU, wholly above the
    // old top 20: the new header is 23..51 (HeightScale 28, BaseHeight 37).
    t.Fill(40000);
    t.SetPoint(5, 5, 100000);
    t.ScaleTerrain();
    EXPECT_EQ(t.MinTU(), 23);
    EXPECT_EQ(t.MaxTU(), 51);
    EXPECT_NEAR(t.GetPointTU(5, 5), 50.7763671875, 28.0 / 65536);
    EXPECT_NEAR(t.GetPointTU(0, 0), 23.310546875, 28.0 / 65536);
}

TEST_F(Rescale, NewRangeBelowTheOldBottomKeepsBothEnds)
{
    t.Fill(-100000);
    t.SetPoint(5, 5, -40000);  // -40.8..-13.3 TU, wholly below -10
    t.ScaleTerrain();
    EXPECT_EQ(t.MinTU(), -41);
    EXPECT_EQ(t.MaxTU(), -13);
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

TEST_F(Rescale, SpareHeightsBeyondTheHeaderAreHeldToSixteenBits)
{
    t.SetPoint(10, 10, 100);
    t.SetPoint(257, 0, INT32_MAX);  // not scanned, but rescaled
    t.ScaleTerrain();
    EXPECT_EQ(t.GetPoint(257, 0), 32767);
}

TEST_F(Rescale, HeightsBeyondSixteenBitUnitsAreCutAtTheWidestHeader)
{
    // +-2^31 raw under HeightScale 30 are about +-983040 TU: the header stops
    // at the widest, 32766 units round their middle, and 5 TU stays 5 TU.
    t.SetPoint(0, 0, INT32_MIN);
    t.SetPoint(1, 0, INT32_MAX);
    t.ScaleTerrain();
    EXPECT_EQ(t.HeightScale(), 32766);
    EXPECT_EQ(t.GetPoint(0, 0), -32767);
    EXPECT_EQ(t.GetPoint(1, 0), 32767);
    EXPECT_NEAR(t.GetPointTU(2, 0), 5.0, 32766.0 / 65536);
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
    EXPECT_EQ(other.max(), 1500);
    EXPECT_TRUE(scriptedUi().statusTexts.contains(QStringLiteral("Scale Terrain...")));
    EXPECT_EQ(scriptedUi().refreshCount, 1);
    CurrentTerrain = saved;
}
