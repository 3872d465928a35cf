// Droplet erosion: the walk, the dig, seeded drops on small terrains, and the
// erosion settings files.

#include "generate/KVErosion.h"
#include "runtime/Ini.h"
#include "runtime/Rnd.h"
#include "runtime/Ui.h"
#include "terrain/clsTerrain.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/NotAFile.h"
#include "tests/support/ScriptedUi.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace {

using KVErosion::ErosionSettings;

clsTerrain flat(int32_t n, int32_t h)
{
    clsTerrain t;
    t.Init(n);
    t.Fill(h);
    return t;
}

// A bowl: height grows with the distance from the middle, so drops run inwards.
clsTerrain bowl(int32_t n)
{
    clsTerrain t;
    t.Init(n);
    const double c = (n - 1) / 2.0;
    for (int32_t y = 0; y < n; ++y)
        for (int32_t x = 0; x < n; ++x)
            t.SetPoint(x, y, int32_t(std::lround(((x - c) * (x - c) + (y - c) * (y - c)) * 40.0)) - 30000);
    return t;
}

// --- the walk --------------------------------------------------------------------

TEST(DropWalk, GoesToTheLowestDiagonalNeighbour)
{
    clsTerrain t = flat(5, 100);
    t.SetPoint(1, 3, 40);
    t.SetPoint(3, 1, 20);
    t.SetPoint(2, 1, -500);  // a side neighbour is never taken
    int32_t x = 2, y = 2;
    EXPECT_EQ(KVErosion::FindLowestNeighbour(t, x, y), 20);
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 1);
}

TEST(DropWalk, EqualNeighboursGoToTheSmallerXThenTheSmallerY)
{
    clsTerrain t = flat(5, 100);
    t.SetPoint(3, 1, 10);
    t.SetPoint(1, 3, 10);
    t.SetPoint(3, 3, 10);
    int32_t x = 2, y = 2;
    KVErosion::FindLowestNeighbour(t, x, y);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 3);
}

TEST(DropWalk, PitOrPlateauStaysPut)
{
    clsTerrain t = flat(5, 100);
    int32_t x = 2, y = 2;
    EXPECT_EQ(KVErosion::FindLowestNeighbour(t, x, y), 100);
    EXPECT_EQ(x, 2);
    EXPECT_EQ(y, 2);
}

// --- the dig ---------------------------------------------------------------------

TEST(DropDig, PeakOfTheHollowIs036TimesTheAmountInTheMiddle)
{
    clsTerrain t = flat(9, 0);
    KVErosion::DigGaussBrush(t, 4, 4, 4, 1000.0);  // square 2..6, middle 4
    EXPECT_EQ(t.GetPoint(4, 4), -360);
    EXPECT_EQ(t.GetPoint(1, 4), 0);
    EXPECT_EQ(t.GetPoint(7, 4), 0);
    EXPECT_EQ(t.GetPoint(2, 4), t.GetPoint(6, 4));
}

TEST(DropDig, LandslideOneDigsAlmostNothing)
{
    clsTerrain t = flat(5, 0);
    KVErosion::DigGaussBrush(t, 2, 2, 1, 10000.0);
    for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(t.GetPoint(x, y), 0);
}

TEST(DropDig, HugeAmountSaturatesInsteadOfWrapping)
{
    clsTerrain t = flat(9, -2000000000);
    KVErosion::DigGaussBrush(t, 4, 4, 4, 1e12);
    EXPECT_EQ(t.GetPoint(4, 4), INT32_MIN);
}

TEST(DropDig, DigsTheSpareColumnsToo)
{
    clsTerrain t = flat(7, 0);  // points 0..6, spare 7 and 8
    KVErosion::DigGaussBrush(t, 7, 7, 8, 1e6);  // square 3..11, middle 7
    EXPECT_EQ(t.row(7)[7], -360000);
    EXPECT_LT(t.row(8)[7], 0);
    EXPECT_EQ(t.GetPoint(2, 7), 0);
}

// --- drops -----------------------------------------------------------------------

// Heights a * x on a 5-point terrain, spare columns included.
clsTerrain ramp(int32_t a)
{
    clsTerrain t;
    t.Init(5);
    for (int32_t y = 0; y < t.allocatedSide(); ++y)
        for (int32_t x = 0; x < t.allocatedSide(); ++x) t.SetPoint(x, y, a * x);
    return t;
}

// Every point of the allocated grid that differs from `before`, as {x, y, height}.
std::vector<std::array<int32_t, 3>> changes(const clsTerrain& t, const clsTerrain& before)
{
    std::vector<std::array<int32_t, 3>> out;
    for (int32_t y = 0; y < t.allocatedSide(); ++y)
        for (int32_t x = 0; x < t.allocatedSide(); ++x)
            if (t.row(y)[x] != before.row(y)[x]) out.push_back({x, y, t.row(y)[x]});
    return out;
}

// One drop, landslide 2 (only the middle of each hollow is deep enough to
// count: 0.36 x 200 = 72 for a fall of 1000 at depth 4).
const ErosionSettings kOneDrop{1, 1, 2, 4};

TEST(Drops, ADropStartingInTheSpareColumnDigsNothing)
{
    // Seed 19 draws 0.7868 and 0.2222: start (5, 3), beyond Size 4, where
    // no height is to be tested against the band.
    clsTerrain t = ramp(1000);
    rt::Randomize(19);
    KVErosion::runDrops(t, kOneDrop, 5, 0, 0, -32768, 32768);
    EXPECT_TRUE(changes(t, ramp(1000)).empty());
    EXPECT_EQ(t.pProgress, 100);
}

TEST(Drops, AStepOntoTheSpareRowEndsTheDropAsTheFirstRowDoes)
{
    // Seed 1 starts the drop at (2, 4) on the last row, at 2000. Its lowest
    // diagonal is (1, 5) in the spare row, far below: it steps there and ends
    // without digging, where it used to turn to (1, 3) and dig 72 at (2, 4).
    clsTerrain t = ramp(1000);
    for (int32_t x = 0; x < t.allocatedSide(); ++x) t.SetPoint(x, 5, -900000);
    const clsTerrain before = t;
    rt::Randomize(1);
    KVErosion::runDrops(t, kOneDrop, 5, 0, 0, -32768, 32768);
    EXPECT_TRUE(changes(t, before).empty());
}

TEST(Drops, ADropEndsOnReachingTheExtentNotTheLastPoint)
{
    // Seed 1 draws 0.0417 and 0.4977: start (2, 4). Equal neighbours: the smaller y wins.
    clsTerrain t = ramp(-1000);
    rt::Randomize(1);
    KVErosion::runDrops(t, kOneDrop, 5, 0, 0, -32768, 32768);
    // (2,4) -> (3,3) -> (4,2) digs on column 4 = Size; (5,1) reaches the extent 5.
    EXPECT_EQ(changes(t, ramp(-1000)),
              (std::vector<std::array<int32_t, 3>>{{3, 3, -3072}, {2, 4, -2072}}));
}

TEST(Drops, SeededDropsAreRepeatable)
{
    const ErosionSettings s{400, 9, 4, 3};
    clsTerrain a = bowl(33), b = bowl(33);
    rt::Randomize(17);
    KVErosion::runDrops(a, s, 33, 0, 0, -32768, 32768);
    rt::Randomize(17);
    KVErosion::runDrops(b, s, 33, 0, 0, -32768, 32768);
    EXPECT_TRUE(changes(a, b).empty());
    EXPECT_FALSE(changes(a, bowl(33)).empty());
}

TEST(Drops, StartsOffTheGridSeeOnlyTheFlatSpareEdgeAndDigNothing)
{
    // Clamped reads give every neighbour of an off-grid start the same height.
    clsTerrain t = bowl(17);
    rt::Randomize(3);
    KVErosion::runDrops(t, ErosionSettings{200, 1, 4, 8}, 5000, 0, 0, -32768, 32768);
    EXPECT_TRUE(changes(t, bowl(17)).empty());
}

TEST(Drops, HeightBandKeepsDropsFromStarting)
{
    clsTerrain t = bowl(33);
    rt::Randomize(5);
    KVErosion::runDrops(t, ErosionSettings{300, 1, 4, 8}, 33, 0, 0, 40000, 50000);
    const clsTerrain before = bowl(33);
    for (int32_t y = 0; y < 33; ++y)
        for (int32_t x = 0; x < 33; ++x) ASSERT_EQ(t.GetPoint(x, y), before.GetPoint(x, y));
}

TEST(ErodeDroplets, CancelledDialogDigsNothingAndEndsAt100)
{
    scriptedUi().expectErosionSettings(std::nullopt);
    clsTerrain t = flat(17, 0);
    t.SetPoint(3, 3, 100);
    float strength = 7;
    ErodeDroplets(t, strength, std::nullopt, 0, 0, -32768, 32768);
    EXPECT_EQ(strength, 0.0f);
    EXPECT_EQ(t.pProgress, 100);
    EXPECT_FALSE(rt::BusyFlag);
    EXPECT_TRUE(scriptedUi().statusTexts.contains(QStringLiteral("Terrain erode ...")));
}

TEST(ErodeDroplets, StrengthBecomesTheDropCount)
{
    scriptedUi().expectErosionSettings(ErosionSettings{1000, 9, 4, 3});
    clsTerrain t = bowl(33);
    rt::Randomize(2);
    float strength = 1;
    ErodeDroplets(t, strength, std::nullopt, 0, 0, -32768, 32768);
    EXPECT_EQ(strength, 1000.0f);
}

TEST(ErodeDroplets, ALowTerrainIsSpreadBeforeTheDropsDig)
{
    // Heights 4..8 (x + 4, spare columns too) spread by 65535 / 5 = 13107
    // round 6: x = 0..4 become -26214, -13107, 0, 13107, 26214. Seed 1
    // starts the one drop at (2, 4); it falls 13107 to (1, 3), digging
    // 0.36 x 4 x 13107 / 20 = 943.7 at (2, 4), then reaches column 0. Unspread,
    // the fall of 1 would dig 0.07, nothing.
    scriptedUi().expectErosionSettings(kOneDrop);
    clsTerrain t;
    t.Init(5);
    for (int32_t y = 0; y < t.allocatedSide(); ++y)
        for (int32_t x = 0; x < t.allocatedSide(); ++x) t.SetPoint(x, y, x + 4);
    rt::Randomize(1);
    float strength = 1;
    ErodeDroplets(t, strength, 5, 0, 0, -32768, 32768);
    EXPECT_EQ(t.GetPoint(2, 4), -944);
    EXPECT_EQ(t.GetPoint(2, 3), 0);
    EXPECT_EQ(t.GetPoint(1, 3), -13107);
    EXPECT_EQ(t.GetPoint(3, 3), 13107);
}

// --- settings files --------------------------------------------------------------

class ErosionFileTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path() const { return dir.filePath("ero.par"); }
    QTemporaryDir dir;
};

TEST_F(ErosionFileTest, RoundTripWritesNumbersWithALeadingBlank)
{
    ASSERT_TRUE(KVErosion::WriteErosionSettings(path(), ErosionSettings{25000, 7, 2, 8}));
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.contains("[Erosion]"));
    EXPECT_TRUE(text.contains("DropCount= 25000"));
    EXPECT_TRUE(text.contains("Dropwith= 7"));
    EXPECT_TRUE(text.contains("LLDepht= 2"));
    EXPECT_TRUE(text.contains("EroDepht= 8"));
    const auto s = KVErosion::ReadErosionSettings(path());
    ASSERT_TRUE(s);
    EXPECT_EQ(s->dropCount, 25000);
    EXPECT_EQ(s->dropWith, 7);
    EXPECT_EQ(s->landslide, 2);
    EXPECT_EQ(s->depth, 8);
}

TEST_F(ErosionFileTest, KeysMissingFromTheSectionGiveTheReadingDefaults)
{
    ASSERT_TRUE(rt::WritePrivateProfileString("Erosion", "Other", " 5", path()));
    const auto s = KVErosion::ReadErosionSettings(path());
    ASSERT_TRUE(s);
    EXPECT_EQ(s->dropCount, 1000);
    EXPECT_EQ(s->dropWith, 1);
    EXPECT_EQ(s->landslide, 1);
    EXPECT_EQ(s->depth, 4);
}

// "Load" on what holds no erosion settings says why and gives nothing, where
// it used to fill in the defaults.
TEST_F(ErosionFileTest, WhatHoldsNoSettingsIsRefusedWithTheReason)
{
    const NotAFilePaths paths(dir.path());
    ASSERT_TRUE(paths.made());
    ASSERT_TRUE(rt::WritePrivateProfileString("Generator", "Height", " 5", path()));
    std::vector<NotAFilePaths::Case> cases = paths.cases();
    cases.push_back({paths.hugeFile(), QStringLiteral("too large")});
    cases.push_back({path(), path() + QStringLiteral(" holds no erosion settings.")});
    cases.push_back({dir.filePath("none.par"), dir.filePath("none.par") + QStringLiteral(" does not exist.")});
    for (const auto& [file, reason] : cases) {
        QString error;
        EXPECT_FALSE(KVErosion::ReadErosionSettings(file, &error)) << file.toStdString();
        EXPECT_TRUE(error.contains(reason)) << error.toStdString();
    }
    EXPECT_EQ(paths.pipeOpened(), 0);
}

TEST_F(ErosionFileTest, NonsenseOrOutOfRangeIsRefusedWithTheKeysNamed)
{
    ASSERT_TRUE(KVErosion::WriteErosionSettings(path(), ErosionSettings{}));
    ASSERT_TRUE(rt::WritePrivateProfileString("Erosion", "DropCount", "lots", path()));
    ASSERT_TRUE(rt::WritePrivateProfileString("Erosion", "EroDepht", " 0", path()));
    QString error;
    EXPECT_FALSE(KVErosion::ReadErosionSettings(path(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("DropCount")));
    EXPECT_TRUE(error.contains(QStringLiteral("EroDepht")));
    EXPECT_FALSE(error.contains(QStringLiteral("LLDepht")));
}

TEST_F(ErosionFileTest, UnwritableFileIsReportedWithTheSystemsReasonAndTheOldOneKept)
{
    ASSERT_TRUE(rt::WritePrivateProfileString("Generator", "Height", " 5", path()));
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray old = f.readAll();
    f.close();
    QString error;
    {
        FileSizeLimit limit(old.size() + 10);
        if (!limit.active()) GTEST_SKIP() << "cannot limit the file size";
        EXPECT_FALSE(KVErosion::WriteErosionSettings(path(), ErosionSettings{}, &error));
    }
    EXPECT_TRUE(error.contains(fileTooLarge())) << error.toStdString();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), old);
}

} // namespace
