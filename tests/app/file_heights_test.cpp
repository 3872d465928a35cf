// Saving and reopening a terrain keeps every height in metres.

#include "tests/app/FileCommandsFixture.h"

#include "runtime/Numbers.h"

#include <vector>

namespace {

class HeightsTest : public FileCommandsTest {
protected:
    // Opens file through the Open command, answering No to refining.
    void open(const QString& file)
    {
        scriptedUi().expectOpenDialog(chosen(file));
        scriptedUi().expectMsgBox(rt::vbNo);
        FileCommands::cmdOpen(view);
        ASSERT_EQ(TerrainFileName, file);
    }

    std::vector<double> metres() const
    {
        std::vector<double> m;
        for (int x = 0; x <= terrain.Size(); ++x)
            for (int y = 0; y <= terrain.Size(); ++y) m.push_back(terrain.GetPointMeters(x, y));
        return m;
    }
};

} // namespace

TEST_F(HeightsTest, SaveAndReopenKeepEveryHeightInMetres)
{
    // 65 points at 1000 m, -565.5 .. 256.7 m under a foreign header
    // (HeightScale 3, BaseHeight 0): too little of the range to skip the question.
    clsTerrain src;
    src.Init(65);
    src.setScaleT(1000);
    src.setHeightScale(3);
    src.setBaseHeight(0);
    for (int x = 0; x <= 64; ++x)
        for (int y = 0; y <= 64; ++y) {
            const double m = -565.5 + (256.7 + 565.5) * (x * 65 + y) / (65.0 * 65.0 - 1);
            src.SetPoint(x, y, rt::CLng(m / 1000 * 65536 / 3));
        }
    const QString file = path(QStringLiteral("deep.ter"));
    ASSERT_TRUE(src.SaveT(file));

    open(file);
    const std::vector<double> loaded = metres();
    EXPECT_NEAR(loaded.front(), -565.5, 0.05);
    EXPECT_NEAR(loaded.back(), 256.7, 0.05);
    FileCommands::cmdSave(view);
    const QByteArray saved = fileBytes(file);
    open(file);
    // The new header -1..1 TU: a raw step is 2 / 65536 x 1000 m.
    EXPECT_EQ(terrain.HeightScale(), 2);
    EXPECT_EQ(terrain.BaseHeight(), 0);
    const std::vector<double> reopened = metres();
    ASSERT_EQ(reopened.size(), loaded.size());
    for (size_t i = 0; i < loaded.size(); ++i) ASSERT_NEAR(reopened[i], loaded[i], 2000.0 / 65536) << i;
    // A second save writes the same file.
    FileCommands::cmdSave(view);
    EXPECT_EQ(fileBytes(file), saved);
}
