// The brush routines: the bell and its table, noise, smoothing, the erosion
// pattern stamp and the end of progress, on small terrains worked out by hand.

#include "generate/KVFilter.h"
#include "runtime/Numbers.h"
#include "runtime/Rnd.h"
#include "runtime/Ui.h"
#include "terrain/clsTerrain.h"
#include "tests/support/ScriptedUi.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int32_t kLow = -32768;
constexpr int32_t kHigh = 32768;

// A terrain of n points a side, every point at h.
clsTerrain flat(int32_t n, int32_t h)
{
    clsTerrain t;
    t.Init(n);
    t.Fill(h);
    return t;
}

float tableAt(int32_t i, int32_t j)
{
    const int32_t n = KVFilter::brushTableBound();
    return KVFilter::brushTable()[size_t(i) * size_t(n + 1) + size_t(j)];
}

// --- bell and table ------------------------------------------------------------

TEST(BrushBell, PeaksAt036InTheMiddleAndIsSymmetric)
{
    EXPECT_FLOAT_EQ(KVFilter::Gauss2D(50, 70, 0, 20, 100, 100), 0.36f);
    EXPECT_NEAR(KVFilter::Gauss2D(0, 0, 0, 0, 100, 100), 0.36 * std::exp(-16.0), 1e-9);
    EXPECT_EQ(KVFilter::Gauss2D(13, 40, 0, 0, 100, 100), KVFilter::Gauss2D(87, 40, 0, 0, 100, 100));
    EXPECT_EQ(KVFilter::Gauss2D(13, 40, 0, 0, 100, 100), KVFilter::Gauss2D(40, 13, 0, 0, 100, 100));
    // One standard deviation (w/8) from the centre.
    EXPECT_NEAR(KVFilter::Gauss2D(50, 50, 0, 0, 80, 100), 0.36 * std::exp(-0.5), 1e-7);
}

TEST(BrushBell, WindowOfNoWidthKeepsItsCentreLine)
{
    EXPECT_FLOAT_EQ(KVFilter::Gauss2D(0, 0, 0, 0, 0, 0), 0.36f);
    EXPECT_EQ(KVFilter::Gauss2D(1, 0, 0, 0, 0, 0), 0.0f);
}

class BrushTableTest : public testing::Test {
protected:
    void TearDown() override { KVFilter::InitBrushTable(512); }
};

TEST_F(BrushTableTest, Table512HoldsTheBellCentredAt256)
{
    KVFilter::InitBrushTable(512);
    ASSERT_EQ(KVFilter::brushTableBound(), 512);
    ASSERT_EQ(KVFilter::brushTable().size(), 513u * 513u);
    EXPECT_FLOAT_EQ(tableAt(256, 256), 0.36f);
    EXPECT_NEAR(tableAt(0, 0), 0.36 * std::exp(-16.0), 1e-9);
    EXPECT_EQ(tableAt(100, 300), tableAt(412, 300));
    EXPECT_EQ(tableAt(100, 300), tableAt(300, 100));
}

TEST_F(BrushTableTest, SmallOrNegativeSizesStillGiveATable)
{
    KVFilter::InitBrushTable(0);
    EXPECT_EQ(KVFilter::brushTableBound(), 0);
    EXPECT_FLOAT_EQ(KVFilter::GetBrushWeight(0, 0, 0, 0, 4, 4, 1), 0.36f);
    KVFilter::InitBrushTable(-5);
    EXPECT_EQ(KVFilter::brushTableBound(), 0);
}

TEST_F(BrushTableTest, WeightStretchesTheTableOverTheWindowTimesTheFactor)
{
    KVFilter::InitBrushTable(512);
    // Centre of a 10-point window from (100, 200).
    EXPECT_FLOAT_EQ(KVFilter::GetBrushWeight(105, 205, 100, 200, 10, 10, 1), 0.36f);
    EXPECT_FLOAT_EQ(KVFilter::GetBrushWeight(105, 205, 100, 200, 10, 10, 5), 1.8f);
    // One point in is 51.2 cells: cell 51.
    EXPECT_EQ(KVFilter::GetBrushWeight(101, 200, 100, 200, 10, 10, 1), tableAt(51, 0));
    // Over 1024 points one point is half a cell: halves go to even.
    EXPECT_EQ(KVFilter::GetBrushWeight(1, 0, 0, 0, 1024, 1024, 1), tableAt(0, 0));
    EXPECT_EQ(KVFilter::GetBrushWeight(3, 0, 0, 0, 1024, 1024, 1), tableAt(2, 0));
    EXPECT_EQ(KVFilter::GetBrushWeight(0, 0, 0, 0, 10, 10, 0), 0.0f);
}

TEST_F(BrushTableTest, WeightOutsideTheWindowReadsItsEdgeAndNoWidthGivesZero)
{
    KVFilter::InitBrushTable(512);
    EXPECT_EQ(KVFilter::GetBrushWeight(-7, 5, 0, 0, 10, 10, 1), KVFilter::GetBrushWeight(0, 5, 0, 0, 10, 10, 1));
    EXPECT_EQ(KVFilter::GetBrushWeight(30, 5, 0, 0, 10, 10, 1), KVFilter::GetBrushWeight(10, 5, 0, 0, 10, 10, 1));
    EXPECT_EQ(KVFilter::GetBrushWeight(0, 0, 0, 0, 0, 10, 1), 0.0f);
}

// --- noise -----------------------------------------------------------------------

TEST(AddNoise, StrengthZeroBecomesOneAndMovesAPointAtMostOneFortieth)
{
    rt::Randomize(7);
    clsTerrain t = flat(9, 2000);
    float strength = 0;
    KVFilter::AddNoise(t, strength, std::nullopt, 0, 0, kLow, kHigh);
    EXPECT_EQ(strength, 1.0f);
    bool changed = false;
    for (int32_t y = 0; y <= 8; ++y)
        for (int32_t x = 0; x <= 8; ++x) {
            EXPECT_GE(t.GetPoint(x, y), 1950);
            EXPECT_LE(t.GetPoint(x, y), 2050);
            changed |= t.GetPoint(x, y) != 2000;
        }
    EXPECT_TRUE(changed);
    EXPECT_EQ(t.pProgress, 100);
    EXPECT_FALSE(rt::BusyFlag);
    EXPECT_EQ(scriptedUi().statusTexts.value(0), QStringLiteral("Noise..."));
}

TEST(AddNoise, StrengthNineteenMovesPointsByUpToHalfTheirHeightEitherWay)
{
    // Strength 19 + 1 = 20: t = (20 / 20) x (r - 0.5) lies in [-0.5, 0.5), so
    // a height of 10^6 moves by up to 500000; 66049 draws come within 3 % of
    // both ends (a weaker amplitude, 20 / 21, stops at 476190).
    clsTerrain t = flat(257, 1000000);
    float strength = 19;
    KVFilter::AddNoise(t, strength, std::nullopt, 0, 0, 0, std::numeric_limits<int32_t>::max());
    int32_t lowest = 0, highest = 0;
    for (int32_t y = 0; y <= 256; ++y)
        for (int32_t x = 0; x <= 256; ++x) {
            const int32_t change = t.GetPoint(x, y) - 1000000;
            lowest = std::min(lowest, change);
            highest = std::max(highest, change);
        }
    EXPECT_GE(lowest, -500000);
    EXPECT_LT(lowest, -485000);
    EXPECT_LE(highest, 500000);
    EXPECT_GT(highest, 485000);
}

TEST(AddNoise, LeavesZeroHeightsAndPointsOutsideTheOpenBand)
{
    clsTerrain t = flat(9, 0);
    t.SetPoint(1, 1, 1000);  // the band's lower end: excluded
    t.SetPoint(2, 2, 3000);  // the band's upper end: excluded
    t.SetPoint(3, 3, 5000);  // beyond it
    float strength = 19;
    KVFilter::AddNoise(t, strength, 8, 0, 0, 1000, 3000);
    EXPECT_EQ(t.GetPoint(1, 1), 1000);
    EXPECT_EQ(t.GetPoint(2, 2), 3000);
    EXPECT_EQ(t.GetPoint(3, 3), 5000);
    EXPECT_EQ(t.GetPoint(4, 4), 0);
}

TEST(AddNoise, WindowOverTheGridsEdgeChangesOnlyItsPointsInTheGrid)
{
    clsTerrain t = flat(9, 1000);
    float strength = 19;  // +-50 % of the height
    KVFilter::AddNoise(t, strength, 4, -2, 6, kLow, kHigh);
    int changed = 0;
    for (int32_t y = 0; y <= 10; ++y)
        for (int32_t x = 0; x <= 10; ++x) {
            const int32_t h = t.GetPoint(x, y);
            if (x <= 2 && y >= 6) {
                EXPECT_GE(h, 500);
                EXPECT_LE(h, 1500);
                changed += h != 1000;
            } else {
                EXPECT_EQ(h, 1000) << x << "," << y;
            }
        }
    EXPECT_GT(changed, 0);
    EXPECT_EQ(t.pProgress, 100);
}

TEST(AddNoise, NeighbouringColumnsGetDifferentNoise)
{
    clsTerrain t = flat(33, 10000);
    float strength = 19;
    KVFilter::AddNoise(t, strength, 16, 0, 0, kLow, kHigh);
    int sameAsNext = 0;
    for (int32_t x = 0; x < 16; ++x) {
        bool same = true;
        for (int32_t y = 0; y <= 16; ++y) same &= t.GetPoint(x, y) == t.GetPoint(x + 1, y);
        sameAsNext += same;
    }
    EXPECT_EQ(sameAsNext, 0);
}

TEST(AddNoise, StrengthBelowMinusOneStopsBeforeAnyChange)
{
    clsTerrain t = flat(9, 1000);
    float strength = -3;
    KVFilter::AddNoise(t, strength, 8, 0, 0, kLow, kHigh);
    EXPECT_EQ(strength, -2.0f);
    EXPECT_EQ(t.GetPoint(4, 4), 1000);
    EXPECT_EQ(t.pProgress, 0);
}

// --- smoothing ---------------------------------------------------------------------

TEST(SmoothTerrain, SizeBelowThreeChangesNothingAndReportsNothing)
{
    clsTerrain t = flat(9, 0);
    t.SetPoint(4, 4, 500);
    t.pProgress = 37;
    float d = 2.9f;
    KVFilter::SmoothTerrain(t, d, 8, 0, 0, kLow, kHigh);
    EXPECT_EQ(t.GetPoint(4, 4), 500);
    EXPECT_EQ(t.pProgress, 37);
    EXPECT_TRUE(scriptedUi().statusTexts.isEmpty());
    EXPECT_FALSE(rt::BusyFlag);
}

TEST(SmoothTerrain, EvenSizesBecomeOddAndStayWithinTen)
{
    clsTerrain t = flat(9, 0);
    float d = 4;
    KVFilter::SmoothTerrain(t, d, 8, 0, 0, kLow, kHigh);
    EXPECT_EQ(d, 5.0f);
    d = 5;
    KVFilter::SmoothTerrain(t, d, 8, 0, 0, kLow, kHigh);
    EXPECT_EQ(d, 5.0f);
    d = 12;
    KVFilter::SmoothTerrain(t, d, 8, 0, 0, kLow, kHigh);
    EXPECT_EQ(d, 10.0f);
    EXPECT_EQ(scriptedUi().statusTexts.value(0), QStringLiteral("smoothes...."));
    EXPECT_EQ(t.pProgress, 100);
}

TEST(SmoothTerrain, EachPointReadsTheAlreadySmoothedPointsOfBothSweeps)
{
    clsTerrain t = flat(11, 0);
    t.SetPoint(5, 5, 500);
    float d = 3;
    KVFilter::SmoothTerrain(t, d, 1, 4, 4, kLow, kHigh);
    // Forward: (4,4) = 500 / 5 = 100, then (5,5) = (500 + 100) / 5 = 120.
    // Backward: (5,5) = (120 + 100) / 5 = 44, then (4,4) = (100 + 44) / 5 = 28.8.
    EXPECT_EQ(t.GetPoint(5, 5), 44);
    EXPECT_EQ(t.GetPoint(4, 4), 29);
    EXPECT_EQ(t.GetPoint(4, 5), 0);
    EXPECT_EQ(t.GetPoint(5, 4), 0);
    EXPECT_EQ(t.GetPoint(6, 6), 0);  // outside the window
    EXPECT_EQ(t.pProgress, 100);
}

TEST(SmoothTerrain, BorderPointsReadTheGridsEdgeForMissingNeighbours)
{
    clsTerrain t = flat(9, 0);
    t.SetPoint(0, 0, 500);
    // The window may start off the grid, as a stroke at the edge gives it.
    float d = 3;
    KVFilter::SmoothTerrain(t, d, 2, -1, -1, kLow, kHigh);
    // Forward, (0,0) reads itself for (-1,-1) and (-1,1): (500 + 500) / 5 = 200;
    // (0,1) reads the new (0,0) for (-1,0): 40; (1,0) = (200 + 40) / 5 = 48;
    // (1,1) = 200 / 5 = 40.
    // Backward: (1,1) = (40 + 200) / 5 = 48; (1,0) = (48 + 200 + 40) / 5 = 57.6;
    // (0,1) = (40 + 200 + 58) / 5 = 59.6; (0,0) = (200 + 200 + 60 + 58 + 48) / 5 = 113.2.
    EXPECT_EQ(t.GetPoint(1, 1), 48);
    EXPECT_EQ(t.GetPoint(1, 0), 58);
    EXPECT_EQ(t.GetPoint(0, 1), 60);
    EXPECT_EQ(t.GetPoint(0, 0), 113);
    EXPECT_EQ(t.GetPoint(2, 2), 0);
}

TEST(SmoothTerrain, KeepsAFlatTerrainUpToItsEdges)
{
    clsTerrain t = flat(9, 1200);
    float d = 3;
    KVFilter::SmoothTerrain(t, d, std::nullopt, 0, 0, kLow, kHigh);
    for (int32_t y = 0; y <= 10; ++y)
        for (int32_t x = 0; x <= 10; ++x) EXPECT_EQ(t.GetPoint(x, y), 1200) << x << "," << y;
}

TEST(SmoothTerrain, SpareRowsOfALoadedTerrainDoNotSinkItsEdges)
{
    clsTerrain t = flat(257, 20000);
    // As after a TER load: the spare row and column Size+1 at 0.
    for (int32_t i = 0; i <= 258; ++i) {
        t.SetPoint(257, i, 0);
        t.SetPoint(i, 257, 0);
    }
    float d = 3;
    KVFilter::SmoothTerrain(t, d, std::nullopt, 0, 0, kLow, kHigh);
    EXPECT_EQ(t.GetPoint(256, 100), 20000);
    EXPECT_EQ(t.GetPoint(256, 256), 20000);
}

TEST(SmoothTerrain, PointsOutsideTheBandStayButTheirNeighboursReadThem)
{
    clsTerrain t = flat(9, 1200);
    t.SetPoint(4, 4, 4000);
    float d = 3;
    KVFilter::SmoothTerrain(t, d, std::nullopt, 0, 0, 0, 3000);
    EXPECT_EQ(t.GetPoint(4, 4), 4000);
    EXPECT_GT(t.GetPoint(3, 3), 1200);
}

// The smoothing written point by point through GetPoint and SetPoint, over
// the terrain proper and reading its edge beyond it.
void referenceSmooth(clsTerrain& t, int32_t ext, int32_t x0, int32_t y0, int32_t lo, int32_t hi)
{
    const int32_t size = t.Size();
    auto at = [&](int32_t x, int32_t y) { return t.GetPoint(std::clamp(x, 0, size), std::clamp(y, 0, size)); };
    for (const bool forward : {true, false})
        for (int32_t k = 0; k <= ext; ++k) {
            const int32_t x = forward ? x0 + k : x0 + ext - k;
            for (int32_t m = 0; m <= ext; ++m) {
                const int32_t y = forward ? y0 + m : y0 + ext - m;
                if (x < 0 || y < 0 || x > size || y > size) continue;
                const int32_t h = t.GetPoint(x, y);
                if (!(lo < h && h < hi)) continue;
                const int64_t sum = int64_t(h) + at(x - 1, y - 1) + at(x - 1, y + 1) + at(x + 1, y - 1) + at(x + 1, y + 1);
                t.SetPoint(x, y, rt::CLng(double(sum) / 5.0));
            }
        }
}

TEST(SmoothTerrain, MatchesThePointByPointSmoothingForWindowsAnywhere)
{
    rt::Randomize(11);
    auto pick = [](int32_t lo, int32_t hi) { return lo + int32_t(rt::Rnd() * float(hi - lo + 1)); };
    for (int round = 0; round < 60; ++round) {
        const int32_t n = round % 2 ? 9 : 17;
        clsTerrain a;
        a.Init(n);
        for (int32_t y = 0; y <= n + 1; ++y)
            for (int32_t x = 0; x <= n + 1; ++x) a.SetPoint(x, y, pick(-3000, 3000));
        clsTerrain b = a;
        const int32_t ext = pick(0, n + 3);
        const int32_t x0 = pick(-4, n + 1);
        const int32_t y0 = pick(-4, n + 1);
        const int32_t lo = pick(-3500, 0);
        const int32_t hi = pick(0, 3500);
        float d = 3;
        KVFilter::SmoothTerrain(a, d, ext, x0, y0, lo, hi);
        referenceSmooth(b, ext, x0, y0, lo, hi);
        for (int32_t y = 0; y <= n + 1; ++y)
            for (int32_t x = 0; x <= n + 1; ++x)
                ASSERT_EQ(a.GetPoint(x, y), b.GetPoint(x, y))
                    << "round " << round << " window " << x0 << "," << y0 << "+" << ext << " at " << x << "," << y;
    }
}

TEST(SmoothTerrain, SumsBeyond32BitsKeepTheirMean)
{
    const int32_t big = 2'000'000'000;
    clsTerrain t = flat(9, big);
    float d = 3;
    KVFilter::SmoothTerrain(t, d, 8, 0, 0, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(t.GetPoint(4, 4), big);
    EXPECT_EQ(t.GetPoint(0, 8), big);
}

// --- erosion pattern -----------------------------------------------------------------

class ErodeTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        rt::setAppPath(dir.path());
        KVFilter::ErosionPatternFile.clear();
    }
    void TearDown() override
    {
        KVFilter::ErosionPatternFile.clear();
        rt::setAppPath(QString());
    }
    // A side x side pattern in one colour, with pixel (3, 3) in another.
    void writePattern(QRgb all, QRgb corner = 0, bool withCorner = false, int side = 4)
    {
        QImage img(side, side, QImage::Format_RGB32);
        img.fill(all);
        if (withCorner) reinterpret_cast<QRgb*>(img.scanLine(3))[3] = corner;
        ASSERT_TRUE(img.save(dir.filePath("erode0.flt"), "PNG"));
    }
    bool erode(clsTerrain& t, float strength, int32_t extent, int32_t x0, int32_t y0, QString* error = nullptr,
               const QString& seedText = QString())
    {
        return KVFilter::ErodeWithBitmap(t, strength, extent, x0, y0, 0, 0, error, seedText);
    }

    QTemporaryDir dir;
};

TEST_F(ErodeTest, BlackRaisesByThreeWhiteByThreePlusTheColourOverElevenMinusStrength)
{
    writePattern(qRgb(0, 0, 0));
    clsTerrain t = flat(9, 100);
    ASSERT_TRUE(erode(t, 0, 8, 0, 0));
    EXPECT_EQ(KVFilter::ErosionPatternFile, QStringLiteral("erode0.flt"));
    EXPECT_EQ(t.GetPoint(0, 0), 103);
    EXPECT_EQ(t.GetPoint(8, 8), 103);
    EXPECT_EQ(t.pProgress, 100);
    EXPECT_EQ(scriptedUi().statusTexts.value(0), QStringLiteral("erode..."));

    // Another size: the pattern is read again when the file changes.
    writePattern(qRgb(255, 255, 255), 0, false, 5);
    clsTerrain w = flat(9, -100);
    ASSERT_TRUE(erode(w, 0, 8, 0, 0));
    EXPECT_EQ(w.GetPoint(4, 4), -100 + 5960);
}

TEST_F(ErodeTest, GreyLevelGivesTimes257AndRedIsDropped)
{
    writePattern(qRgb(255, 10, 10));
    clsTerrain t = flat(9, 0);
    ASSERT_TRUE(erode(t, 6, 8, 0, 0));  // 2570 \ 5
    EXPECT_EQ(t.GetPoint(2, 2), 3 + 514);
}

TEST_F(ErodeTest, StrengthOfElevenOrMoreUsesTheStrongestPatternInsteadOfDividingByZero)
{
    writePattern(qRgb(255, 255, 255));
    for (const float s : {10.0f, 10.5f, 11.0f, 15.0f}) {
        clsTerrain t = flat(9, 0);
        ASSERT_TRUE(erode(t, s, 8, 0, 0));
        EXPECT_EQ(t.GetPoint(1, 1), 3 + 65535) << s;
    }
}

TEST_F(ErodeTest, WindowOverTheEdgeChangesOnlyItsPointsInTheGridWhateverTheBand)
{
    writePattern(qRgb(0, 0, 0));
    clsTerrain t = flat(9, 0);
    ASSERT_TRUE(erode(t, 0, 3, -2, 7));
    for (int32_t y = 0; y <= 10; ++y)
        for (int32_t x = 0; x <= 10; ++x)
            EXPECT_EQ(t.GetPoint(x, y), x <= 1 && y >= 7 ? 3 : 0) << x << "," << y;
}

TEST_F(ErodeTest, SeedTextShiftsThePatternAndPointsPastItAddOnlyThree)
{
    writePattern(qRgb(0, 0, 0), qRgb(255, 255, 255), true);
    clsTerrain t = flat(9, 0);
    // Without a seed (1025 points over 4 pixels) every point reads pixel (0, 0).
    ASSERT_TRUE(erode(t, 0, 10, 0, 0));
    EXPECT_EQ(t.GetPoint(0, 0), 3);
    EXPECT_EQ(t.GetPoint(8, 8), 3);

    // "999..." shifts by CInt(1017 * 0.999) = 1016: points 0..8 read pixel 3,
    // points from 9 on fall past the picture.
    clsTerrain s = flat(9, 0);
    ASSERT_TRUE(erode(s, 0, 10, 0, 0, nullptr, QStringLiteral("999123")));
    EXPECT_EQ(s.GetPoint(0, 0), 5960);
    EXPECT_EQ(s.GetPoint(8, 8), 5960);
    EXPECT_EQ(s.GetPoint(9, 4), 3);
    EXPECT_EQ(s.GetPoint(4, 10), 3);
}

TEST_F(ErodeTest, Size1024StillShiftsByOneForSeedsAbove500)
{
    // One row of 1025 pixels, only pixel 1 white.
    QImage img(1025, 1, QImage::Format_RGB32);
    img.fill(qRgb(0, 0, 0));
    reinterpret_cast<QRgb*>(img.scanLine(0))[1] = qRgb(255, 255, 255);
    ASSERT_TRUE(img.save(dir.filePath("erode0.flt"), "BMP"));
    clsTerrain t = flat(1025, 0);
    // (1025 - 1024) * 0.999 rounds to 1.
    ASSERT_TRUE(erode(t, 0, 2, 0, 0, nullptr, QStringLiteral("999")));
    EXPECT_EQ(t.GetPoint(0, 0), 5960);
    EXPECT_EQ(t.GetPoint(1, 0), 3);
    // 0.5 rounds to even: no shift.
    clsTerrain u = flat(1025, 0);
    ASSERT_TRUE(erode(u, 0, 2, 0, 0, nullptr, QStringLiteral("500")));
    EXPECT_EQ(u.GetPoint(0, 0), 3);
    EXPECT_EQ(u.GetPoint(1, 0), 5960);
}

TEST_F(ErodeTest, MissingPatternChangesNothingAndSaysWhy)
{
    clsTerrain t = flat(9, 50);
    QString error;
    EXPECT_FALSE(erode(t, 0, 8, 0, 0, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(t.GetPoint(4, 4), 50);

    // A pattern read once is not used after the file went away.
    writePattern(qRgb(0, 0, 0));
    ASSERT_TRUE(erode(t, 0, 8, 0, 0));
    ASSERT_TRUE(QFile::remove(dir.filePath("erode0.flt")));
    EXPECT_FALSE(erode(t, 0, 8, 0, 0, &error));
    EXPECT_EQ(t.GetPoint(4, 4), 53);
}

// --- progress ------------------------------------------------------------------------

TEST(ProgressDone, SetsTheTerrainsProgressAndChangesNoHeight)
{
    clsTerrain t = flat(9, 77);
    t.pProgress = 12;
    float s = 3;
    KVFilter::ProgressDone(t, s, 8, 0, 0, kLow, kHigh);
    EXPECT_EQ(t.pProgress, 100);
    EXPECT_EQ(t.GetPoint(4, 4), 77);
    EXPECT_EQ(s, 3.0f);
}

} // namespace
