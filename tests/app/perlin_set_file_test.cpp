#include "generate/dlgSavePerlinsetNew.h"
#include "generate/PerlinSetWriter.h"
#include "runtime/ByteIO.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/FileSizeLimit.h"

#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

int16_t heightAt(const QByteArray& file, int32_t m, int32_t x, int32_t y)
{
    const qsizetype at = 61 + 2 * (qsizetype(y) * (m + 1) + x);
    return int16_t(uint16_t(uint8_t(file[at])) | uint16_t(uint8_t(file[at + 1])) << 8);
}

int32_t int32At(const QByteArray& file, qsizetype at)
{
    uint32_t v = 0;
    for (int k = 3; k >= 0; --k) v = (v << 8) | uint8_t(file[at + k]);
    return int32_t(v);
}

TEST(PerlinSetFile, A257PointTerrainGivesTheTaggedHeaderAndAGridPaddedByTenRowsAndColumns)
{
    clsTerrain ter;
    ter.Init(257);
    ter.SetPoint(0, 0, -32768);
    ter.SetPoint(1, 0, 7);
    ter.SetPoint(0, 1, -300);
    ter.SetPoint(256, 256, 32767);
    const QByteArray file = PerlinSetWriter::perlinSetBytes(ter, QStringLiteral("Alps"));

    ASSERT_EQ(file.size(), 142639);  // 267^2 * 2 + 61
    EXPECT_EQ(file.left(21), QByteArray("KELVARINOR PERLINSET "));
    EXPECT_EQ(file.mid(21, 4), QByteArray("NAME"));
    EXPECT_EQ(file.mid(25, 24), QByteArray("Alps                    "));
    EXPECT_EQ(file.mid(49, 4), QByteArray("SIZE"));
    EXPECT_EQ(int32At(file, 53), 266);
    EXPECT_EQ(file.mid(57, 4), QByteArray("ARRA"));
    // The heights as they are: the command rescales before it writes.
    EXPECT_EQ(heightAt(file, 266, 0, 0), -32768);
    EXPECT_EQ(heightAt(file, 266, 1, 0), 7);      // x runs fastest
    EXPECT_EQ(heightAt(file, 266, 0, 1), -300);
    EXPECT_EQ(heightAt(file, 266, 256, 256), 32767);
    EXPECT_EQ(heightAt(file, 266, 257, 256), 0);  // padding
    EXPECT_EQ(heightAt(file, 266, 266, 266), 0);
}

TEST(PerlinSetFile, NameIsCutOrFilledToTwentyFourLatin1Characters)
{
    EXPECT_EQ(PerlinSetWriter::nameField(QStringLiteral("abcdefghijklmnopqrstuvwxyz")),
              QByteArray("abcdefghijklmnopqrstuvwx"));
    EXPECT_EQ(PerlinSetWriter::nameField(QString()), QByteArray(24, ' '));
    EXPECT_EQ(PerlinSetWriter::nameField(QStringLiteral("Höhe\u20ac")), QByteArray("H\xf6he?                   "));
}

TEST(PerlinSetFile, SmallestGridHasElevenPointsASide)
{
    clsTerrain ter;
    ter.Init(2);
    EXPECT_EQ(PerlinSetWriter::perlinSetBytes(ter, QString()).size(), 12 * 12 * 2 + 61);
}

class SavePerlinSetTest : public StartedMainWindowTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartedMainWindowTest::SetUp());
        CurrentTerrain->Init(129);
        CurrentTerrain->SetPoint(3, 4, 100);
        CurrentTerrain->SetPoint(5, 6, -100);
    }
    QString target() const { return programDir.filePath(QStringLiteral("sets/Test.KPS")); }
    void acceptSaveAs(const QString& path) { scriptedUi().expectSaveDialog({true, path, 1}); }
};

TEST_F(SavePerlinSetTest, CancelLeavesTheTerrainUnscaledAndWritesNothing)
{
    scriptedUi().expectSaveDialog({false, QString(), 1});
    EXPECT_FALSE(SavePerlinSet(QStringLiteral(" Alps ")));
    EXPECT_EQ(CurrentTerrain->GetPoint(3, 4), 100);
    ASSERT_EQ(scriptedUi().dialogRequests.size(), 1u);
    const rt::FileDialogRequest& r = scriptedUi().dialogRequests[0];
    EXPECT_EQ(r.title, QStringLiteral("PerlinSets save ..."));
    EXPECT_EQ(r.filter, QStringLiteral("PerlinSets|*.KPS"));
    EXPECT_EQ(r.defaultExt, QStringLiteral("KPS"));
    EXPECT_EQ(r.fileName, QStringLiteral("Alps"));
}

TEST_F(SavePerlinSetTest, SavingRescalesTheTerrainAndReplacesALongerOldFileWhole)
{
    QDir().mkpath(programDir.filePath(QStringLiteral("sets")));
    writeFile(target(), QByteArray(200000, 'x'));
    acceptSaveAs(target());
    EXPECT_TRUE(SavePerlinSet(QStringLiteral("Alps")));
    // r = 200 round 0: 100 x 65535 / 201 = 32604.48.
    EXPECT_EQ(CurrentTerrain->GetPoint(3, 4), 32604);
    EXPECT_EQ(CurrentTerrain->GetPoint(5, 6), -32604);
    QString error;
    const QByteArray file = rt::readWholeFile(target(), &error).value_or(QByteArray());
    EXPECT_EQ(file.size(), 139 * 139 * 2 + 61);
    EXPECT_EQ(heightAt(file, 138, 3, 4), 32604);
    EXPECT_EQ(heightAt(file, 138, 5, 6), -32604);
    EXPECT_EQ(heightAt(file, 138, 0, 0), 0);
    EXPECT_EQ(file.mid(25, 24), QByteArray("Alps                    "));
}

TEST_F(SavePerlinSetTest, AFailedWriteIsReported)
{
    writeFile(programDir.filePath(QStringLiteral("blocked")), "not a folder");
    acceptSaveAs(programDir.filePath(QStringLiteral("blocked/Test.KPS")));
    scriptedUi().expectMsgBox(rt::vbOK);
    EXPECT_FALSE(SavePerlinSet(QStringLiteral("Alps")));
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_TRUE(scriptedUi().messages[0].text.startsWith(QStringLiteral("The perlin set could not be saved")));
}

TEST_F(SavePerlinSetTest, AFailedWriteSaysWhyAndKeepsTheOldFile)
{
    QDir().mkpath(programDir.filePath(QStringLiteral("sets")));
    writeFile(target(), "old set");
    acceptSaveAs(target());
    scriptedUi().expectMsgBox(rt::vbOK);
    {
        FileSizeLimit limit(4096);
        if (!limit.active()) GTEST_SKIP() << "cannot limit the file size";
        EXPECT_FALSE(SavePerlinSet(QStringLiteral("Alps")));
    }
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_TRUE(scriptedUi().messages[0].text.contains(fileTooLarge())) << scriptedUi().messages[0].text.toStdString();
    EXPECT_EQ(rt::readWholeFile(target()), QByteArray("old set"));
}

TEST_F(SavePerlinSetTest, DialogIgnoresABlankNameAndHoldsAtMostTwentyFourCharacters)
{
    auto* action = w().Toolbar1->findChild<QAction*>(QStringLiteral("SavePerlin"));
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(action->isEnabled());

    dlgSavePerlinsetNew dlg(&w());
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Sichere Perlinset Neu"));
    EXPECT_EQ(dlg.CancelButton->text(), QStringLiteral("Abbrechen"));
    dlg.Text1->setText(QStringLiteral("   "));
    dlg.OKButton_Click();
    EXPECT_TRUE(scriptedUi().dialogRequests.empty());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);

    dlg.Text1->setText(QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
    EXPECT_EQ(dlg.Text1->text(), QStringLiteral("abcdefghijklmnopqrstuvwx"));
    scriptedUi().expectSaveDialog({false, QString(), 1});
    dlg.OKButton_Click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

} // namespace
