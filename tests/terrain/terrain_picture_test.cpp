// The palette, the height classes, and the conversions terrain -> picture and
// picture -> terrain with their rounding, progress and busy rules.

#include "runtime/ByteIO.h"
#include "terrain/Palette.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/TerrainPicture.h"
#include "tests/support/NotAFile.h"
#include "tests/support/Metafiles.h"
#include "tests/support/ScriptedUi.h"
#include "tests/terrain/CurrentTerrainFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QRgb rgbHex(uint32_t v)
{
    return qRgb(int((v >> 16) & 0xFF), int((v >> 8) & 0xFF), int(v & 0xFF));
}

} // namespace

// --- palette -------------------------------------------------------------------

TEST(Palette, StopsHoldTheirColoursInEveryScheme)
{
    LoadPalette();
    EXPECT_EQ(Palette[0][0], rgbHex(0x000000));
    EXPECT_EQ(Palette[16][0], rgbHex(0x0A0A0A));
    EXPECT_EQ(Palette[240][0], rgbHex(0xF2F2F2));
    EXPECT_EQ(Palette[255][0], rgbHex(0xFCFBFB));
    EXPECT_EQ(Palette[0][1], rgbHex(0x71531C));
    EXPECT_EQ(Palette[128][2], rgbHex(0xBAA82F));
    EXPECT_EQ(Palette[64][3], rgbHex(0x472D5C));
    EXPECT_EQ(Palette[112][4], rgbHex(0x00B4FF));
    EXPECT_EQ(Palette[208][5], rgbHex(0xDDA36A));
    EXPECT_EQ(Palette[32][6], rgbHex(0x721348));
    EXPECT_EQ(Palette[255][7], rgbHex(0xFEFEF3));
    EXPECT_EQ(Palette[240][7], rgbHex(0xFEFCC6));
}

TEST(Palette, ColoursRunLinearlyBetweenStops)
{
    LoadPalette();
    // 000000 -> 0A0A0A over 16 classes: class 8 is half way.
    EXPECT_EQ(Palette[8][0], rgbHex(0x050505));
    // FF0004 -> FF006F: blue 4 + 107 / 2 = 57.5, rounded up.
    EXPECT_EQ(Palette[8][4], qRgb(0xFF, 0x00, 58));
    // The last span is 15 classes wide (240..255): F2 -> FC grey ends exactly.
    EXPECT_EQ(qRed(Palette[254][0]), 0xFC - 1);
    // Greyscale never gets darker with height.
    for (int c = 1; c <= PaletteCount; ++c) EXPECT_GE(qGreen(Palette[c][0]), qGreen(Palette[c - 1][0])) << c;
}

TEST(Palette, PictureShowsClassesAcrossAndSchemesDown)
{
    LoadPalette();
    const QImage pic = PalettePicture();
    ASSERT_EQ(pic.size(), QSize(256, 8));
    EXPECT_EQ(pic.pixel(0, 0), Palette[0][0]);
    EXPECT_EQ(pic.pixel(200, 5), Palette[200][5]);
    EXPECT_EQ(pic.pixel(255, 7), Palette[255][7]);
}

TEST(Palette, HeightClassTruncatesAndClamps)
{
    EXPECT_EQ(heightClass(-32768), 0);
    EXPECT_EQ(heightClass(-32513), 0);
    EXPECT_EQ(heightClass(-32512), 1);
    EXPECT_EQ(heightClass(0), 128);
    EXPECT_EQ(heightClass(32767), 255);
    // Below the range the quotient truncates toward zero, then clamps.
    EXPECT_EQ(heightClass(-32769), 0);
    EXPECT_EQ(heightClass(-100000), 0);
    EXPECT_EQ(heightClass(40000), 255);
    EXPECT_EQ(heightClass(INT32_MIN), 0);
    EXPECT_EQ(heightClass(INT32_MAX), 255);
}

// --- colour -> height -----------------------------------------------------------

TEST(ColourToHeight, BlackWhiteAndPureBlue)
{
    EXPECT_EQ(colourToHeight(0), -32767);
    EXPECT_EQ(colourToHeight(16777215), 32769);  // before rescaling
    EXPECT_EQ(colourToHeight(128 * 65536), 1);
    EXPECT_EQ(colourToHeight(-1), -32767);  // "no pixel"
}

TEST(ColourToHeight, HalvesRoundToEven)
{
    EXPECT_EQ(colourToHeight(128), -32766);  // -32766.5
    EXPECT_EQ(colourToHeight(384), -32766);  // -32765.5
    EXPECT_EQ(colourToHeight(640), -32764);  // -32764.5
    EXPECT_EQ(colourToHeight(129), -32766);  // just above half
}

// --- picture -> terrain ---------------------------------------------------------

using LoadPictureAsTerrainTest = CurrentTerrainFixture;

TEST_F(LoadPictureAsTerrainTest, ReadsEveryPixelAndTheSpareRowAsNoPixel)
{
    QImage pic(3, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) pic.setPixel(x, y, qRgb(0, 0, 30 * (y * 3 + x)));
    pic.setPixel(2, 1, qRgb(255, 255, 255));
    clsTerrain ter;
    ter.Init(3);

    LoadPictureAsTerrain(pic, ter);

    EXPECT_EQ(ter.GetPoint(0, 0), -32767);
    EXPECT_EQ(ter.GetPoint(1, 0), 30 * 256 - 32767);
    EXPECT_EQ(ter.GetPoint(2, 2), 240 * 256 - 32767);
    EXPECT_EQ(ter.GetPoint(2, 1), 32769);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(ter.row(3)[x], -32767) << x;  // row YPoints
    EXPECT_FALSE(rt::BusyFlag);
    // Progress goes to the terrain read into, not to the current one.
    EXPECT_EQ(ter.pProgress, 100);
    EXPECT_EQ(current.pProgress, 0);
    EXPECT_TRUE(scriptedUi().statusTexts.contains(QStringLiteral("Read Picture....")));
}

TEST_F(LoadPictureAsTerrainTest, PixelsOutsideASmallerPictureReadAsNoPixel)
{
    QImage pic(2, 2, QImage::Format_RGB32);
    pic.fill(qRgb(0, 0, 128));
    clsTerrain ter;
    ter.Init(3);

    LoadPictureAsTerrain(pic, ter);

    EXPECT_EQ(ter.GetPoint(1, 1), 1);
    EXPECT_EQ(ter.GetPoint(2, 0), -32767);
    EXPECT_EQ(ter.GetPoint(0, 2), -32767);
}

TEST_F(LoadPictureAsTerrainTest, GreyPicturesOfOtherFormatsReadAsTheirColours)
{
    QImage pic(2, 2, QImage::Format_Grayscale8);
    pic.fill(0);
    pic.scanLine(1)[1] = 100;
    clsTerrain ter;
    ter.Init(2);

    LoadPictureAsTerrain(pic, ter);

    // grey 100: c = 100 * 65793, c / 256 = 25700.390625
    EXPECT_EQ(ter.GetPoint(1, 1), 25700 - 32767);
    EXPECT_EQ(ter.GetPoint(0, 1), -32767);
}

// --- terrain -> picture ---------------------------------------------------------

using DrawTerrainToPictureTest = CurrentTerrainFixture;

TEST_F(DrawTerrainToPictureTest, LowestFillDrawsClassZeroAndTopPointClass255)
{
    clsTerrain ter;
    ter.Init(3);
    ter.Fill(-32767);
    ter.SetPoint(1, 2, 32767);
    QImage picback;

    DrawTerrainToPicture(picback, ter);

    ASSERT_EQ(picback.size(), QSize(3, 3));
    EXPECT_EQ(picback.format(), QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(picback.pixel(x, y), (x == 1 && y == 2) ? Palette[255][0] : Palette[0][0]) << x << "," << y;
}

TEST_F(DrawTerrainToPictureTest, ModeOneReportsAndHandsThePictureToTheView)
{
    clsTerrain ter;
    ter.Init(129);
    ter.pProgress = 37;
    current.pProgress = 37;
    QImage picback;

    DrawTerrainToPicture(picback, ter);

    EXPECT_FALSE(rt::BusyFlag);
    EXPECT_EQ(scriptedUi().refreshCount, 1);
    EXPECT_EQ(ter.pProgress, 0);
    EXPECT_EQ(current.pProgress, 37);
    const QStringList expected{QStringLiteral("copy Highmap ..."), QStringLiteral("create Picture ...")};
    EXPECT_EQ(scriptedUi().statusTexts, expected);
}

TEST_F(DrawTerrainToPictureTest, OtherModesOnlyFillPicback)
{
    clsTerrain ter;
    ter.Init(5);
    ter.Fill(32767);
    QImage picback;

    DrawTerrainToPicture(picback, ter, 0, 0, -1, -1, 0);

    EXPECT_EQ(scriptedUi().refreshCount, 0);
    EXPECT_EQ(scriptedUi().statusTexts, QStringList{QStringLiteral("copy Highmap ...")});
    EXPECT_EQ(picback.pixel(4, 4), Palette[255][0]);
}

TEST_F(DrawTerrainToPictureTest, UsesTheChosenSchemeAndSurvivesANonsenseOne)
{
    clsTerrain ter;
    ter.Init(2);
    QImage picback;

    PaletteRow = 3;
    DrawTerrainToPicture(picback, ter);
    EXPECT_EQ(picback.pixel(0, 0), Palette[128][3]);

    PaletteRow = 99;
    DrawTerrainToPicture(picback, ter);
    EXPECT_EQ(picback.pixel(0, 0), Palette[128][7]);
}

TEST_F(DrawTerrainToPictureTest, AWindowDrawsOnlyItsPointsOnACleanPicture)
{
    clsTerrain ter;
    ter.Init(4);
    ter.Fill(32767);
    QImage picback(4, 4, QImage::Format_RGB32);
    picback.fill(qRgb(1, 2, 3));

    DrawTerrainToPicture(picback, ter, 1, 2, 1, 0, 1);

    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool inWindow = y == 2 && (x == 1 || x == 2);
            EXPECT_EQ(picback.pixel(x, y), inWindow ? Palette[255][0] : qRgb(0, 0, 0)) << x << "," << y;
        }
}

TEST_F(DrawTerrainToPictureTest, WindowBeyondThePictureIsClipped)
{
    clsTerrain ter;
    ter.Init(3);
    ter.Fill(32767);
    QImage picback;

    DrawTerrainToPicture(picback, ter, -5, -5, 100, 100, 0);

    EXPECT_EQ(picback.pixel(0, 0), Palette[255][0]);
    EXPECT_EQ(picback.pixel(2, 2), Palette[255][0]);
}

// --- picture files --------------------------------------------------------------

TEST(PictureFiles, LoadPictureReadsABitmapUnderAnyNameAndCase)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(QDir(tmp.path()).mkdir(QStringLiteral("PS")));
    QImage img(3, 2, QImage::Format_RGB32);
    img.fill(qRgb(10, 20, 30));
    ASSERT_TRUE(img.save(tmp.filePath(QStringLiteral("PS/Pattern.flt")), "BMP"));

    QString error;
    const QImage back = LoadPicture(tmp.filePath(QStringLiteral("ps/PATTERN.FLT")), &error);

    ASSERT_FALSE(back.isNull()) << error.toStdString();
    EXPECT_EQ(back.size(), QSize(3, 2));
    EXPECT_EQ(back.pixel(2, 1), qRgb(10, 20, 30));
}

TEST(PictureFiles, LoadPictureGivesANullImageAndAReasonForBadFiles)
{
    QTemporaryDir tmp;
    QFile f(tmp.filePath(QStringLiteral("broken.bmp")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("BM not really a bitmap");
    f.close();

    QString error;
    EXPECT_TRUE(LoadPicture(f.fileName(), &error).isNull());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(LoadPicture(tmp.filePath(QStringLiteral("missing.png")), &error).isNull());
}

// A bitmap whose header asks for 12000 x 12000 pixels: the reader refuses
// it for its memory limit, and the message says the picture is too large.
TEST(PictureFiles, AHugeBitmapIsRefusedAsTooLarge)
{
    QTemporaryDir tmp;
    QByteArray b("BM");
    const auto w16 = [&](int v) { b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    const auto w32 = [&](uint32_t v) { w16(int(v & 0xFFFF)); w16(int(v >> 16)); };
    w32(54 + 36000u * 12000u);
    w32(0);
    w32(54);
    w32(40);
    w32(12000);
    w32(12000);
    w16(1);
    w16(24);
    for (int i = 0; i < 6; ++i) w32(0);
    QFile f(tmp.filePath(QStringLiteral("huge.bmp")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(b);
    f.close();
    QString error;
    EXPECT_TRUE(LoadPicture(f.fileName(), &error).isNull());
    EXPECT_EQ(error, QStringLiteral("The picture is too large to read (12000 x 12000 pixels)."));
}

TEST(PictureFiles, LoadPictureDrawsAWindowsMetafileAtItsOwnSize)
{
    QTemporaryDir tmp;
    QFile f(tmp.filePath(QStringLiteral("Box.WMF")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(redRectangleMetafile());
    f.close();

    QString error;
    const QImage img = LoadPicture(f.fileName(), &error);
    ASSERT_FALSE(img.isNull()) << error.toStdString();
    EXPECT_EQ(img.size(), QSize(8, 4));
    EXPECT_EQ(img.pixel(3, 2), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(4, 1), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(7, 3), qRgb(255, 255, 255));
}

TEST(PictureFiles, ACutMetafileIsRefusedWithTheFormatNamed)
{
    QTemporaryDir tmp;
    QFile f(tmp.filePath(QStringLiteral("cut.wmf")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(redRectangleMetafile(30));
    f.close();

    QString error;
    EXPECT_TRUE(LoadPicture(f.fileName(), &error).isNull());
    EXPECT_TRUE(error.contains(QStringLiteral("metafile"))) << error.toStdString();
}

// A file that starts like a metafile is not read whole when it is larger
// than any picture file the program reads (a sparse file: no disk is used).
TEST(PictureFiles, AnOversizedMetafileIsRefusedBeforeItIsRead)
{
    QTemporaryDir tmp;
    QFile f(tmp.filePath(QStringLiteral("huge.wmf")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(redRectangleMetafile());
    ASSERT_TRUE(f.resize(rt::kReadWholeLimit + 1));
    f.close();

    QString error;
    EXPECT_TRUE(LoadPicture(f.fileName(), &error).isNull());
    EXPECT_TRUE(error.contains(QStringLiteral("too large"))) << error.toStdString();
}

// A folder, a pipe or a device where a picture is expected is named as what
// it is; the pipe is never opened (that would block the window).
TEST(PictureFiles, WhatIsNoFileIsNamedAndAPipeNeverOpened)
{
    QTemporaryDir tmp;
    const NotAFilePaths paths(tmp.path());
    ASSERT_TRUE(paths.made());
    for (const auto& [path, reason] : paths.cases()) {
        QString error;
        EXPECT_TRUE(LoadPicture(path, &error).isNull());
        EXPECT_EQ(error, reason);
    }
    EXPECT_EQ(paths.pipeOpened(), 0);
}

TEST(PictureFiles, FindPathNoCasePrefersTheExactNameAndKeepsUnknownPaths)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(QDir(tmp.path()).mkpath(QStringLiteral("Sub/Deep")));
    QFile(tmp.filePath(QStringLiteral("Sub/Deep/a.TXT"))).open(QIODevice::WriteOnly);

    EXPECT_EQ(findPathNoCase(tmp.filePath(QStringLiteral("sub/DEEP/A.txt"))), tmp.filePath(QStringLiteral("Sub/Deep/a.TXT")));
    EXPECT_EQ(findPathNoCase(tmp.filePath(QStringLiteral("Sub/Deep/a.TXT"))), tmp.filePath(QStringLiteral("Sub/Deep/a.TXT")));
    EXPECT_EQ(findPathNoCase(tmp.filePath(QStringLiteral("sub/none.txt"))), tmp.filePath(QStringLiteral("sub/none.txt")));
}
