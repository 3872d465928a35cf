// The object maker's model: the combinations, the body of rotation, the
// result drawing, mask shapes and profiles, without a window.

#include "objects/ObjektMaker.h"
#include "objects/ObjektMakerProfiles.h"
#include "runtime/Rnd.h"

#include <gtest/gtest.h>

using namespace ObjektMaker;

namespace {

QImage greyMask(int g)
{
    QImage m(256, 256, QImage::Format_RGB32);
    m.fill(qRgb(g, g, g));
    return m;
}

Profile constant(int16_t v)
{
    Profile p{};
    std::fill(p.begin(), p.begin() + 257, v);
    return p;
}

// P(k) = k, as preset 13 "Ramp left" draws it.
Profile ramp()
{
    Profile p{};
    for (int k = 0; k <= 256; ++k) p[size_t(k)] = int16_t(k);
    return p;
}

int greyAt(const QImage& pic, int x, int y)
{
    return qRed(pic.pixel(x, y));
}

// z = 256 makes the "÷ 256" of the weighting vanish, so each value below is
// the bare operation on x = 10, y = 20.
TEST(ObjektMakerCombine, NineModesOnHandWorkedValues)
{
    EXPECT_EQ(combineCell(ModeAdd, 10, 20, 256), 30);
    EXPECT_EQ(combineCell(ModeMultiplikation, 16, 32, 256), 2);  // 256*32*16/65536
    EXPECT_EQ(combineCell(ModeMultiplikation, 256, 256, 256), 256);
    EXPECT_EQ(combineCell(ModeMin, 10, 20, 256), 10);
    EXPECT_EQ(combineCell(ModeMax, 10, 20, 256), 20);
    EXPECT_EQ(combineCell(ModeXor, 10, 20, 256), 30);  // 01010 xor 10100
    EXPECT_EQ(combineCell(ModeXor, 12, 10, 256), 6);   // 1100 xor 1010: the shared bit drops
    EXPECT_EQ(combineCell(ModeMod, 10, 20, 256), 10);  // 21 mod 11
    EXPECT_EQ(combineCell(ModeSub, 20, 10, 256), 10);
    EXPECT_EQ(combineCell(ModeOr, 10, 20, 256), 286);  // 256 or 10 or 20
    EXPECT_EQ(combineCell(ModeOr, 12, 10, 256), 270);  // 256 or 1100 or 1010: the shared bit stays
    // 3 Imp 1 = -4 or 1 = -3; 255 Imp -3 = -256 or -3 = -3
    EXPECT_EQ(combineCell(ModeImplication, 3, 1, 255), -3);
    // Bitwise operands are rounded halves to even.
    EXPECT_EQ(combineCell(ModeOr, 0, 0, 10.5), 10);
    EXPECT_EQ(combineCell(ModeOr, 0, 0, 11.5), 12);
    // Mod keeps the sign of the dividend: (-8 + 1) mod (4 + 1) = -2.
    EXPECT_EQ(combineCell(ModeMod, 4, -8, 256), -2);
}

TEST(ObjektMakerCombine, RotationMaskWeightsOnHandWorkedValues)
{
    // Without the cross profile c = 1: Add adds one, Mod takes "mod 2".
    EXPECT_EQ(rotationMaskCell(ModeAdd, 10, 20, 1, 256, false), 31);
    EXPECT_EQ(rotationMaskCell(ModeMod, 10, 22, 1, 256, false), 1);  // 23 mod 11 = 1, mod 2
    EXPECT_EQ(rotationMaskCell(ModeMod, 10, 21, 1, 256, false), 0);  // 22 mod 11 = 0
    EXPECT_EQ(rotationMaskCell(ModeXor, 12, 10, 1, 256, false), 7);   // 1100 xor 1010 xor 1
    EXPECT_EQ(rotationMaskCell(ModeOr, 12, 10, 1, 256, false), 271);  // 256 or 1100 or 1010 or 1
    EXPECT_EQ(rotationMaskCell(ModeXor, 12, 11, 1, 256, false), 6);   // 1100 xor 1011 = 0111, xor 1
    EXPECT_EQ(rotationMaskCell(ModeMin, 100, 200, 50, 256, true), 50); // the cross value is the least
    // 12 Imp 0 = -13 or 0 = -13; -13 Imp 1 = 12 or 1 = 13; 127 Imp 13 = -128 or 13 = -115
    EXPECT_EQ(rotationMaskCell(ModeImplication, 12, 0, 1, 127, false), -115);
    // The cross profile divides Multiplikation by a further 256.
    EXPECT_EQ(rotationMaskCell(ModeMultiplikation, 256, 256, 256, 256, true), 256);
    EXPECT_EQ(rotationMaskCell(ModeSub, 100, 30, 20, 256, true), 90);  // |30 - 100 - 20|
}

TEST(ObjektMakerCombine, ModByZeroGivesZeroInsteadOfFailing)
{
    EXPECT_EQ(combineCell(ModeMod, -1, 20, 256), 0);
    EXPECT_EQ(rotationMaskCell(ModeMod, -1, 20, 1, 256, false), 0);
    EXPECT_EQ(rotationMaskCell(ModeMod, 10, 22, -1, 256, true), 0);
}

TEST(ObjektMakerCombine, ValuesOutsideSixteenBitsSaturate)
{
    EXPECT_EQ(combineCell(ModeMultiplikation, 32767, 32767, 256), 32767);
    EXPECT_EQ(combineCell(ModeAdd, -32768, -32768, 256), -32768);
}

TEST(ObjektMakerResult, FullProfilesAndWhiteMaskGive512ThenAWhitePicture)
{
    Grid grid;
    computeResult(grid, constant(256), constant(256), greyMask(255), {ModeAdd, 0, false, false});
    EXPECT_EQ(grid(0, 0), 512);
    EXPECT_EQ(grid(255, 255), 512);
    EXPECT_EQ(grid(256, 100), 0);  // outside the mask, z = -1/65536
    const QImage pic = DrawResult(grid, false);
    EXPECT_EQ(grid(17, 200), 256);
    EXPECT_EQ(greyAt(pic, 17, 200), 255);

    // Row 256 is computed too; there z rounds to 0 and OR gives 256 or 127.
    computeResult(grid, ramp(), constant(127), greyMask(255), {ModeOr, 0, false, false});
    EXPECT_EQ(grid(256, 256), 383);
}

TEST(ObjektMakerResult, RotationOfARampIsACone)
{
    Grid grid;
    computeResult(grid, ramp(), constant(0), greyMask(0), {ModeAdd, 1, false, false});
    EXPECT_EQ(grid(128, 128), 128);
    EXPECT_EQ(grid(129, 128), 128);  // distance 1 takes the centre's value
    EXPECT_EQ(grid(131, 132), 124);  // distance 5: 129 - 5
    EXPECT_EQ(grid(131, 129), 126);  // distance 3.162: k = 125.84 rounds up
    EXPECT_EQ(grid(218, 218), 2);    // distance 127.279: k = 1.72 rounds up
    EXPECT_EQ(grid(256, 128), 1);    // distance 128
    EXPECT_EQ(grid(128 + 91, 128 + 91), 0);  // distance 128.7
    EXPECT_EQ(grid(0, 0), 0);
    EXPECT_EQ(grid(256, 256), 0);
}

TEST(ObjektMakerResult, RotationMaskWeightsTheBodyButNotRowAndColumn256)
{
    Grid grid;
    // Grey 128 is z = 128.50195; the body is 100 wherever it reaches.
    computeResult(grid, constant(100), constant(50), greyMask(128), {ModeAdd, 1, true, false});
    EXPECT_EQ(grid(128, 128), 76);  // 128.50195 * (50 + 100 + 1) / 256 = 75.8
    EXPECT_EQ(grid(0, 0), 26);      // outside the body: 128.50195 * 51 / 256 = 25.6
    EXPECT_EQ(grid(256, 128), 100);

    // Across: y is the row's Y value, c the column's. A white mask is just
    // under 256: 255.996 * (100 + 100 + 200) / 256 = 399.99.
    computeResult(grid, constant(100), ramp(), greyMask(255), {ModeAdd, 1, true, true});
    EXPECT_EQ(grid(200, 100), 400);
}

TEST(ObjektMakerResult, MaximumIgnoresRowAndColumn256SoDrawingTwiceIsStable)
{
    Grid grid;
    grid(0, 0) = 128;
    grid(256, 0) = 1000;
    grid(10, 256) = 2000;
    DrawResult(grid, false);
    EXPECT_EQ(grid(0, 0), 256);
    const QImage again = DrawResult(grid, false);
    EXPECT_EQ(grid(0, 0), 256);
    EXPECT_EQ(greyAt(again, 0, 0), 255);
    EXPECT_EQ(grid(256, 0), 1000);
}

TEST(ObjektMakerResult, ImplicationNormalisesIntoSixteenBitsAsABlackPicture)
{
    Grid grid;
    computeResult(grid, constant(0), constant(0), greyMask(255), {ModeImplication, 0, false, false});
    EXPECT_EQ(grid(5, 5), -1);
    grid(6, 6) = -200;
    const QImage pic = DrawResult(grid, false);
    EXPECT_EQ(grid(5, 5), -256);
    EXPECT_EQ(grid(6, 6), -32768);
    EXPECT_EQ(greyAt(pic, 6, 6), 0);
}

TEST(ObjektMakerResult, ThreeDHeightsAreQuarterCellsMirroredAndLeaveTheGrid)
{
    Grid grid;
    grid(253, 2) = 256;  // a = 2, b = 2 is the last write to H(0, 0)
    grid(255, 0) = 400;  // a = 0 is overwritten by a = 1 and 2
    grid(0, 255) = 100;  // a = 255, b = 255 gives H(64, 64)
    const HeightArray h = resultHeights3D(grid);
    EXPECT_EQ(h(0, 0), 64);
    EXPECT_EQ(h(64, 64), 25);
    const Grid before = grid;
    DrawResult(grid, true);
    EXPECT_EQ(grid, before);
}

TEST(ObjektMakerResult, PreviewUsesTheStateAndClearsMaskChanged)
{
    State s;
    Controls c;
    s.XProfile = constant(256);
    s.YProfile = constant(256);
    s.MaskChanged = true;
    c.Mask = greyMask(255);
    const QImage pic = cmdPreview(s, c);
    EXPECT_FALSE(s.MaskChanged);
    EXPECT_EQ(s.ObjectGrid(1, 1), 256);
    EXPECT_EQ(greyAt(pic, 1, 1), 255);
}

TEST(ObjektMakerMask, ValuesReadAsColourOver65536AndMinusOneOutside)
{
    QImage m = greyMask(0);
    m.setPixel(3, 4, qRgb(128, 128, 128));
    m.setPixel(5, 6, qRgb(1, 0, 2));  // 0x020001
    const MaskReader r(m);
    EXPECT_DOUBLE_EQ(r.value(3, 4), 128.0 * 65793.0 / 65536.0);
    EXPECT_DOUBLE_EQ(r.value(5, 6), 131073.0 / 65536.0);
    EXPECT_DOUBLE_EQ(r.value(256, 0), -1.0 / 65536.0);
    EXPECT_EQ(r.rounded(3, 4), 129);
    EXPECT_EQ(maskGreyForStored(127), 127);
    EXPECT_EQ(maskGreyForStored(129), 128);
    EXPECT_EQ(maskGreyForStored(256), 255);
    EXPECT_EQ(maskGreyForStored(-7), 0);
    EXPECT_EQ(maskGreyForStored(4000), 255);
}

TEST(ObjektMakerMask, ShapesAndClearingAreOnBlack)
{
    QImage m = greyMask(200);
    drawMaskShape(m, 1);
    EXPECT_EQ(m.pixel(127, 127), qRgb(255, 255, 255));
    EXPECT_EQ(m.pixel(247, 127), qRgb(255, 255, 255));  // radius 120
    EXPECT_EQ(m.pixel(248, 127), qRgb(0, 0, 0));
    EXPECT_EQ(m.pixel(2, 2), qRgb(0, 0, 0));
    drawMaskShape(m, 11);
    EXPECT_EQ(m.pixel(127, 10), qRgb(255, 255, 255));
    EXPECT_EQ(m.pixel(10, 127), qRgb(255, 255, 255));
    EXPECT_EQ(m.pixel(20, 20), qRgb(0, 0, 0));
    drawMaskShape(m, 3);
    EXPECT_EQ(m.pixel(128, 128), qRgb(254, 254, 254));
    EXPECT_EQ(m.pixel(2, 100), qRgb(2, 2, 2));
    fillMask(m);
    clearMask(m);
    EXPECT_EQ(m.pixel(100, 100), qRgb(0, 0, 0));
}

TEST(ObjektMakerMask, PenDotIsPenWidthPlusOneAcross)
{
    QImage m = greyMask(0);
    paintMaskDot(m, 100, 100, 0, penGrey(0));
    EXPECT_EQ(m.pixel(100, 100), qRgb(255, 255, 255));
    EXPECT_EQ(m.pixel(101, 100), qRgb(0, 0, 0));
    m = greyMask(0);
    paintMaskDot(m, 128, 128, penWidthFromSlider(0), penGrey(55));
    EXPECT_EQ(m.pixel(64, 128), qRgb(200, 200, 200));
    EXPECT_EQ(m.pixel(192, 128), qRgb(200, 200, 200));
    EXPECT_EQ(m.pixel(63, 128), qRgb(0, 0, 0));
    EXPECT_EQ(m.pixel(193, 128), qRgb(0, 0, 0));
}

TEST(ObjektMakerProfiles, SmoothingARampChangesItsEndsOnly)
{
    Profile p{};
    GenerateProfile(13, p);
    GenerateProfile(SmoothPreset, p);
    // Worked by hand: forwards 2, 2, 3, 3, 4, 5 ... 253, 254, 254, 254; then backwards.
    const int start[] = {2, 3, 3, 3, 4, 5, 6};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(p[size_t(i)], start[i]) << i;
    EXPECT_EQ(p[100], 100);
    EXPECT_EQ(p[253], 253);
    EXPECT_EQ(p[254], 253);
    EXPECT_EQ(p[255], 254);
    EXPECT_EQ(p[256], 254);

    Profile flat = constant(77);
    smoothProfile(flat);
    EXPECT_EQ(flat, constant(77));
}

TEST(ObjektMakerProfiles, SmoothingReadsTheValuesItHasJustSmoothed)
{
    // A single peak of 100 at index 10. Forwards, each mean takes in the
    // points already smoothed: 8 -> 20, 9 -> (20 + 100) / 5 = 24, 10 -> 144 / 5
    // = 28.8 -> 29, 11 -> 53 / 5 -> 11, 12 -> 8, 13 -> 4, 14 -> 2, 15 -> 1,
    // 16 -> 1. Backwards likewise from the top: 16 -> 1, 15 -> 2, 14 -> 3,
    // 13 -> 6, 12 -> 11, 11 -> 16, 10 -> 20, 9 -> 16, 8 -> 11, 7 -> 5, 6 -> 3,
    // 5 -> 2, 4 -> 1, 3 -> 1, and 2 -> 2 / 4, a half, rounds to 0.
    Profile p{};
    p[10] = 100;
    smoothProfile(p);
    const int16_t expected[] = {0, 0, 0, 1, 1, 2, 3, 5, 11, 16, 20, 16, 11, 6, 3, 2, 1, 0, 0};
    for (int i = 0; i < 19; ++i) EXPECT_EQ(p[size_t(i)], expected[i]) << i;
}

TEST(ObjektMakerProfiles, PresetsOnTheirMarks)
{
    Profile p = constant(9);
    GenerateProfile(1, p);  // 3..254 only: sin(3 / 80) * 255 = 9.56, sin(1) * 255 = 214.58
    EXPECT_EQ(p[2], 9);
    EXPECT_EQ(p[3], 10);
    EXPECT_EQ(p[80], 215);
    EXPECT_EQ(p[254], 0);
    EXPECT_EQ(p[255], 9);
    GenerateProfile(8, p);
    EXPECT_EQ(p[128], 256);
    EXPECT_EQ(p[64], 128);
    EXPECT_EQ(p[192], 128);
    GenerateProfile(6, p);
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[8], 16);
    EXPECT_EQ(p[121], 256);
    EXPECT_EQ(p[135], 256);
    EXPECT_EQ(p[120], 240);
    GenerateProfile(12, p);
    EXPECT_EQ(p[127], 125);
    EXPECT_EQ(p[253], 0);
    const Profile before = p;
    GenerateProfile(0, p);
    EXPECT_EQ(p, before);
}

TEST(ObjektMakerProfiles, RandomStepsAreBlocksOfSixteenAndMoreUpToIndex296)
{
    // Random, so checked over many draws. Blocks at least 16 wide follow each
    // other from index 0 (a block starting at exactly .5 writes every other
    // index: they round halves to even); the last starts by 248, so it ends
    // at 247 or later, and it may run on past 256.
    bool pastEnd = false;
    for (int run = 0; run < 100; ++run) {
        Profile p{};
        std::fill(p.begin(), p.begin() + 257, int16_t(-1));
        std::fill(p.begin() + 257, p.end(), int16_t(7777));
        GenerateProfile(10, p);
        const auto written = [&](int i) { return p[size_t(i)] != (i <= 256 ? -1 : 7777); };
        int end = ProfileLength - 1;
        while (!written(end)) --end;
        ASSERT_GE(end, 247);
        ASSERT_LT(end, 297);
        pastEnd |= end > 256;
        for (int start = 0, k = 1; k <= end + 1; ++k) {
            if (k <= end && (!written(k) || p[size_t(k)] == p[size_t(start)])) continue;
            ASSERT_GE(k - start, 16) << "block at " << start;
            ASSERT_TRUE(p[size_t(start)] >= 0 && p[size_t(start)] <= 256) << start;
            start = k;
        }
    }
    EXPECT_TRUE(pastEnd);
}

TEST(ObjektMakerProfiles, EveryPresetReseedsTheProgramSequence)
{
    rt::Randomize(1);
    const float first = rt::Rnd();
    rt::Randomize(1);
    Profile p{};
    GenerateProfile(13, p);
    EXPECT_NE(rt::Rnd(), first);
}

TEST(ObjektMakerProfiles, EditsStayWithinSixteenBits)
{
    Profile p = constant(256);
    invertProfile(p);
    EXPECT_EQ(p, constant(0));
    invertProfile(p);
    EXPECT_EQ(p, constant(256));
    p[5] = -32768;
    invertProfile(p);
    EXPECT_EQ(p[5], 32767);
}

TEST(ObjektMakerProfiles, MouseDrawingMapsTheEdgesAndMirrors)
{
    Profile p{};
    drawProfileAt(p, 3, 256, false);
    EXPECT_EQ(p[3], 0);
    drawProfileAt(p, 3, 0, false);
    EXPECT_EQ(p[3], 256);
    const DrawnColumns d = drawProfileAt(p, 10, 56, true);
    EXPECT_EQ(p[10], 200);
    EXPECT_EQ(p[246], 200);
    EXPECT_EQ(d.second, 246);
    drawProfileAt(p, 999, -5, false);  // clamped to (256, 0)
    EXPECT_EQ(p[256], 256);

    // "Rotation X" mirrors the left half onto 128..256, the last index too.
    State s;
    s.XProfile = ramp();
    setRotationX(s, 1);
    EXPECT_EQ(s.XProfile[200], 56);
    EXPECT_EQ(s.XProfile[256], 0);
}

TEST(ObjektMakerProfiles, FromZReadsTheCentreRowAndColumnAsTheFileStoresThem)
{
    // A white centre row and a grey 200 centre column; index 256 lies outside.
    QImage m = greyMask(0);
    for (int k = 0; k < 256; ++k) {
        m.setPixel(k, 127, qRgb(255, 255, 255));
        m.setPixel(127, k, qRgb(200, 200, 200));
    }
    Profile a = constant(9);
    Profile b = constant(9);
    profileFromMaskRow(a, m);
    profileFromMaskColumn(b, m);
    EXPECT_EQ(a[0], 256);
    EXPECT_EQ(a[127], 201);
    EXPECT_EQ(a[255], 256);
    EXPECT_EQ(a[256], 0);
    EXPECT_EQ(b[0], 201);
    EXPECT_EQ(b[255], 201);
    EXPECT_EQ(b[256], 0);
}

} // namespace
