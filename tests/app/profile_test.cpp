// The side profile's bars, the colour bar and the Z-range sliders without a window.

#include "app/Profile.h"

#include "terrain/Palette.h"
#include "terrain/clsTerrain.h"

#include <gtest/gtest.h>

namespace {

// A 9 x 9 terrain (Size 8): heights rise by 1000 per column and 10 per row.
class ProfileTest : public testing::Test {
protected:
    void SetUp() override
    {
        ter.Init(9);
        for (int y = 0; y <= 8; ++y)
            for (int x = 0; x <= 8; ++x) ter.SetPoint(x, y, 1000 * x + 10 * y);
        ter.Range();
    }
    clsTerrain ter;
};

TEST_F(ProfileTest, RawProfileAlongARowReadsThatRow)
{
    const auto bars = Profile::rawProfile(ter, 3, Profile::AlongRow);
    ASSERT_TRUE(bars);
    EXPECT_DOUBLE_EQ(bars->scaleHeight, 8080);
    ASSERT_EQ(bars->heights.size(), 9u);
    EXPECT_DOUBLE_EQ(bars->heights[0], 30 + 32768);
    EXPECT_DOUBLE_EQ(bars->heights[8], 8030 + 32768);
}

TEST_F(ProfileTest, RawProfileAlongAColumnReadsThatColumn)
{
    const auto bars = Profile::rawProfile(ter, 2, Profile::AlongColumn);
    ASSERT_TRUE(bars);
    EXPECT_DOUBLE_EQ(bars->heights[0], 2000 + 32768);
    EXPECT_DOUBLE_EQ(bars->heights[5], 2050 + 32768);
}

TEST_F(ProfileTest, ALinePastTheGridReadsTheLastLine)
{
    EXPECT_EQ(Profile::clampLine(300, 8), 8);
    EXPECT_EQ(Profile::clampLine(-3, 8), 0);
    const auto bars = Profile::rawProfile(ter, 300, Profile::AlongRow);
    ASSERT_TRUE(bars);
    EXPECT_DOUBLE_EQ(bars->heights[1], 1080 + 32768);
}

TEST_F(ProfileTest, FlatTerrainHasNoRawProfileButAFlatMetresOne)
{
    ter.Fill(500);
    EXPECT_FALSE(Profile::rawProfile(ter, 0, Profile::AlongRow));
    const auto bars = Profile::metresProfile(ter, 0, Profile::AlongRow, QSize(400, 200));
    ASSERT_EQ(bars.heights.size(), 9u);
    for (double h : bars.heights) EXPECT_DOUBLE_EQ(h, bars.heights[0]);
}

TEST_F(ProfileTest, MetresProfileKeepsTrueProportions)
{
    // Size 8, 30 m a point, a picture twice as wide as high: 8 x 30 / 2 metres high.
    const auto bars = Profile::metresProfile(ter, 0, Profile::AlongRow, QSize(400, 200));
    EXPECT_DOUBLE_EQ(bars.scaleHeight, 120.0);
    ASSERT_EQ(bars.heights.size(), 9u);
    // Each bar stands on the terrain's lowest unit and rises with the column.
    EXPECT_GE(bars.heights[0], 0.0);
    EXPECT_GT(bars.heights[8], bars.heights[0]);
}

TEST(ProfileDrawing, BarsRiseFromTheBottomAndTouch)
{
    const Profile::Bars bars{10, {0, 10, 5}};
    const QImage img = Profile::drawBars(bars, QSize(20, 10), qRgb(0, 0, 255));
    ASSERT_EQ(img.size(), QSize(20, 10));
    EXPECT_EQ(img.pixel(9, 0), qRgb(0, 0, 255));   // the full bar
    EXPECT_EQ(img.pixel(2, 9), qRgb(255, 255, 255));  // height 0 draws nothing
    EXPECT_EQ(img.pixel(17, 4), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(17, 6), qRgb(0, 0, 255));  // the half bar
}

TEST(ProfileDrawing, ColourBarHasTheHighestColourAtTheTop)
{
    const QRgb keepTop = Palette[255][0];
    const QRgb keepBottom = Palette[0][0];
    Palette[255][0] = qRgb(200, 10, 10);
    Palette[0][0] = qRgb(10, 10, 200);
    const QImage img = Profile::colourBar(QSize(20, 256), 0);
    EXPECT_EQ(img.pixel(0, 0), qRgb(200, 10, 10));
    EXPECT_EQ(img.pixel(19, 255), qRgb(10, 10, 200));
    Palette[255][0] = keepTop;
    Palette[0][0] = keepBottom;
}

TEST(ZRange, MinimumAboveMaximumPushesTheMaximumOneAbove)
{
    EXPECT_EQ(Profile::afterMinChange({50000, 40000}, 65536), (Profile::ZRange{50000, 50001}));
    EXPECT_EQ(Profile::afterMinChange({3000, 3000}, 65536), (Profile::ZRange{3000, 3000}));
    // At the top there is no room above: the minimum steps down.
    EXPECT_EQ(Profile::afterMinChange({65536, 1000}, 65536), (Profile::ZRange{65535, 65536}));
}

TEST(ZRange, MaximumBelowMinimumPullsTheMinimumOneBelow)
{
    EXPECT_EQ(Profile::afterMaxChange({5000, 4000}, 65536), (Profile::ZRange{3999, 4000}));
    EXPECT_EQ(Profile::afterMaxChange({5000, 0}, 65536), (Profile::ZRange{0, 1}));
}

TEST(ZRange, MetresTypedIntoABoxBecomeASliderValue)
{
    clsTerrain t;
    t.Init(9);
    // Base height 5 units of 30 m: raw 0 is 150 m, slider 32768.
    EXPECT_EQ(Profile::sliderFromMetres(t, QStringLiteral("150"), 65536), 32768);
    EXPECT_EQ(Profile::sliderFromMetres(t, QStringLiteral(" 150,0 "), 65536), 32768);
    EXPECT_EQ(Profile::sliderFromMetres(t, QStringLiteral("1e9"), 65536), 65536);
    EXPECT_EQ(Profile::sliderFromMetres(t, QStringLiteral("-1e9"), 65536), 0);
}

TEST(ZRange, NonsenseInABoxIsNoSliderValue)
{
    clsTerrain t;
    t.Init(9);
    for (const char* text : {"", "abc", "12abc", "1e400", "nan", "--3"})
        EXPECT_FALSE(Profile::sliderFromMetres(t, QString::fromLatin1(text), 65536)) << text;
}

} // namespace
