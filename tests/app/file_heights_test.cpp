// Saving and reopening a terrain keeps every height in metres.

#include "tests/app/FileCommandsFixture.h"

#include "runtime/Numbers.h"

namespace {

class HeightsTest : public FileCommandsTest {
protected:
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
