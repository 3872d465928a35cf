// Metafiles drawn through the drawer program, as the editor reads them:
// each record kind at hand-worked sample points, and the map modes.

#include "runtime/Picture.h"
#include "tests/support/Metafiles.h"
#include "tests/support/ScriptedUi.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <vector>

using namespace wmf;

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF, kBlack = 0xFF000000, kRed = 0xFFFF0000, kGreen = 0xFF00FF00,
               kBlue = 0xFF0000FF, kYellow = 0xFFFFFF00;

struct Sample {
    int x, y;
    QRgb colour;
};

struct DrawingCase {
    const char* name;
    QByteArray file;
    QSize size;
    std::vector<Sample> samples;
};

void PrintTo(const DrawingCase& c, std::ostream* os) { *os << c.name; }

// Four quadrants of a window 1000 units wide, red, green, blue, yellow.
std::vector<WmfRecord> quadrants(std::vector<WmfRecord> records)
{
    records.insert(records.end(), {nullPen(), select(0)});
    const QRgb colours[] = {kRed, kGreen, kBlue, kYellow};
    for (int i = 0; i < 4; ++i) {
        const int x = i % 2 * 500, y = i / 2 * 500;
        records.insert(records.end(), {solidBrush(colours[i]), select(1), rectangle(x, y, x + 500, y + 500), remove(1)});
    }
    return records;
}

// A red shape, no outline, on a 100 x 100 frame at one unit a pixel.
QByteArray redShape(const WmfRecord& shape)
{
    return metafile({windowOrg(0, 0), windowExt(100, 100), nullPen(), select(0), solidBrush(kRed), select(1), shape},
                    QRect(0, 0, 100, 100));
}

class MetafileDrawing : public testing::TestWithParam<DrawingCase> {};

} // namespace

TEST_P(MetafileDrawing, DrawsEachRecordAtItsPlace)
{
    const DrawingCase& c = GetParam();
    QString error;
    const QImage picture = rt::readMetafile(c.file, &error);
    ASSERT_FALSE(picture.isNull()) << error.toStdString();
    EXPECT_EQ(picture.size(), c.size);
    for (const Sample& s : c.samples)
        EXPECT_EQ(picture.pixel(s.x, s.y), s.colour) << "at " << s.x << ", " << s.y;
}

INSTANTIATE_TEST_SUITE_P(
    Records, MetafileDrawing,
    testing::Values(
        // The frame of a placeable metafile is drawn whole, margins and all.
        DrawingCase{"PlaceableFrame", redRectangleMetafile(), {8, 4}, {{3, 2, kRed}, {0, 0, kWhite}, {7, 3, kWhite}}},
        // Drawing programs map a window of their own onto the frame: 1000
        // units onto 96 pixels (1000 units an inch).
        DrawingCase{"Anisotropic",
                    metafile(quadrants({mapMode(8), windowOrg(0, 0), windowExt(1000, 1000)}), QRect(0, 0, 1000, 1000), 1000),
                    {96, 96},
                    {{24, 24, kRed}, {72, 24, kGreen}, {24, 72, kBlue}, {72, 72, kYellow}}},
        // A window with y upwards: the first quadrant drawn lies at the bottom.
        DrawingCase{"AnisotropicYUp",
                    metafile(quadrants({mapMode(8), windowOrg(0, 1000), windowExt(1000, -1000)}), QRect(0, 0, 1000, 1000), 1000),
                    {96, 96},
                    {{24, 72, kRed}, {72, 72, kGreen}, {24, 24, kBlue}, {72, 24, kYellow}}},
        // A window twice the drawing: the drawing fills the top-left quarter.
        DrawingCase{"WindowLargerThanDrawing",
                    metafile({mapMode(8), windowOrg(0, 0), windowExt(2000, 2000), nullPen(), select(0), solidBrush(kRed),
                              select(1), rectangle(0, 0, 1000, 1000)},
                             QRect(0, 0, 1000, 1000), 1000),
                    {96, 96},
                    {{24, 24, kRed}, {60, 24, kWhite}, {24, 60, kWhite}}},
        // Without a placeable header the picture is what the records cover:
        // 1025 twips (libwmf's unit then) at 96 dots an inch.
        DrawingCase{"Plain", metafile(quadrants({mapMode(8), windowOrg(0, 0), windowExt(1000, 1000)})), {68, 68},
                    {{17, 17, kRed}, {51, 17, kGreen}, {17, 51, kBlue}, {51, 51, kYellow}}},
        // A white disc of radius 8 about (16, 16) on black.
        DrawingCase{"Ellipse",
                    metafile({windowOrg(0, 0), windowExt(32, 32), nullPen(), select(0), solidBrush(kBlack), select(1),
                              rectangle(0, 0, 32, 32), solidBrush(kWhite), select(2), ellipse(8, 8, 24, 24)},
                             QRect(0, 0, 32, 32)),
                    {32, 32},
                    {{16, 16, kWhite}, {16, 10, kWhite}, {9, 9, kBlack}, {22, 22, kBlack}, {2, 16, kBlack}}},
        // Circle about (50, 50), radius 40, from the right counter-clockwise to
        // the top: the upper-right quarter.
        DrawingCase{"Pie",
                    redShape(arc(kPie, 10, 10, 90, 90, 100, 50, 50, 0)),
                    {100, 100},
                    {{65, 35, kRed}, {75, 25, kRed}, {35, 35, kWhite}, {35, 65, kWhite}, {65, 65, kWhite}}},
        // The same quarter cut by the line from (50, 10) to (90, 50).
        DrawingCase{"Chord",
                    redShape(arc(kChord, 10, 10, 90, 90, 100, 50, 50, 0)),
                    {100, 100},
                    {{75, 25, kRed}, {65, 35, kWhite}, {35, 35, kWhite}}},
        // Only the curve, in a pen 6 units wide: it passes (78, 22) at 45
        // degrees, not the opposite (22, 78).
        DrawingCase{"Arc",
                    metafile({windowOrg(0, 0), windowExt(100, 100), pen(kBlue, 6), select(0),
                              arc(kArc, 10, 10, 90, 90, 100, 50, 50, 0)},
                             QRect(0, 0, 100, 100)),
                    {100, 100},
                    {{78, 22, kBlue}, {22, 78, kWhite}, {50, 50, kWhite}, {89, 50, kBlue}, {50, 11, kBlue}}},
        // Corners of 40 units: the corner pixel of the box stays white.
        DrawingCase{"RoundRect", redShape(roundRect(10, 10, 90, 90, 40, 40)), {100, 100},
                    {{50, 50, kRed}, {12, 50, kRed}, {11, 11, kWhite}, {88, 88, kWhite}}},
        DrawingCase{"Polygon", redShape(polygon({{10, 10}, {90, 10}, {10, 90}})), {100, 100},
                    {{20, 20, kRed}, {45, 45, kRed}, {80, 80, kWhite}, {60, 60, kWhite}}},
        // A square with a square hole: the hole is outside (alternate filling).
        DrawingCase{"PolyPolygon",
                    redShape(polyPolygon({{{10, 10}, {90, 10}, {90, 90}, {10, 90}}, {{30, 30}, {70, 30}, {70, 70}, {30, 70}}})),
                    {100, 100},
                    {{20, 20, kRed}, {80, 50, kRed}, {50, 50, kWhite}}},
        // A 2 x 2 bitmap stretched over (10, 10)-(50, 50): red, white above,
        // blue, green below.
        DrawingCase{"StretchDib",
                    metafile({windowOrg(0, 0), windowExt(100, 100),
                              stretchDib(10, 10, 40, 40, {{kRed, kWhite}, {kBlue, kGreen}})},
                             QRect(0, 0, 100, 100)),
                    {100, 100},
                    {{15, 15, kRed}, {45, 15, kWhite}, {15, 45, kBlue}, {45, 45, kGreen}, {5, 5, kWhite}, {55, 55, kWhite}}}),
    [](const testing::TestParamInfo<DrawingCase>& info) { return std::string(info.param.name); });

namespace {

// The bounding box of the pixels of this colour; empty when there are none.
QRect extentOf(const QImage& picture, QRgb colour)
{
    QRect box;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) == colour) box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

// Text in a 40-pixel font, once left-aligned at the top from (10, 10) and
// once right-aligned on its baseline at (190, 90): each lies on its side of
// its point, whatever font stands in for the face named.
TEST(MetafileText, LiesOnItsSideOfItsPoint)
{
    const QByteArray file =
        metafile({windowOrg(0, 0), windowExt(200, 100), font(40, "Arial"), select(0), transparentText(),
                  textColour(kBlue), textOut(10, 10, "HH"), textColour(kRed), textAlign(2 | 24), textOut(190, 90, "HH")},
                 QRect(0, 0, 200, 100));
    QString error;
    const QImage picture = rt::readMetafile(file, &error);
    ASSERT_FALSE(picture.isNull()) << error.toStdString();
    const QRect left = extentOf(picture, kBlue), right = extentOf(picture, kRed);
    ASSERT_FALSE(left.isEmpty());
    ASSERT_FALSE(right.isEmpty());
    // Capitals 40 pixels high stand 25 to 40 pixels tall.
    EXPECT_GE(left.height(), 25);
    EXPECT_LE(left.height(), 40);
    EXPECT_GE(left.left(), 10);
    EXPECT_LE(left.left(), 16);
    EXPECT_GE(left.top(), 10);
    EXPECT_LE(left.top(), 22);
    EXPECT_LE(right.right(), 190);
    EXPECT_GE(right.right(), 182);
    EXPECT_LE(right.bottom(), 90);
    EXPECT_GE(right.bottom(), 87);
}

// A metafile that would keep drawing for a minute is stopped at the time
// limit; the editor pumped its events meanwhile.
TEST(MetafileRefusal, OneThatSpinsIsStoppedAtTheTimeLimit)
{
    QElapsedTimer clock;
    clock.start();
    QString error;
    EXPECT_TRUE(rt::readMetafile(spinningMetafile(), &error).isNull());
    EXPECT_LT(clock.elapsed(), (rt::kMetafileSeconds + 3) * 1000);
    EXPECT_EQ(error, QStringLiteral("The Windows metafile could not be read: drawing it took longer than 5 seconds"));
    EXPECT_GT(scriptedUi().pumpAskedCount, 0);
}

// libwmf's own device divided by the width of a pattern bitmap and took the
// editor down with it; the drawer fills with the brush colour instead.
TEST(MetafileRefusal, APatternBrushOfNoWidthIsDrawnWithoutCrashing)
{
    for (const QSize& size : {QSize(0, 2), QSize(2, 0)}) {
        QString error;
        const QImage picture = rt::readMetafile(
            metafile({windowOrg(0, 0), windowExt(100, 100), dibPatternBrush(size.width(), size.height()), select(0),
                      rectangle(0, 0, 50, 50)},
                     QRect(0, 0, 100, 100)),
            &error);
        ASSERT_FALSE(picture.isNull()) << error.toStdString();
        EXPECT_EQ(picture.pixel(75, 75), kWhite);
    }
}

// A header whose largest record is larger than the file made libwmf set
// aside that much memory (up to 8 GB) before reading a record.
TEST(MetafileRefusal, AHeaderPromisingRecordsLargerThanTheFileIsRefused)
{
    QByteArray file = redRectangleMetafile();
    file[22 + 12] = char(0x00), file[22 + 13] = char(0x60), file[22 + 14] = char(0x00), file[22 + 15] = char(0x60);
    QString error;
    EXPECT_TRUE(rt::readMetafile(file, &error).isNull());
    EXPECT_EQ(error, QStringLiteral("The Windows metafile could not be read: damaged records"));
}
