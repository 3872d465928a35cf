#include "app/Pens.h"

#include "runtime/Rnd.h"
#include "terrain/Palette.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/clsTerrain.h"

#include <gtest/gtest.h>

namespace {

class PensTest : public testing::Test {
protected:
    void SetUp() override
    {
        ter.Init(129);
        ter.Fill(0);
        TerrainEmpty = true;
        TerrainSaved = true;
    }

    int changedPoints(int32_t v) const
    {
        int n = 0;
        for (int y = 0; y <= 128; ++y)
            for (int x = 0; x <= 128; ++x)
                if (ter.GetPoint(x, y) == v) ++n;
        return n;
    }

    clsTerrain ter;
};

TEST(PenSnap, JumpsToTheCentreOfItsCell)
{
    // r = 10: cells of 20 points, centre at 20 * floor(37 / 20) + 11 = 31.
    const QPointF p = Pens::snapPoint({37, 5}, 10);
    EXPECT_DOUBLE_EQ(p.x(), 31);
    EXPECT_DOUBLE_EQ(p.y(), 11);
}

TEST_F(PensTest, SquarePenOfRadiusOneIsWiderAtThePressThanInTheStroke)
{
    Pens::PenSettings s;
    s.radius = 1;
    s.height = 32768 + 500;
    Pens::stamp(ter, {20, 20}, s, true);
    EXPECT_EQ(changedPoints(500), 25);  // radius 2 around (19, 19)
    EXPECT_EQ(ter.GetPoint(17, 17), 500);
    EXPECT_EQ(ter.GetPoint(21, 21), 500);

    ter.Fill(0);
    Pens::stamp(ter, {60, 60}, s, false);
    EXPECT_EQ(changedPoints(500), 9);
    EXPECT_EQ(ter.GetPoint(59, 59), 500);
}

TEST_F(PensTest, HalfPositionsRoundThePenCentreOneUpAndLeftOfTheMouse)
{
    // Points the pen changed down column 10 and along row 10.
    auto changed = [this](bool down) {
        std::vector<int32_t> at;
        for (int32_t i = 0; i <= 128; ++i)
            if (ter.GetPoint(down ? 10 : i, down ? i : 10) == 500) at.push_back(i);
        return at;
    };
    const std::vector<int32_t> eightToTwelve{8, 9, 10, 11, 12};
    Pens::PenSettings s;
    s.radius = 1;
    s.height = 32768 + 500;
    // 10.5 - 1 = 9.5 and 11.5 - 1 = 10.5 both round to 10: rows and columns 8 to 12.
    for (const auto& [shape, at] : {std::pair{Pens::PenSquare, 10.5}, std::pair{Pens::PenSquare, 11.5},
                                    std::pair{Pens::PenRound, 10.5}}) {
        ter.Fill(0);
        s.shape = shape;
        Pens::stamp(ter, {at, at}, s, true);
        EXPECT_EQ(changed(true), eightToTwelve) << at;
        EXPECT_EQ(changed(false), eightToTwelve) << at;
    }
}

TEST_F(PensTest, StampMarksTheTerrainChanged)
{
    TerrainSaved = true;
    TerrainEmpty = true;
    Pens::PenSettings s;
    Pens::stamp(ter, {10, 10}, s, true);
    EXPECT_FALSE(TerrainEmpty);
    EXPECT_FALSE(TerrainSaved);
}

TEST_F(PensTest, FineHeightIsAddedToThePenValue)
{
    Pens::PenSettings s;
    s.height = 32768 + 100;
    s.fineHeight = -30;
    s.shape = Pens::PenRound;
    s.radius = 0;
    Pens::stamp(ter, {40, 40}, s, false);
    EXPECT_EQ(ter.GetPoint(39, 39), 70);
}

TEST_F(PensTest, NoisePenStaysInsideItsSquare)
{
    rt::Randomize(7.0);
    Pens::PenSettings s;
    s.shape = Pens::PenNoise;
    s.radius = 5;
    s.height = 32768 + 9;
    const auto mark = Pens::stamp(ter, {64, 64}, s, false);
    EXPECT_EQ(mark.dots.size(), 5u);
    for (int y = 0; y <= 128; ++y)
        for (int x = 0; x <= 128; ++x)
            if (ter.GetPoint(x, y) == 9) {
                EXPECT_LE(std::abs(x - 64), 5);
                EXPECT_LE(std::abs(y - 64), 5);
            }
    EXPECT_GE(changedPoints(9), 1);
}

TEST_F(PensTest, PickThenStampWritesTheHeightFoundUnderTheCursor)
{
    ter.SetPoint(30, 30, 1234);
    Pens::PenSettings s;
    const auto picked = Pens::pick(ter, {30, 30}, s, 0);
    EXPECT_EQ(picked.sliderValue, 1234 + 32768);
    s.height = picked.sliderValue;
    s.radius = 2;
    Pens::stamp(ter, {31, 31}, s, true);
    EXPECT_EQ(ter.GetPoint(30, 30), 1234);
    EXPECT_EQ(ter.GetPoint(28, 28), 1234);
}

TEST_F(PensTest, PickOfAnExtremeHeightStaysInTheSliderRange)
{
    ter.SetPoint(5, 5, 32767);
    ter.SetPoint(6, 6, -32768);
    Pens::PenSettings s;
    EXPECT_EQ(Pens::pick(ter, {5, 5}, s, 0).sliderValue, 65534);
    EXPECT_EQ(Pens::pick(ter, {6, 6}, s, 0).sliderValue, 1);
}

TEST_F(PensTest, PenHeightIsCutNotRounded)
{
    // HeightScale 30, BaseHeight 5, ScaleT 30: raw 1 is (30/65536 + 5) * 30 = 150.0137... m.
    Pens::PenSettings s;
    s.height = 32769;
    EXPECT_EQ(Pens::penHeightText(ter, s), QStringLiteral("150.01"));
    s.height = 32768 - 1;
    EXPECT_EQ(Pens::penHeightText(ter, s), QStringLiteral("149.98"));
}

TEST_F(PensTest, ReadoutOnlyInsideTheGrid)
{
    ter.SetPoint(3, 120, 77);
    const auto texts = Pens::readout(ter, {3, 120});
    ASSERT_TRUE(texts.has_value());
    EXPECT_EQ((*texts)[1], QStringLiteral("77 Pixel"));
    EXPECT_EQ((*texts)[2], QStringLiteral("X=3"));
    EXPECT_EQ((*texts)[3], QStringLiteral("Y=8"));
    EXPECT_FALSE(Pens::readout(ter, {-1, 5}).has_value());
    EXPECT_FALSE(Pens::readout(ter, {5, 128}).has_value());
    EXPECT_FALSE(Pens::readout(ter, {300, 5}).has_value());
}

} // namespace
