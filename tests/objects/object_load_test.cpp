// Loading pictures and TER files as placed objects, and the object picture
// helpers: transforms, file names, saving.

#include "objects/mdlObjects.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/clsTerrain.h"
#include "tests/support/ScriptedUi.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace mdlObjects;

namespace {

QImage greyPicture(int w, int h, int grey)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(qRgb(grey, grey, grey));
    return img;
}

class ObjectLoadTest : public testing::Test {
protected:
    QString savePng(const QImage& img, const char* name)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(img.save(path, "PNG"));
        return path;
    }
    QTemporaryDir dir;
    ObjectTable table;
};

TEST_F(ObjectLoadTest, FirstObjectTakesSlotSixNamedObjectOneAtTheCorner)
{
    const QString path = savePng(greyPicture(4, 4, 128), "a.png");
    const auto slot = loadObject(table, path, 256, path);
    ASSERT_EQ(slot, 6);
    const ObjectRecord& r = table.record(6);
    EXPECT_EQ(r.Name, QStringLiteral("Object 1"));
    EXPECT_EQ(r.X, 0);
    EXPECT_EQ(r.Y, 0);
    EXPECT_EQ(r.Mode, ModeAdd);
    EXPECT_EQ(r.H2, 0);
    EXPECT_EQ(r.XSpread, 4);
    EXPECT_EQ(r.YSpread, 4);
    EXPECT_DOUBLE_EQ(r.H1, 128.0 * 65793.0 / 256.0);
    EXPECT_TRUE(table.exists(6));
}

TEST_F(ObjectLoadTest, BlackPictureHasNoHeightAndWhiteTheWholeRange)
{
    EXPECT_EQ(objectHeightScale(greyPicture(3, 3, 0)), 0.0);
    EXPECT_DOUBLE_EQ(objectHeightScale(greyPicture(3, 3, 255)), 16777215.0 / 256.0);
}

TEST_F(ObjectLoadTest, TwentyEighthObjectIsRefusedAsTooMany)
{
    const QString path = savePng(greyPicture(2, 2, 200), "a.png");
    for (int i = 0; i < 27; ++i) ASSERT_EQ(loadObject(table, path, 256), 6 + i);
    EXPECT_EQ(table.record(32).Name, QStringLiteral("Object 27"));
    scriptedUi().expectMsgBox(rt::vbOK);
    EXPECT_FALSE(loadObject(table, path, 256));
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(scriptedUi().messages[0].text, QStringLiteral("to many objects"));
    EXPECT_EQ(scriptedUi().messages[0].style, rt::vbOKOnly);
    EXPECT_EQ(scriptedUi().messages[0].title, QStringLiteral("Load Object"));
}

TEST_F(ObjectLoadTest, PictureNotSquareIsRefusedAndTakesNoSlot)
{
    const QString path = savePng(greyPicture(100, 101, 200), "a.png");
    scriptedUi().expectMsgBox(rt::vbOK);
    EXPECT_FALSE(loadObject(table, path, 256));
    EXPECT_EQ(scriptedUi().messages.at(0).text, QStringLiteral("Object not square !"));
    EXPECT_EQ(scriptedUi().messages.at(0).style, rt::vbCritical);
    EXPECT_EQ(table.count(), 0);
}

TEST_F(ObjectLoadTest, SideUpToTheTerrainSizeLoadsOneMoreIsTooLarge)
{
    EXPECT_EQ(loadObject(table, savePng(greyPicture(256, 256, 9), "a.png"), 256), 6);
    scriptedUi().expectMsgBox(rt::vbOK);
    EXPECT_FALSE(loadObject(table, savePng(greyPicture(257, 257, 9), "b.png"), 256));
    EXPECT_EQ(scriptedUi().messages.at(0).text, QStringLiteral("Object too large!"));
    EXPECT_EQ(table.count(), 1);
}

TEST_F(ObjectLoadTest, UnreadablePictureSaysSoAndPlacesNothing)
{
    const QString path = dir.filePath("broken.bmp");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("BM this is no picture");
    f.close();
    scriptedUi().expectMsgBox(rt::vbOK);
    EXPECT_FALSE(loadObject(table, path, 256));
    EXPECT_EQ(scriptedUi().messages.at(0).style, rt::vbCritical);
    // The file is named beside the reader's reason.
    EXPECT_TRUE(scriptedUi().messages.at(0).text.startsWith(QStringLiteral("The picture cannot be read:\n%1\n").arg(path)));
    EXPECT_EQ(table.count(), 0);
}

TEST_F(ObjectLoadTest, FreedSlotIsTakenAgainWithAFreshRecord)
{
    const QString path = savePng(greyPicture(2, 2, 200), "a.png");
    loadObject(table, path, 256);
    loadObject(table, path, 256);
    table.record(6).Mode = ModeLowest;
    table.release(6);
    EXPECT_EQ(loadObject(table, path, 256), 6);
    EXPECT_EQ(table.record(6).Mode, ModeAdd);
    EXPECT_EQ(table.usedSlots(), (std::vector<int>{6, 7}));
}

// --- TER files as grey pictures ------------------------------------------------------

QByteArray le16(int v)
{
    QByteArray b(2, '\0');
    b[0] = char(v & 0xff);
    b[1] = char((v >> 8) & 0xff);
    return b;
}

// A square TER file of size + 1 points; rows given first to last.
QByteArray terFile(int size, const std::vector<int>& heights, bool withXpts = true)
{
    QByteArray d("TERRAGENTERRAIN ");
    d += "SIZE" + le16(size) + le16(0);
    if (withXpts) d += "XPTS" + le16(size + 1) + le16(0);
    d += "ALTW" + le16(30) + le16(0);
    for (int h : heights) d += le16(h);
    d += "EOF ";
    return d;
}

class TerPictureTest : public ObjectLoadTest {
protected:
    QString writeTer(const QByteArray& bytes)
    {
        const QString path = dir.filePath("t.ter");
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    // The terrain whose progress bar the drawing moves.
    clsTerrain shown;
};

TEST_F(TerPictureTest, FileFirstRowBecomesThePictureBottomRow)
{
    // Rows: first (-32768, 32767), second (0, -32768).
    const QString ter = writeTer(terFile(1, {-32768, 32767, 0, -32768}));
    const QString bmp = dir.filePath("temppic.bmp");
    QImage pic;
    ASSERT_TRUE(LoadTer2Picture(ter, bmp, pic, shown));
    ASSERT_EQ(pic.size(), QSize(2, 2));
    EXPECT_EQ(qRed(pic.pixel(0, 1)), 0);
    EXPECT_EQ(qRed(pic.pixel(1, 1)), 255);
    EXPECT_EQ(qRed(pic.pixel(0, 0)), 128);
    EXPECT_EQ(qRed(pic.pixel(1, 0)), 0);
    const QImage saved(bmp);
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(qRed(saved.pixel(1, 1)), 255);
    EXPECT_EQ(scriptedUi().statusTexts.value(0), QStringLiteral("load Terrain......."));
}

// The drawing lets the window run once per row and shows its progress on
// the terrain it is given, not on whatever CurrentTerrain is, so a 2049-point
// terrain does not freeze the window.
TEST_F(TerPictureTest, DrawingPumpsEventsPerRowWithProgress)
{
    clsTerrain other;
    clsTerrain* const saved = CurrentTerrain;
    CurrentTerrain = &other;
    std::vector<int> progress;
    scriptedUi().onPumpAsked = [&] { progress.push_back(shown.pProgress); };
    QImage pic;
    const bool loaded =
        LoadTer2Picture(writeTer(terFile(4, std::vector<int>(25, 0))), dir.filePath("p.bmp"), pic, shown);
    scriptedUi().onPumpAsked = nullptr;
    CurrentTerrain = saved;
    ASSERT_TRUE(loaded);
    ASSERT_GE(progress.size(), 5u);
    EXPECT_EQ(std::vector<int>(progress.end() - 5, progress.end()), (std::vector<int>{0, 25, 50, 75, 100}));
    EXPECT_EQ(other.pProgress, 0);
}

TEST_F(TerPictureTest, WithoutXptsTheSizeGivesThePoints)
{
    QImage pic;
    ASSERT_TRUE(LoadTer2Picture(writeTer(terFile(1, {0, 0, 0, 0}, false)), dir.filePath("p.bmp"), pic, shown));
    EXPECT_EQ(pic.size(), QSize(2, 2));
}

TEST_F(TerPictureTest, WrongMagicIsNoTerrain)
{
    QByteArray bytes = terFile(1, {0, 0, 0, 0});
    bytes[0] = 'X';
    scriptedUi().expectMsgBox(rt::vbOK);
    QImage pic;
    EXPECT_FALSE(LoadTer2Picture(writeTer(bytes), dir.filePath("p.bmp"), pic, shown));
    EXPECT_EQ(scriptedUi().messages.at(0).text, QStringLiteral("This isn't a Terragen-Terrain !!!!!"));
    EXPECT_FALSE(QFile::exists(dir.filePath("p.bmp")));
}

TEST_F(TerPictureTest, SizeOf2050IsTooBig)
{
    scriptedUi().expectMsgBox(rt::vbOK);
    QImage pic;
    EXPECT_FALSE(LoadTer2Picture(writeTer(terFile(2050, {})), dir.filePath("p.bmp"), pic, shown));
    EXPECT_EQ(scriptedUi().messages.at(0).text, QStringLiteral("Terrain to big"));
    EXPECT_EQ(scriptedUi().messages.at(0).title, QStringLiteral("Load Terrain"));
}

TEST_F(TerPictureTest, ShortFileIsRefusedWithoutReadingPastItsEnd)
{
    QByteArray bytes = terFile(2, std::vector<int>(9, 100));
    bytes.chop(10);  // "EOF " and three heights
    scriptedUi().expectMsgBox(rt::vbOK);
    QImage pic;
    EXPECT_FALSE(LoadTer2Picture(writeTer(bytes), dir.filePath("p.bmp"), pic, shown));
    EXPECT_TRUE(pic.isNull());
}

TEST_F(TerPictureTest, NotSquareOrHugeFilesAreRefusedAsDamaged)
{
    QByteArray notSquare = terFile(1, {0, 0, 0, 0});
    notSquare.insert(32, "YPTS" + le16(3) + le16(0));
    writeTer(terFile(1, {0, 0, 0, 0}));
    ASSERT_TRUE(QFile::resize(dir.filePath("t.ter"), 100LL << 30));  // sparse: costs no disk
    const QString huge = dir.filePath("huge.ter");
    ASSERT_TRUE(QFile::rename(dir.filePath("t.ter"), huge));
    for (const QString& file : {writeTer(notSquare), huge}) {
        scriptedUi().expectMsgBox(rt::vbOK);
        QImage pic;
        EXPECT_FALSE(LoadTer2Picture(file, dir.filePath("p.bmp"), pic, shown));
        EXPECT_EQ(scriptedUi().messages.back().text,
                  QStringLiteral("The terrain is damaged or not square and cannot be loaded."));
    }
}

TEST_F(TerPictureTest, BitmapThatCannotBeWrittenIsReported)
{
    scriptedUi().expectMsgBox(rt::vbOK);
    QImage pic;
    EXPECT_FALSE(LoadTer2Picture(writeTer(terFile(1, {0, 0, 0, 0})), dir.filePath("missing/dir/p.bmp"), pic, shown));
}

// --- transforms --------------------------------------------------------------------------

// 3 x 3 picture whose pixel (x, y) has blue = 10 y + x.
QImage numbered()
{
    QImage img(3, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) img.setPixel(x, y, qRgb(0, 0, 10 * y + x));
    return img;
}

int at(const QImage& img, int x, int y) { return qBlue(img.pixel(x, y)); }

TEST(ObjectTransformTest, EachCommandMapsPixelsAsItsNameSays)
{
    const QImage p = numbered();
    const QImage left = transformObject(p, ObjectTransform::RotateLeft);
    EXPECT_EQ(at(left, 0, 0), 2);  // old (2, 0): top-right goes top-left
    EXPECT_EQ(at(left, 0, 2), 0);
    const QImage right = transformObject(p, ObjectTransform::RotateRight);
    EXPECT_EQ(at(right, 0, 0), 20);  // old (0, 2)
    EXPECT_EQ(at(right, 2, 0), 0);
    EXPECT_EQ(at(transformObject(p, ObjectTransform::ReflectVertical), 0, 1), 12);
    EXPECT_EQ(at(transformObject(p, ObjectTransform::ReflectHorizontal), 1, 0), 21);
    EXPECT_EQ(at(transformObject(p, ObjectTransform::ReflectDiagonal), 2, 0), 20);
}

TEST(ObjectTransformTest, TurnsAndMirrorsUndoEachOther)
{
    const QImage p = numbered();
    QImage q = p;
    for (int i = 0; i < 4; ++i) q = transformObject(q, ObjectTransform::RotateLeft);
    EXPECT_EQ(q, p);
    EXPECT_EQ(transformObject(transformObject(p, ObjectTransform::RotateLeft), ObjectTransform::RotateRight), p);
    EXPECT_EQ(transformObject(transformObject(p, ObjectTransform::ReflectDiagonal), ObjectTransform::ReflectDiagonal), p);
}

TEST(ObjectTransformTest, RotateLeftMovesTopLeftToBottomLeft)
{
    QImage p(5, 5, QImage::Format_RGB32);
    p.fill(Qt::black);
    p.setPixel(0, 0, qRgb(255, 255, 255));
    const QImage q = transformObject(p, ObjectTransform::RotateLeft);
    EXPECT_EQ(q.pixel(0, 4), qRgb(255, 255, 255));
    EXPECT_EQ(q.pixel(0, 0), qRgb(0, 0, 0));
}

// --- file names and saving ---------------------------------------------------------------

TEST(ObjectFilesTest, MaskNameCarriesTheObjectCoordinates)
{
    ObjectRecord r;
    r.X = 10.4;
    r.Y = 20.6;
    r.XSpread = 100;
    r.YSpread = 100;
    const QString coords = maskCoordinateText(r);
    EXPECT_EQ(coords, QStringLiteral("(x= 10 y= 20 to - x= 110 y= 121)"));
    EXPECT_EQ(objectBitmapName(QStringLiteral("/m/hill.bmp"), "_" + coords),
              QStringLiteral("/m/hill_(x= 10 y= 20 to - x= 110 y= 121).bmp"));
}

TEST(ObjectFilesTest, OnlyTheEndingBmpIsCutAndWithoutOneNothingIsSaved)
{
    EXPECT_EQ(objectBitmapName(QStringLiteral("/o/my.bmpfiles/hill.bmp")), QStringLiteral("/o/my.bmpfiles/hill.bmp"));
    EXPECT_EQ(objectBitmapName(QStringLiteral("/o/a.bmp.bmp")), QStringLiteral("/o/a.bmp.bmp"));
    EXPECT_EQ(objectBitmapName(QStringLiteral("/o/Hill.BMP"), QStringLiteral("_m")), QStringLiteral("/o/Hill_m.BMP"));
    EXPECT_FALSE(objectBitmapName(QStringLiteral("/o/a.png")));
    EXPECT_FALSE(objectBitmapName(QStringLiteral("/o/a.bmp/b")));
}

TEST(ObjectFilesTest, FailedSaveKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("o.bmp");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old");
    f.close();
    QString error;
    EXPECT_FALSE(saveObjectBitmap(QImage(), path, &error));
    EXPECT_FALSE(error.isEmpty());
    QFile g(path);
    ASSERT_TRUE(g.open(QIODevice::ReadOnly));
    EXPECT_EQ(g.readAll(), QByteArray("old"));
}

TEST(ObjectFilesTest, MaskIsWhiteWhereAllChannelsExceedFive)
{
    QTemporaryDir dir;
    QImage p(2, 1, QImage::Format_RGB32);
    p.setPixel(0, 0, qRgb(6, 6, 6));
    p.setPixel(1, 0, qRgb(200, 5, 200));
    const QString path = dir.filePath("m.bmp");
    ASSERT_TRUE(saveObjectMask(p, path));
    const QImage m(path);
    EXPECT_EQ(m.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(m.pixel(1, 0), qRgb(0, 0, 0));
    EXPECT_EQ(p.pixel(0, 0), qRgb(6, 6, 6));
}

} // namespace
