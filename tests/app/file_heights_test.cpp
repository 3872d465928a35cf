// Saving and reopening a terrain keeps every height in metres.

#include "tests/app/FileCommandsFixture.h"

#include "runtime/Numbers.h"

namespace {

class HeightsTest : public FileCommandsTest {
protected:
    void SetUp() override
    {
        FileCommandsTest::SetUp();
        TerrainSaved = true;  // no unsaved work for Open to ask about
    }

    // Opens file through the Open command, answering No to refining.
    void open(const QString& file)
    {
        scriptedUi().expectOpenDialog(chosen(file));
        scriptedUi().expectMsgBox(rt::vbNo);
        FileCommands::cmdOpen(view);
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

    open(file);
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
