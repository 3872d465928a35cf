#include "terrain/clsTerrain.h"

#include "runtime/Rnd.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

// Points whose height equals v, as (x, y) pairs.
std::set<std::pair<int, int>> pointsAt(const clsTerrain& t, int32_t v)
{
    std::set<std::pair<int, int>> s;
    for (int y = 0; y < t.allocatedSide(); ++y)
        for (int x = 0; x < t.allocatedSide(); ++x)
            if (t.row(y)[x] == v) s.insert({x, y});
    return s;
}

} // namespace

TEST(TerrainDefaults, NewTerrainHasTheTerHeaderDefaults)
{
    clsTerrain t;
    EXPECT_EQ(t.Size(), 256);
    EXPECT_EQ(t.XPoints(), 257);
    EXPECT_EQ(t.YPoints(), 257);
    EXPECT_EQ(t.allocatedSide(), 259);
    EXPECT_FLOAT_EQ(t.ScaleT(), 30.0f);
    EXPECT_FLOAT_EQ(t.CRAD(), 6370.0f);
    EXPECT_EQ(t.CRVM(), 0);
    EXPECT_EQ(t.HeightScale(), 30);
    EXPECT_EQ(t.BaseHeight(), 5);
    EXPECT_FALSE(t.FixHeight());
    EXPECT_EQ(t.pProgress, 0);
    EXPECT_EQ(QByteArray(t.header().Magic, 20), QByteArray("TERRAGENTERRAIN SIZE"));
    EXPECT_EQ(t.min(), 400000);
    EXPECT_EQ(t.max(), -400000);
}

TEST(TerrainGrid, InitSetsSizeAndAllocatesTwoSpareRows)
{
    clsTerrain t;
    t.Init(1025);
    EXPECT_EQ(t.Size(), 1024);
    EXPECT_EQ(t.XPoints(), 1025);
    EXPECT_EQ(t.YPoints(), 1025);
    EXPECT_EQ(t.allocatedSide(), 1027);
}

TEST(TerrainGrid, SizeWriteChangesPointsButNotTheGrid)
{
    clsTerrain t;
    t.setSize(512);
    EXPECT_EQ(t.XPoints(), 513);
    EXPECT_EQ(t.YPoints(), 513);
    EXPECT_EQ(t.allocatedSide(), 259);
    t.setXPoints(100);
    EXPECT_EQ(t.Size(), 99);
    EXPECT_EQ(t.YPoints(), 100);
}

TEST(TerrainGrid, SetPointAcceptsSpareRowsAndIgnoresOutside)
{
    clsTerrain t;
    t.SetPoint(258, 0, 77);
    EXPECT_EQ(t.row(0)[258], 77);
    EXPECT_EQ(t.max(), 77);
    EXPECT_EQ(t.min(), 77);
    t.SetPoint(259, 0, 99);
    t.SetPoint(-1, 0, 99);
    t.SetPoint(0, 259, 99);
    EXPECT_TRUE(pointsAt(t, 99).empty());
    EXPECT_EQ(t.max(), 77);
}

TEST(TerrainGrid, SetPointAfterSizeWriteStaysInsideTheAllocation)
{
    clsTerrain t;
    t.setSize(512);
    t.SetPoint(300, 300, 5);   // within Size+2 but not allocated
    t.SetPoint(258, 258, 6);   // last allocated point
    EXPECT_EQ(t.row(258)[258], 6);
    EXPECT_TRUE(pointsAt(t, 5).empty());
    EXPECT_EQ(t.GetPoint(400, 400), 6);
}

TEST(TerrainGrid, GetPointClampsAndNarrowsY)
{
    clsTerrain t;
    t.SetPoint(0, 258, 11);
    t.SetPoint(258, 0, 12);
    EXPECT_EQ(t.GetPoint(-5, 300), 11);
    EXPECT_EQ(t(-5, 300), 11);
    EXPECT_EQ(t.GetPoint(100000, -100000), 12);
    EXPECT_EQ(t.GetPointH(-5, 300), 11 + 32768);
}

TEST(TerrainGrid, IncrPointAddsAndWidensCache)
{
    clsTerrain t;
    t.SetPoint(3, 4, 100);
    t.IncrPoint(3, 4, 5);
    EXPECT_EQ(t.GetPoint(3, 4), 105);
    EXPECT_GE(t.max(), 105);
    t.IncrPoint(-1, 4, 5);
    t.IncrPoint(3, 4, INT32_MAX);
    EXPECT_EQ(t.GetPoint(3, 4), INT32_MAX);  // saturates instead of wrapping
}

TEST(TerrainGrid, FillThenLowerPointGivesRangeOne)
{
    clsTerrain t;
    t.Fill(-32767);
    t.SetPoint(0, 0, -32768);
    EXPECT_EQ(t.min(), -32768);
    EXPECT_EQ(t.max(), -32767);
    EXPECT_EQ(t.Range(), 1);
    EXPECT_EQ(t.row(258)[258], -32767);  // spare rows filled too
}

TEST(TerrainGrid, RangeIgnoresSpareRowsAndSaturates)
{
    clsTerrain t;
    t.SetPoint(257, 257, 1000);
    EXPECT_EQ(t.Range(), 0);
    EXPECT_EQ(t.max(), 0);
    t.SetPoint(0, 0, INT32_MIN);
    t.SetPoint(1, 0, INT32_MAX);
    EXPECT_EQ(t.Range(), INT32_MAX);
}

TEST(TerrainGrid, SwapExchangesEverything)
{
    clsTerrain a, b;
    b.Init(129);
    b.SetPoint(1, 1, 42);
    b.setHeightScale(99);
    a.swap(b);
    EXPECT_EQ(a.Size(), 128);
    EXPECT_EQ(a.GetPoint(1, 1), 42);
    EXPECT_EQ(a.HeightScale(), 99);
    EXPECT_EQ(b.Size(), 256);
    EXPECT_EQ(b.allocatedSide(), 259);
}

TEST(TerrainUnits, TuEndsFollowTheHeader)
{
    clsTerrain t;  // HeightScale 30, BaseHeight 5
    EXPECT_EQ(t.MinTU(), -10);
    EXPECT_EQ(t.MaxTU(), 20);
    t.setMinTU(-10);
    t.setMaxTU(30);
    EXPECT_EQ(t.HeightScale(), 40);
    EXPECT_EQ(t.BaseHeight(), 10);
    t.setMaxTU(31);
    EXPECT_EQ(t.BaseHeight(), 10.5);  // an odd span: both ends land as written
    EXPECT_EQ(t.MaxTU(), 31);
    // An end written keeps the other one as the header holds it, not as shown.
    t.setHeightScale(0.819);
    t.setBaseHeight(-0.1545);  // -0.564 .. 0.255
    t.setMaxTU(2);
    EXPECT_DOUBLE_EQ(t.HeightScale(), 2.564);
    EXPECT_DOUBLE_EQ(t.BaseHeight(), 0.718);
}

TEST(TerrainUnits, CrossingOrMeetingTheOtherEndKeepsOneStep)
{
    clsTerrain t;
    t.setMinTU(-10);
    t.setMaxTU(30);
    t.setMaxTU(-10);  // equal to MinTU
    EXPECT_EQ(t.HeightScale(), 1);
    t.setMinTU(-10);
    t.setMaxTU(30);
    t.setMinTU(30);  // equal to MaxTU
    EXPECT_EQ(t.HeightScale(), 1);
    t.setMinTU(-10);
    t.setMaxTU(-50);  // crossing
    EXPECT_EQ(t.HeightScale(), 1);
}

TEST(TerrainUnits, HeightScaleSaturatesAtSixteenBits)
{
    clsTerrain t;
    t.setMinTU(-20000);
    t.setMaxTU(20000);
    EXPECT_EQ(t.HeightScale(), 32767);
    t.setMinTU(INT16_MIN);
    t.setMaxTU(INT16_MIN);
    EXPECT_GE(t.HeightScale(), 1);
}

TEST(TerrainUnits, ConversionsBetweenRawTuAndMetres)
{
    clsTerrain t;
    t.setHeightScale(40);
    t.setBaseHeight(10);
    t.setScaleT(30.0f);
    EXPECT_FLOAT_EQ(t.GetPointTUZ(32768), 30.0f);
    EXPECT_FLOAT_EQ(t.GetPointTUZ(-32768), -10.0f);
    EXPECT_FLOAT_EQ(t.GetV2Meter(0.0f), 300.0f);
    EXPECT_FLOAT_EQ(t.getPixel2Meters(65536.0f), 1200.0f);
    EXPECT_FLOAT_EQ(t.getMeter2Pixel(1200.0f), 65536.0f);
    EXPECT_EQ(t.GetMeter2Int(300.0f), 0);
    EXPECT_EQ(t.GetMeter2Int(900.0f), 32768);
    t.SetPoint(2, 3, 16384);
    EXPECT_FLOAT_EQ(t.GetPointTU(2, 3), 20.0f);
    EXPECT_FLOAT_EQ(t.GetPointMeters(2, 3), 600.0f);
    // A product beyond 32 bits is still exact.
    EXPECT_FLOAT_EQ(t.GetPointTUZ(100000000), float(100000000.0 * 40 / 65536 + 10));
}

TEST(TerrainUnits, ZeroHeightScaleGivesZeroInsteadOfDividing)
{
    clsTerrain t;
    t.setHeightScale(0);
    EXPECT_EQ(t.getMeter2Pixel(100.0f), 0.0f);
    EXPECT_EQ(t.GetMeter2Int(100.0f), 0);
}

TEST(TerrainUnits, UncheckedReadersClampOutsideIndices)
{
    clsTerrain t;
    t.SetPoint(258, 258, 65536);
    EXPECT_FLOAT_EQ(t.GetPointTU(5000, 5000), 35.0f);
    EXPECT_FLOAT_EQ(t.GetPointMeters(-1, -1), 5.0f * 30.0f);
}

TEST(TerrainPens, CircleRadiusZeroSetsOnePoint)
{
    clsTerrain t;
    t.GetCircle(10, 10, 0, 7);
    EXPECT_EQ(pointsAt(t, 7), (std::set<std::pair<int, int>>{{10, 10}}));
}

TEST(TerrainPens, CircleRadiusOneSetsAPlusSign)
{
    clsTerrain t;
    t.GetCircle(10, 10, 1, 7);
    EXPECT_EQ(pointsAt(t, 7), (std::set<std::pair<int, int>>{{10, 10}, {9, 10}, {11, 10}, {10, 9}, {10, 11}}));
    t.GetCircle(10, 10, -1, 8);
    EXPECT_TRUE(pointsAt(t, 8).empty());
}

TEST(TerrainPens, CircleRunsOffTheGridFreely)
{
    clsTerrain t;
    t.GetCircle(0, 0, 2, 7);  // half-chords: dx 0 -> 2, dx 1 -> round(1.73) = 2, dx 2 -> 0
    EXPECT_EQ(pointsAt(t, 7),
              (std::set<std::pair<int, int>>{{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}, {2, 0}}));
    t.GetCircle(INT32_MAX, INT32_MIN, 5, 9);
    EXPECT_TRUE(pointsAt(t, 9).empty());
    t.GetCircle(100, 100, INT32_MAX, 9);  // covers the grid without overflowing
    EXPECT_EQ(pointsAt(t, 9).size(), size_t(259 * 259));
}

TEST(TerrainPens, SquareCoversTheSquareClippedToTheGrid)
{
    clsTerrain t;
    t.GetSquare(1, 1, 2, 7);
    EXPECT_EQ(pointsAt(t, 7).size(), size_t(4 * 4));  // x, y = 0..3
    EXPECT_EQ(t.GetPoint(3, 3), 7);
    EXPECT_EQ(t.GetPoint(4, 3), 0);
    t.GetSquare(5, 5, -1, 8);
    EXPECT_TRUE(pointsAt(t, 8).empty());
}

TEST(TerrainPens, NoiseLandsInTheSquareAndRepeatsWithTheSeed)
{
    clsTerrain a, b;
    rt::Randomize(42.0);
    a.GetNoise(100, 50, 6, 7);
    const auto hit = pointsAt(a, 7);
    ASSERT_FALSE(hit.empty());
    EXPECT_LE(hit.size(), size_t(6));
    for (const auto& [x, y] : hit) {
        EXPECT_GE(x, 94);
        EXPECT_LE(x, 106);
        EXPECT_GE(y, 44);
        EXPECT_LE(y, 56);
    }
    rt::Randomize(42.0);
    b.GetNoise(100, 50, 6, 7);
    EXPECT_EQ(pointsAt(b, 7), hit);
    b.GetNoise(100, 50, 0, 8);
    EXPECT_TRUE(pointsAt(b, 8).empty());
}

TEST(TerrainReflect, HorizontalMirrorsRowsVerticalMirrorsColumns)
{
    clsTerrain t;
    t.Init(5);
    for (int y = 0; y <= 4; ++y)
        for (int x = 0; x <= 4; ++x) t.SetPoint(x, y, 10 * y + x);
    t.GetReflectHor(1, 1, 3, 4);
    EXPECT_EQ(t.GetPoint(1, 1), 41);
    EXPECT_EQ(t.GetPoint(3, 4), 13);
    EXPECT_EQ(t.GetPoint(2, 2), 32);
    EXPECT_EQ(t.GetPoint(0, 1), 10);  // outside the rectangle
    t.GetReflectVer(0, 0, 4, 0);
    EXPECT_EQ(t.GetPoint(0, 0), 4);
    EXPECT_EQ(t.GetPoint(4, 0), 0);
}

TEST(TerrainReflect, RectanglesOutsideTheGridAreRefused)
{
    clsTerrain t;
    t.Init(5);
    t.SetPoint(0, 0, 1);
    t.GetReflectHor(0, 0, 0, 7);   // y2 beyond Size+2
    t.GetReflectVer(-1, 0, 4, 0);  // x1 negative
    t.GetReflectVer(4, 0, 0, 0);   // not ordered
    EXPECT_EQ(t.GetPoint(0, 0), 1);
}

TEST(TerrainArray, GetTerrainCopiesTheTerrainIntoALargerZeroedArray)
{
    clsTerrain t;
    t.Init(5);
    t.SetPoint(4, 4, 9);
    t.SetPoint(5, 5, 8);  // spare: not copied
    HeightArray a;
    t.GetTerrain(a);
    EXPECT_EQ(a.width(), 4 + 11);
    EXPECT_EQ(a(4, 4), 9);
    EXPECT_EQ(a(5, 5), 0);
    clsTerrain u;
    u.Init(5);
    u.SetTerrain(a);
    EXPECT_EQ(u.GetPoint(4, 4), 9);
    EXPECT_EQ(u.max(), 9);
}

TEST(TerrainArray, GetTerrainAfterSizeWriteCopiesOnlyTheAllocatedGrid)
{
    clsTerrain t;
    t.Init(5);
    t.SetPoint(6, 6, 3);
    t.setSize(100);
    HeightArray a;
    t.GetTerrain(a);
    EXPECT_EQ(a.width(), 111);
    EXPECT_EQ(a(6, 6), 3);
    EXPECT_EQ(a(7, 7), 0);
    // Points beyond the allocation are dropped, the ones inside land.
    a(2, 2) = 11;
    a(50, 50) = 12;
    t.SetTerrain(a);
    EXPECT_EQ(t.allocatedSide(), 7);
    EXPECT_EQ(t.GetPoint(2, 2), 11);
    EXPECT_EQ(t.GetPoint(6, 6), 3);
    EXPECT_EQ(t.GetPoint(50, 50), 3);  // reads the last allocated point, (6, 6)
}
