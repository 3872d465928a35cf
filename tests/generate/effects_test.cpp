// The effect dispatcher and the whole-grid height filters on small terrains
// whose results are worked out by hand.

#include "generate/KVFilterEffects.h"
#include "runtime/Ui.h"
#include "terrain/clsTerrain.h"
#include "tests/support/ScriptedUi.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

namespace {

constexpr int32_t kLow = -32768;
constexpr int32_t kHigh = 32768;

// A 3 x 3 terrain (Size 2) from its rows, spare points at 0.
clsTerrain grid3(const std::vector<std::vector<int32_t>>& rows)
{
    clsTerrain t;
    t.Init(3);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 3; ++x) t.SetPoint(x, y, rows[size_t(y)][size_t(x)]);
    t.Range();
    return t;
}

// Already spread over the full range, so the rescaling before the range
// filters leaves it as it is.
clsTerrain fullRange()
{
    return grid3({{-32767, 0, 32767}, {50, -50, 0}, {0, 0, 0}});
}

std::vector<int32_t> heights(const clsTerrain& t)
{
    std::vector<int32_t> v;
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 3; ++x) v.push_back(t.GetPoint(x, y));
    return v;
}

bool apply(int16_t code, clsTerrain& t, float strength, KVFilter::Extent extent = std::nullopt, int32_t zMin = kLow,
           int32_t zMax = kHigh)
{
    return KVFilter::ApplyFilter(code, t, strength, extent, 0, 0, zMin, zMax);
}

// --- dispatcher -----------------------------------------------------------------

TEST(EffectDispatcher, RainErosionAndUnknownCodesChangeNothingAndKeepTheCallerBusy)
{
    for (int16_t code : {int16_t(9), int16_t(0), int16_t(13), int16_t(-1)}) {
        clsTerrain t = fullRange();
        const auto before = heights(t);
        {
            rt::BusyGuard command;
            EXPECT_TRUE(apply(code, t, 1.0f));
            EXPECT_EQ(heights(t), before) << code;
            EXPECT_TRUE(rt::BusyFlag) << code;
        }
        EXPECT_FALSE(rt::BusyFlag) << code;
    }
}

TEST(EffectDispatcher, InversNegatesEveryPointAndTwiceRestores)
{
    clsTerrain t = grid3({{1, -2, 3}, {0, 32767, -32768}, {7, 8, 9}});
    const auto before = heights(t);
    // The window and band are not consulted.
    ASSERT_TRUE(apply(3, t, 0.0f, 0, 100, 101));
    EXPECT_EQ(heights(t), (std::vector<int32_t>{-1, 2, -3, 0, -32767, 32768, -7, -8, -9}));
    apply(3, t, 0.0f);
    EXPECT_EQ(heights(t), before);
    EXPECT_FALSE(rt::BusyFlag);
}

TEST(EffectDispatcher, InversOfTheLowest32BitHeightSaturates)
{
    clsTerrain t = grid3({{INT32_MIN, 0, 0}, {0, 0, 0}, {0, 0, 0}});
    apply(3, t, 0.0f);
    EXPECT_EQ(t.GetPoint(0, 0), INT32_MAX);
}

TEST(EffectDispatcher, SmoothWithFactor0DoesNothingAndWithFactor1LowersASpike)
{
    clsTerrain t = grid3({{0, 0, 0}, {0, 500, 0}, {0, 0, 0}});
    apply(1, t, 0.0f);
    EXPECT_EQ(t.GetPoint(1, 1), 500);
    apply(1, t, 1.0f);
    EXPECT_LT(t.GetPoint(1, 1), 500);
    EXPECT_GT(t.GetPoint(1, 1), 0);
}

TEST(EffectDispatcher, SmoothLeavesHeightsOutsideTheBandAndWindow)
{
    // The spike sits at the band's top border: it stays, its neighbours rise.
    clsTerrain t = grid3({{0, 0, 0}, {0, 500, 0}, {0, 0, 0}});
    apply(1, t, 1.0f, std::nullopt, -1000, 500);
    EXPECT_EQ(t.GetPoint(1, 1), 500);
    EXPECT_GT(t.GetPoint(0, 0), 0);
    // A window of one point at (0, 0) changes nothing else.
    clsTerrain u = grid3({{0, 0, 0}, {0, 500, 0}, {0, 0, 0}});
    float one = 1.0f;
    KVFilter::ApplyFilter(1, u, one, 0, 0, 0, kLow, kHigh);
    EXPECT_EQ(u.GetPoint(1, 1), 500);
    EXPECT_EQ(u.GetPoint(2, 0), 0);
    EXPECT_EQ(u.GetPoint(0, 2), 0);
}

TEST(EffectDispatcher, NoiseRaisesTheCallersStrengthAndKeepsTheBand)
{
    clsTerrain t = grid3({{2000, 2000, 2000}, {2000, 5000, 0}, {2000, 2000, 2000}});
    float strength = 1.0f;
    KVFilter::ApplyFilter(2, t, strength, std::nullopt, 0, 0, 0, 3000);
    EXPECT_EQ(strength, 2.0f);
    EXPECT_EQ(t.GetPoint(1, 1), 5000);  // above the band
    EXPECT_EQ(t.GetPoint(2, 1), 0);     // at its border and at 0
    for (int32_t x = 0; x < 3; ++x) {
        // At most strength / 40 of the height.
        EXPECT_NEAR(t.GetPoint(x, 0), 2000, 100);
        EXPECT_NEAR(t.GetPoint(x, 2), 2000, 100);
    }
}

TEST(EffectDispatcher, ElevatorShiftWithoutACurveStillSmoothsWithSize9)
{
    clsTerrain t = grid3({{0, 0, 0}, {0, 500, 0}, {0, 0, 0}});
    apply(4, t, 0.0f);
    EXPECT_LT(t.GetPoint(1, 1), 500);
}

TEST(EffectDispatcher, OptimizedSpreadsTheHeightsAndKeepsTheirUnits)
{
    // r = 200 round 0: factor 65535 / 201 puts -+100 on -+32604.48 -> -+32604;
    // 100 stays at 5 + 3000 / 65536 = 5.0457763671875 TU.
    clsTerrain t = grid3({{-100, 0, 100}, {0, 0, 0}, {0, 0, 0}});
    apply(11, t, 1.0f);
    t.Range();
    EXPECT_EQ(t.min(), -32604);
    EXPECT_EQ(t.max(), 32604);
    EXPECT_NEAR(t.GetPointTU(2, 0), 5.0457763671875, 1e-6);
    EXPECT_FALSE(rt::BusyFlag);
}

class RiverErosion : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        rt::setAppPath(dir.path());
    }
    void TearDown() override { rt::setAppPath(QString()); }
    QTemporaryDir dir;
};

TEST_F(RiverErosion, BlackPatternRaisesTheWindowBy3)
{
    QImage black(1025, 1025, QImage::Format_RGB32);
    black.fill(Qt::black);
    ASSERT_TRUE(black.save(dir.filePath("erode0.flt"), "PNG"));
    KVFilter::ErosionPatternFile = QStringLiteral("other.flt");
    clsTerrain t = grid3({{10, 10, 10}, {10, 10, 10}, {10, 10, 10}});
    EXPECT_TRUE(apply(5, t, 1.0f, 1));
    EXPECT_EQ(KVFilter::ErosionPatternFile, QStringLiteral("erode0.flt"));
    EXPECT_EQ(heights(t), (std::vector<int32_t>{13, 13, 10, 13, 13, 10, 10, 10, 10}));
}

TEST_F(RiverErosion, MissingPatternIsReportedAndChangesNothing)
{
    clsTerrain t = fullRange();
    const auto before = heights(t);
    float strength = 1.0f;
    QString error;
    EXPECT_FALSE(KVFilter::ApplyFilter(5, t, strength, std::nullopt, 0, 0, kLow, kHigh, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(heights(t), before);
    EXPECT_FALSE(rt::BusyFlag);
}

// --- range filters ----------------------------------------------------------------

TEST(RangeFilters, StretchSpreadsTheSignedSquareToAbout32765)
{
    clsTerrain t = fullRange();
    float strength = 7.0f;
    // Window and band of the caller are not used.
    KVFilter::ApplyFilter(10, t, strength, 0, 1, 1, 0, 1);
    EXPECT_FLOAT_EQ(strength, float(1.7 / 65536));
    // r = 2 M with M = s 32767^2 = 27851.3, c = 0: the ends land on +-M x 65530 / 2M;
    // A(50) = s 2500 = 0.065 gives 0.08.
    EXPECT_EQ(heights(t), (std::vector<int32_t>{-32765, 0, 32765, 0, 0, 0, 0, 0, 0}));
}

TEST(RangeFilters, SineFillsTheWholeRangeThoughItsSpanIsBelowOne)
{
    clsTerrain t = fullRange();
    apply(8, t, 3.0f);
    // A runs from sin(s) = 0.0000259 to sin(1.69997) = 0.99167: r = 0.99164,
    // c = 0.49585. sin(0.85) = 0.75128 gives 0.25543 x 65530 / r = 16879.6;
    // sin(s 32818) = 0.75214 gives 16936.2, sin(s 32718) = 0.75042 gives 16823.0.
    EXPECT_EQ(heights(t), (std::vector<int32_t>{-32765, 16880, 32765, 16936, 16823, 16880, 16880, 16880, 16880}));
}

TEST(RangeFilters, SineBendsANarrowTerrainAfterSpreadingIt)
{
    // Raw 0, 50, 100 (the rest 0) are spread to -32443, 0 and 32443 first.
    // A then runs from sin(s 325) = 0.0084304 to sin(s 65211) = 0.9927158:
    // r = 0.9842854, c = 0.5005731; sin(s 32768) = 0.7512804 gives
    // 0.2507073 x 65530 / r = 16691.1.
    clsTerrain t = grid3({{0, 50, 100}, {0, 0, 0}, {0, 0, 0}});
    apply(8, t, 3.0f);
    EXPECT_EQ(heights(t), (std::vector<int32_t>{-32765, 16691, 32765, -32765, -32765, -32765, -32765, -32765, -32765}));
}

TEST(RangeFilters, SinusShiftOfARampBendsTheSpreadHeights)
{
    // h = x on 129 points: factor 65535 / 129 round 64 puts x = 73 on 4572.2
    // -> 4572, x = 0 on -32513 and x = 119 on 27941, the top of the sine:
    // A(73) = sin(s 37340) = 0.8239160, A runs from 0.0066146 to 0.9999920,
    // so (0.8239160 - 0.5033033) x 65530 / 0.9933774 = 21161.4.
    clsTerrain t;
    t.Init(129);
    for (int32_t y = 0; y <= 128; ++y)
        for (int32_t x = 0; x <= 128; ++x) t.SetPoint(x, y, x);
    apply(8, t, 1.0f);
    EXPECT_EQ(t.GetPoint(73, 40), 21161);
    EXPECT_EQ(t.GetPoint(0, 40), -32765);
    EXPECT_EQ(t.GetPoint(119, 40), 32765);
}

TEST(RangeFilters, GammaShiftOfALowTerrainBendsTheSpreadHeights)
{
    // All -20000 but (6, 6) = 22001 and (5, 5) = 1000: r = 42001 round 1000.5,
    // so the spread puts them on -32767, 32767 and -0.78 -> -1. Factor 2.5
    // gives the exponent (1 / 3.5) / 4 = 0.0714286: A = -+2.1015088 at the
    // ends and -1 at (5, 5), so (5, 5) becomes -1 x 65530 / 4.2030175 = -15591.2.
    clsTerrain t;
    t.Init(129);
    t.Fill(-20000);
    t.SetPoint(6, 6, 22001);
    t.SetPoint(5, 5, 1000);
    apply(7, t, 2.5f);
    EXPECT_EQ(t.GetPoint(5, 5), -15591);
    EXPECT_EQ(t.GetPoint(6, 6), 32765);
    EXPECT_EQ(t.GetPoint(0, 0), -32765);
}

TEST(RangeFilters, ShiftsOfA257PointRampReadTheirCurveAtEachHeight)
{
    // h = x is spread by 65535 / 257 = 255 to 255 (x - 128): x = 129 lies on 255.
    // Sinus: A runs from sin(s 128) = 0.0033203 to sin(s 60563) = 1.0000000,
    // A(255) = sin(s 33023) = 0.7556295 gives 0.2539694 x 65530 / 0.9966797 =
    // 16698.06. Gamma at factor 1: A = +-|h|^(1 / 8), 255^(1/8) / 32640^(1/8)
    // = 1.9990218 / 3.6662221 of 32765 = 17865.24. A height off gives +-1 / +-9.
    for (const auto& [code, expected] : {std::pair{int16_t(8), 16698}, std::pair{int16_t(7), 17865}}) {
        clsTerrain t;
        t.Init(257);
        for (int32_t y = 0; y <= 256; ++y)
            for (int32_t x = 0; x <= 256; ++x) t.SetPoint(x, y, x);
        apply(code, t, 1.0f);
        EXPECT_EQ(t.GetPoint(129, 200), expected) << code;
    }
}

TEST(RangeFilters, GammaShiftsUseTheQuarterPowerAtFactor0)
{
    // |32767|^0.25 = 13.4543: r = 26.9086, so the ends reach 32765.
    for (int16_t code : {int16_t(6), int16_t(7)}) {
        clsTerrain t = grid3({{-32767, 0, 32767}, {0, 0, 0}, {0, 0, 0}});
        apply(code, t, 0.0f);
        EXPECT_EQ(heights(t), (std::vector<int32_t>{-32765, 0, 32765, 0, 0, 0, 0, 0, 0})) << code;
    }
}

TEST(RangeFilters, InversGammaFlattensLessThanGammaAsTheFactorGrows)
{
    clsTerrain inv = fullRange();
    clsTerrain gam = fullRange();
    apply(6, inv, 8.0f);  // exponent 3 / 4
    apply(7, gam, 8.0f);  // exponent 1 / 36
    // The small heights +-50 stay nearer 0 under the larger exponent.
    EXPECT_LT(std::abs(inv.GetPoint(0, 1)), std::abs(gam.GetPoint(0, 1)));
    EXPECT_EQ(inv.GetPoint(0, 1), -inv.GetPoint(1, 1));
}

TEST(RangeFilters, NegativeGammaFactorCountsAs0)
{
    clsTerrain t = grid3({{-32767, 0, 32767}, {0, 0, 0}, {0, 0, 0}});
    apply(7, t, -1.0f);
    EXPECT_EQ(t.GetPoint(2, 0), 32765);
}

TEST(RangeFilters, FlatTerrainStaysAt0)
{
    clsTerrain t;
    t.Init(3);
    t.Fill(700);
    apply(10, t, 1.0f);
    EXPECT_EQ(heights(t), std::vector<int32_t>(9, 0));
}

TEST(RangeFilters, PowerShiftChangesOnlyTheBand)
{
    // In the band -100..100: 50 and -50 and the zeros; A(+-50) = +-50^0.25.
    clsTerrain t = fullRange();
    float p = 1.0f;
    KVFilter::ShiftTerrainPower(t, p, std::nullopt, 0, 0, -100, 100);
    EXPECT_FLOAT_EQ(p, 0.25f);
    EXPECT_EQ(t.GetPoint(0, 0), -32767);
    EXPECT_EQ(t.GetPoint(2, 0), 32767);
    // The ends +-2.6591 of the band: r = 5.3183, so they land on +-32765.
    EXPECT_EQ(t.GetPoint(0, 1), 32765);
    EXPECT_EQ(t.GetPoint(1, 1), -32765);
    EXPECT_EQ(t.GetPoint(1, 0), 0);
}

TEST(RangeFilters, PowerShiftOfNegativeBandKeepsEveryOtherHeight)
{
    // Negative heights in the band are measured by their size without being
    // turned positive in the terrain.
    clsTerrain t = grid3({{-32767, -20, 32767}, {50, -50, 0}, {0, 0, 0}});
    float p = 1.0f;
    KVFilter::ShiftTerrainPower(t, p, std::nullopt, 0, 0, -100, 0);
    EXPECT_EQ(t.GetPoint(0, 1), 50);
    EXPECT_EQ(t.GetPoint(2, 1), 0);
    EXPECT_EQ(t.GetPoint(2, 0), 32767);
    EXPECT_LT(t.GetPoint(1, 1), 0);
    EXPECT_EQ(t.GetPoint(1, 1), -t.GetPoint(1, 0));
}

TEST(RangeFilters, HugePowerIsKeptFinite)
{
    clsTerrain t = fullRange();
    float p = 1e30f;
    KVFilter::ShiftTerrainPower(t, p, std::nullopt, 0, 0, kLow, kHigh);
    EXPECT_FLOAT_EQ(p, 64.0f);
    EXPECT_EQ(t.GetPoint(2, 0), 32765);
    EXPECT_EQ(t.GetPoint(0, 0), -32765);
}

TEST(RangeFilters, WholeGridOf257PointsReachesEveryCorner)
{
    clsTerrain t;
    t.Init(257);
    for (int32_t y = 0; y <= 256; ++y)
        for (int32_t x = 0; x <= 256; ++x) t.SetPoint(x, y, (x - 128) * 200);
    t.Range();
    apply(10, t, 1.0f);
    EXPECT_EQ(t.GetPoint(0, 0), -t.GetPoint(256, 256));
    EXPECT_NEAR(t.GetPoint(256, 0), 32765, 1);
    EXPECT_EQ(t.GetPoint(128, 256), 0);
    EXPECT_EQ(t.pProgress, 100);
}

} // namespace
