// Saving and reopening a terrain keeps every height in metres.

#include "tests/app/FileCommandsFixture.h"

#include "app/Panels.h"
#include "generate/KVFilterEffects.h"
#include "runtime/Numbers.h"

#include <QImage>

#include <array>
#include <functional>
#include <set>

namespace {

class HeightsTest : public FileCommandsTest {
protected:
    void SetUp() override
    {
        FileCommandsTest::SetUp();
        TerrainSaved = true;  // no unsaved work for Open to ask about
    }

    // Opens file through the Open command, answering the refine question.
    void open(const QString& file, int refine = rt::vbNo)
    {
        scriptedUi().expectOpenDialog(chosen(file));
        scriptedUi().expectMsgBox(refine);
        FileCommands::cmdOpen(view);
    }
    // A file of n points written under whole units, as another program writes it.
    QString writeTer(const QString& name, int n, float scaleT, int16_t heightScale, int16_t baseHeight,
                     const std::function<int32_t(int, int)>& raw)
    {
        clsTerrain src;
        src.Init(n);
        src.setScaleT(scaleT);
        src.setHeightScale(heightScale);
        src.setBaseHeight(baseHeight);
        for (int x = 0; x < n; ++x)
            for (int y = 0; y < n; ++y) src.SetPoint(x, y, raw(x, y));
        const QString file = path(name);
        EXPECT_TRUE(src.SaveT(file));
        return file;
    }
};

} // namespace

TEST_F(HeightsTest, SaveAndReopenKeepEveryHeightInMetres)
{
    // 65 points at 1000 m, -565.5 .. 256.7 m under a foreign header
    // (HeightScale 3, BaseHeight 0).
    clsTerrain src;
    src.Init(65);
    src.setScaleT(1000);
    src.setHeightScale(3);
    src.setBaseHeight(0);
    for (int i = 0; i < 65 * 65; ++i)
        src.SetPoint(i / 65, i % 65, rt::CLng((-565.5 + 822.2 * i / (65 * 65 - 1)) / 1000 * 65536 / 3));
    const QString file = path(QStringLiteral("deep.ter"));
    ASSERT_TRUE(src.SaveT(file));

    open(file, rt::vbYes);
    FileCommands::cmdSave(view);
    const QByteArray saved = fileBytes(file);
    open(file);
    // The new header -1..1 TU: a raw step is 2 / 65536 x 1000 m.
    EXPECT_EQ(terrain.HeightScale(), 2);
    EXPECT_EQ(terrain.BaseHeight(), 0);
    for (int i = 0; i < 65 * 65; ++i)
        ASSERT_NEAR(terrain.GetPointMeters(i / 65, i % 65), src.GetPointMeters(i / 65, i % 65), 2000.0 / 65536) << i;
    // A second save writes the same file.
    FileCommands::cmdSave(view);
    EXPECT_EQ(fileBytes(file), saved);
}

TEST_F(HeightsTest, HeadersHighUpOrDeepDownKeepTheirMetres)
{
    // Raw -32767, 0, 32767 under HeightScale 30000 / BaseHeight 20000 (and
    // the mirror below zero) at 1 m: 5000.46, 20000 and 34999.54 m. Under
    // HeightScale 32767 / BaseHeight 32767 the top is 32767 + 16383 = 49150 m.
    struct Header { int16_t scale, base; double low, top; };
    for (const Header h : {Header{30000, 20000, 5000.46, 34999.54}, Header{30000, -20000, -34999.54, -5000.46},
                           Header{32767, 32767, 16384.0, 49150.0}}) {
        clsTerrain src;
        src.Init(33);
        src.setScaleT(1);
        src.setHeightScale(h.scale);
        src.setBaseHeight(h.base);
        for (int x = 0; x < 33; ++x)
            for (int y = 0; y < 33; ++y) src.SetPoint(x, y, x == 0 ? -32767 : (x == 32 ? 32767 : 0));
        const QString file = path(QStringLiteral("high.ter"));
        ASSERT_TRUE(src.SaveT(file));
        // The full raw range is in use: opening asks nothing.
        scriptedUi().expectOpenDialog(chosen(file));
        FileCommands::cmdOpen(view);
        FileCommands::cmdSave(view);
        scriptedUi().expectOpenDialog(chosen(file));
        FileCommands::cmdOpen(view);
        // One raw step of the old header is 32767 / 65536 m at most.
        EXPECT_NEAR(terrain.GetPointMeters(0, 5), h.low, 0.5) << h.base;
        EXPECT_NEAR(terrain.GetPointMeters(16, 5), double(h.base), 0.5) << h.base;
        EXPECT_NEAR(terrain.GetPointMeters(32, 5), h.top, 0.5) << h.base;
    }
}

TEST_F(HeightsTest, StretchKeepsAValleysExtentAndItsLandBelowSeaLevel)
{
    // 129 points at 1000 m: a bowl from -565 m in the middle to 257 m in the
    // corners, under HeightScale 3, BaseHeight 0 (raw = metres / 1000 x 65536 / 3).
    const auto metres = [](int x, int y) { return -565.0 + 822.0 * ((x - 64) * (x - 64) + (y - 64) * (y - 64)) / 8192; };
    const QString file = writeTer(QStringLiteral("valley.ter"), 129, 1000, 3, 0, [&](int x, int y) {
        return rt::CLng(metres(x, y) / 1000 * 65536 / 3);
    });
    open(file, rt::vbYes);
    std::array<int16_t, 100> factors{};
    factors.fill(1);
    QString error;
    ASSERT_TRUE(Panels::runEffect(terrain, KVFilter::EffectStretch - 1, factors, 0, 65536, QString(), &error));
    FileCommands::cmdSave(view);
    open(file);
    // The curve's ends lie 2.5 raw steps of the terrain's units inside its
    // extent; the file (-1..1 units, 2000 / 65536 m a step) rounds once more.
    const double step = 2000.0 / 65536;
    EXPECT_NEAR(terrain.GetPointMeters(64, 64), -565, 2 * step);
    EXPECT_NEAR(terrain.GetPointMeters(0, 0), 257, 2 * step);
    EXPECT_NEAR(terrain.GetPointMeters(128, 128), 257, 2 * step);
    // The signed square bends the bowl, but the deep middle stays below the sea.
    int below = 0;
    for (int x = 0; x <= 128; ++x)
        for (int y = 0; y <= 128; ++y) below += terrain.GetPointMeters(x, y) < 0;
    EXPECT_GT(below, 1000);
    EXPECT_LT(terrain.GetPointMeters(60, 64), 0);
}

TEST_F(HeightsTest, RefinedLowReliefFileDrawsManyColours)
{
    // 257 points at 50.0 .. 50.1 m under HeightScale 30, BaseHeight 50 at
    // 1 m: raw 0..218, all in one colour class of 256 raw steps. Refined,
    // they fill the raw range and the bitmap export one colour each.
    const QString file = writeTer(QStringLiteral("flat.ter"), 257, 1, 30, 50, [](int x, int y) {
        return rt::CLng((x + y) / 512.0 * 0.1 * 65536 / 30);
    });
    open(file, rt::vbYes);
    const QString bitmap = path(QStringLiteral("flat.bmp"));
    saveTypes.push_back(FileCommands::SaveBitmap);
    scriptedUi().expectSaveDialog(chosen(bitmap));
    FileCommands::cmdSaveAs(view);
    const QImage img(bitmap);
    ASSERT_EQ(img.size(), QSize(257, 257));
    std::set<QRgb> colours;
    for (int y = 0; y < 257; ++y)
        for (int x = 0; x < 257; ++x) colours.insert(img.pixel(x, y));
    EXPECT_GT(colours.size(), 100u);
    EXPECT_NEAR(terrain.GetPointMeters(256, 256), 50.1, 30.0 / 65536);
    EXPECT_NEAR(terrain.GetPointMeters(0, 0), 50.0, 30.0 / 65536);
}

TEST_F(HeightsTest, FileFillingTheRangeUnderAnOddHeaderComesBackByteForByte)
{
    // Raw -32767..32767 under HeightScale 333, BaseHeight -77: nothing to refine.
    const QString file = writeTer(QStringLiteral("odd.ter"), 257, 30, 333, -77, [](int x, int y) {
        return -32767 + int(int64_t(x * 257 + y) * 65534 / (257 * 257 - 1));
    });
    const QByteArray before = fileBytes(file);
    scriptedUi().expectOpenDialog(chosen(file));
    FileCommands::cmdOpen(view);
    FileCommands::cmdSave(view);
    EXPECT_EQ(fileBytes(file), before);
}

TEST_F(HeightsTest, AForeignFileIsSavedAsItWasAndARefinedOneTheSameBySecondSave)
{
    // Ground at 33000..34000 units under HeightScale 2469, BaseHeight 32766
    // (raw 6211..32754), at 0.1 m spacing: few steps used, so Open asks.
    const QString file = writeTer(QStringLiteral("high.ter"), 257, 0.1f, 2469, 32766, [](int x, int y) {
        return 6211 + (x * 257 + y) * (32754 - 6211) / (257 * 257 - 1);
    });
    const QByteArray original = fileBytes(file);

    // Not refined: nothing to spread, the file comes back as it was.
    open(file, rt::vbNo);
    FileCommands::cmdSave(view);
    EXPECT_EQ(fileBytes(file), original);

    // Refined: the first Save spreads again, picks the header and moves each
    // point by at most half a raw step of each; a second Save writes the same bytes.
    open(file, rt::vbYes);
    clsTerrain refined = terrain;
    FileCommands::cmdSave(view);
    const QByteArray first = fileBytes(file);
    EXPECT_EQ(terrain.HeightScale(), 2466);  // 1232.97 units above BaseHeight 32767
    EXPECT_EQ(terrain.BaseHeight(), 32767);
    const double halfStep = (2466 + refined.HeightScale()) / 65536.0 / 2 * 0.1;
    double worst = 0;
    for (int x = 0; x < 257; ++x)
        for (int y = 0; y < 257; ++y)
            worst = std::max(worst, std::abs(terrain.rawToMetres(terrain.GetPoint(x, y)) -
                                             refined.rawToMetres(refined.GetPoint(x, y))));
    EXPECT_LE(worst, halfStep * 1.0001);
    FileCommands::cmdSave(view);
    EXPECT_EQ(fileBytes(file), first);
}

TEST_F(HeightsTest, HeightsNoFileCanHoldAreCutOnlyWhenTheUserAgrees)
{
    // HeightScale 40000: -32767..32767 spans 39999 units, more than 32767.
    terrain.setHeightScale(40000);
    terrain.setBaseHeight(0);
    TerrainSaved = false;
    TerrainFileName = path(QStringLiteral("wide.ter"));
    scriptedUi().expectMsgBox(rt::vbCancel);
    FileCommands::cmdSave(view);
    EXPECT_FALSE(QFile::exists(TerrainFileName));
    EXPECT_FALSE(TerrainSaved);

    scriptedUi().expectMsgBox(rt::vbOK);
    FileCommands::cmdSave(view);
    EXPECT_TRUE(scriptedUi().messages.back().text.contains(QStringLiteral("will be cut")));
    EXPECT_EQ(terrain.HeightScale(), 32767);
    EXPECT_TRUE(TerrainSaved);
}
