#include "tests/app/FileCommandsFixture.h"

#include <QImage>
#include <QtEndian>

#include "tests/support/FileSizeLimit.h"

namespace {

qint64 terFileLength(int points)
{
    return 80 + 2LL * points * points + 4;
}

class SaveTest : public FileCommandsTest {
protected:
    // Flags and name as before a save that did not happen.
    void expectUnsaved(const QString& name = QStringLiteral("noname"))
    {
        EXPECT_EQ(TerrainFileName, name);
        EXPECT_FALSE(TerrainSaved);
        EXPECT_FALSE(TerrainEmpty);
        EXPECT_TRUE(iniValue(QStringLiteral("Directory"), QStringLiteral("Terrain")).isEmpty());
    }
};

} // namespace

TEST_F(SaveTest, SaveOfAnEmptyTerrainIsRefused)
{
    TerrainEmpty = true;
    scriptedUi().expectMsgBox(rt::vbOK);
    FileCommands::cmdSave(view);
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(scriptedUi().messages[0].text, QStringLiteral("Terrain empty !"));
    EXPECT_EQ(scriptedUi().messages[0].title, QStringLiteral("Save"));
    EXPECT_TRUE(scriptedUi().dialogRequests.empty());
}

TEST_F(SaveTest, SaveAsOfAnEmptyTerrainIsRefused)
{
    TerrainEmpty = true;
    scriptedUi().expectMsgBox(rt::vbOK);
    FileCommands::cmdSaveAs(view);
    EXPECT_TRUE(scriptedUi().dialogRequests.empty());
}

TEST_F(SaveTest, SaveOfANamedTerFileWritesItWithoutDialog)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    const QString file = path(QStringLiteral("sub/hills.TER"));
    TerrainFileName = file;
    FileCommands::cmdSave(view);
    EXPECT_TRUE(scriptedUi().dialogRequests.empty());
    EXPECT_EQ(QFileInfo(file).size(), terFileLength(129));
    EXPECT_TRUE(fileBytes(file).startsWith("TERRAGENTERRAIN SIZE"));
    EXPECT_TRUE(TerrainSaved);
    EXPECT_EQ(TerrainFileName, file);
    EXPECT_EQ(iniValue(QStringLiteral("Directory"), QStringLiteral("Terrain")), path(QStringLiteral("sub")));
    EXPECT_EQ(LastDirectory, path(QStringLiteral("sub")));
}

TEST_F(SaveTest, SaveOfAnUnnamedTerrainAsksTypeAndFile)
{
    const QString file = path(QStringLiteral("new.ter"));
    saveTypes.push_back(FileCommands::SaveTer);
    scriptedUi().expectSaveDialog(chosen(file));
    FileCommands::cmdSave(view);
    ASSERT_EQ(scriptedUi().dialogRequests.size(), 1u);
    const rt::FileDialogRequest& r = scriptedUi().dialogRequests[0];
    EXPECT_EQ(r.title, QStringLiteral("Terrain save ..."));
    EXPECT_EQ(r.filter, QStringLiteral("Terrainfiles|*.ter"));
    EXPECT_EQ(r.defaultExt, QStringLiteral("ter"));
    EXPECT_EQ(QFileInfo(file).size(), terFileLength(129));
    EXPECT_EQ(TerrainFileName, file);
    EXPECT_TRUE(TerrainSaved);
    EXPECT_FALSE(TerrainEmpty);
    EXPECT_EQ(SaveType, FileCommands::SaveTer);
    EXPECT_EQ(iniValue(QStringLiteral("Directory"), QStringLiteral("Terrain")), dir.path());
    EXPECT_EQ(view.actualScreen, 1);
}

TEST_F(SaveTest, SaveOfATerrainNamedAfterABitmapGoesThroughTheDialog)
{
    const QString bitmap = path(QStringLiteral("view.bmp"));
    writeBytes(bitmap, "a bitmap");
    TerrainFileName = bitmap;
    saveTypes.push_back(FileCommands::SaveTer);
    scriptedUi().expectSaveDialog(chosen(path(QStringLiteral("view.ter"))));
    FileCommands::cmdSave(view);
    EXPECT_EQ(fileBytes(bitmap), QByteArray("a bitmap"));
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("view.ter"))));
    EXPECT_TRUE(TerrainSaved);
}

TEST_F(SaveTest, BitmapExportDrawsTheFirstSchemeAndDoesNotMarkTheTerrainSaved)
{
    PaletteRow = 3;
    const QString file = path(QStringLiteral("export.bmp"));
    saveTypes.push_back(FileCommands::SaveBitmap);
    scriptedUi().expectSaveDialog(chosen(file));
    FileCommands::cmdSaveAs(view);
    EXPECT_EQ(scriptedUi().dialogRequests[0].filter, QStringLiteral("BMP-Files|*.bmp"));
    EXPECT_EQ(scriptedUi().dialogRequests[0].defaultExt, QStringLiteral("bmp"));

    const QByteArray bytes = fileBytes(file);
    ASSERT_GT(bytes.size(), 54);
    EXPECT_TRUE(bytes.startsWith("BM"));
    EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData() + 28), 24);  // bits per pixel
    const QImage img(file);
    ASSERT_EQ(img.size(), QSize(129, 129));
    for (const auto& [x, y] : {std::pair{0, 0}, {5, 7}, {128, 64}, {64, 128}})
        EXPECT_EQ(img.pixel(x, y) & 0xFFFFFF, Palette[heightClass(terrain.GetPoint(x, y))][0] & 0xFFFFFF)
            << x << "," << y;
    EXPECT_EQ(PaletteRow, 3);
    EXPECT_EQ(BitmapSize, 131);
    EXPECT_EQ(TerrainFileName, file);
    EXPECT_FALSE(TerrainSaved);
}

TEST_F(SaveTest, BitmapOfAChosenSizeHasThatSide)
{
    const QString file = path(QStringLiteral("small.bmp"));
    saveTypes.push_back(FileCommands::SaveBitmapSized);
    bitmapSizes.push_back(100);
    scriptedUi().expectSaveDialog(chosen(file));
    FileCommands::cmdSaveAs(view);
    EXPECT_EQ(bitmapDialogSizes, std::vector<int>{128});
    EXPECT_EQ(QImage(file).size(), QSize(100, 100));
    EXPECT_EQ(BitmapSize, 100);
    EXPECT_FALSE(TerrainSaved);
}

TEST_F(SaveTest, CancelledBitmapSizeEndsWithoutFileDialog)
{
    saveTypes.push_back(FileCommands::SaveBitmapSized);
    bitmapSizes.push_back(0);
    EXPECT_FALSE(FileCommands::FileSave(view, FileCommands::SaveCancelled));
    EXPECT_TRUE(scriptedUi().dialogRequests.empty());
    expectUnsaved();
}

TEST_F(SaveTest, CancelledSaveTypeEndsWithoutFileDialog)
{
    saveTypes.push_back(FileCommands::SaveCancelled);
    FileCommands::cmdSaveAs(view);
    EXPECT_TRUE(scriptedUi().dialogRequests.empty());
    expectUnsaved();
}

TEST_F(SaveTest, CancelledFileDialogWritesNothingNotEvenTheFolder)
{
    saveTypes.push_back(FileCommands::SaveTer);
    scriptedUi().expectSaveDialog(cancelled());
    EXPECT_FALSE(FileCommands::FileSave(view, FileCommands::SaveCancelled));
    expectUnsaved();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

TEST_F(SaveTest, AGivenTypeSkipsTheTypeDialog)
{
    const QString file = path(QStringLiteral("direct.ter"));
    scriptedUi().expectSaveDialog(chosen(file));
    EXPECT_TRUE(FileCommands::FileSave(view, FileCommands::SaveTer));
    EXPECT_TRUE(QFileInfo::exists(file));
}

TEST_F(SaveTest, FailedWriteKeepsTheOldFileAndTheFlags)
{
    const QString file = path(QStringLiteral("keep.ter"));
    writeBytes(file, "old terrain");
    saveTypes.push_back(FileCommands::SaveTer);
    scriptedUi().expectSaveDialog(chosen(file));
    scriptedUi().expectMsgBox(rt::vbOK);
    CurrentTerrain->pProgress = 37;
    {
        FileSizeLimit limit(4096);
        if (!limit.active()) GTEST_SKIP() << "cannot limit the file size";
        EXPECT_FALSE(FileCommands::FileSave(view, FileCommands::SaveCancelled));
    }
    EXPECT_EQ(fileBytes(file), QByteArray("old terrain"));
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_TRUE(scriptedUi().messages[0].text.contains(file));
    EXPECT_TRUE(scriptedUi().messages[0].text.contains(fileTooLarge())) << scriptedUi().messages[0].text.toStdString();
    EXPECT_EQ(CurrentTerrain->pProgress, 37);
    expectUnsaved();
}

TEST_F(SaveTest, FailedBitmapWriteKeepsTheOldFileAndTheName)
{
    const QString file = path(QStringLiteral("keep.bmp"));
    writeBytes(file, "old bitmap");
    saveTypes.push_back(FileCommands::SaveBitmap);
    scriptedUi().expectSaveDialog(chosen(file));
    scriptedUi().expectMsgBox(rt::vbOK);
    {
        FileSizeLimit limit(4096);
        if (!limit.active()) GTEST_SKIP() << "cannot limit the file size";
        FileCommands::cmdSaveAs(view);
    }
    EXPECT_EQ(fileBytes(file), QByteArray("old bitmap"));
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_TRUE(scriptedUi().messages[0].text.contains(fileTooLarge())) << scriptedUi().messages[0].text.toStdString();
    expectUnsaved();
}

TEST_F(SaveTest, WriteIntoAFolderThatIsAFileFailsAndKeepsTheFlags)
{
    writeBytes(path(QStringLiteral("plain")), "x");
    saveTypes.push_back(FileCommands::SaveTer);
    scriptedUi().expectSaveDialog(chosen(path(QStringLiteral("plain/t.ter"))));
    scriptedUi().expectMsgBox(rt::vbOK);
    FileCommands::cmdSave(view);
    expectUnsaved();
}

TEST_F(SaveTest, FailedSaveOfANamedTerrainKeepsItUnsaved)
{
    writeBytes(path(QStringLiteral("plain")), "x");
    const QString file = path(QStringLiteral("plain/t.ter"));
    TerrainFileName = file;
    scriptedUi().expectMsgBox(rt::vbOK);
    FileCommands::cmdSave(view);
    expectUnsaved(file);
}

// --- the close question ---------------------------------------------------------

TEST_F(SaveTest, EmptyOrSavedTerrainClosesWithoutQuestion)
{
    TerrainEmpty = true;
    EXPECT_TRUE(FileCommands::mayDropTerrain(view));
    TerrainEmpty = false;
    TerrainSaved = true;
    EXPECT_TRUE(FileCommands::mayDropTerrain(view));
    EXPECT_TRUE(scriptedUi().messages.empty());
}

TEST_F(SaveTest, CloseQuestionNoClosesWithoutSaving)
{
    scriptedUi().expectMsgBox(rt::vbNo);
    EXPECT_TRUE(FileCommands::mayDropTerrain(view));
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(scriptedUi().messages[0].text, QStringLiteral("The terrain is not saved!  Do you want to save?"));
    EXPECT_EQ(scriptedUi().messages[0].title, QStringLiteral("EXIT"));
    EXPECT_EQ(scriptedUi().messages[0].style, rt::vbYesNoCancel | rt::vbQuestion | rt::vbSystemModal);
}

TEST_F(SaveTest, CloseQuestionCancelKeepsTheWindowOpen)
{
    scriptedUi().expectMsgBox(rt::vbCancel);
    EXPECT_FALSE(FileCommands::mayDropTerrain(view));
}

TEST_F(SaveTest, CloseQuestionYesSavesThenCloses)
{
    const QString file = path(QStringLiteral("last.ter"));
    scriptedUi().expectMsgBox(rt::vbYes);
    saveTypes.push_back(FileCommands::SaveTer);
    scriptedUi().expectSaveDialog(chosen(file));
    EXPECT_TRUE(FileCommands::mayDropTerrain(view));
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_TRUE(TerrainSaved);
}

TEST_F(SaveTest, CloseQuestionYesWithCancelledSaveKeepsTheWindowOpen)
{
    scriptedUi().expectMsgBox(rt::vbYes);
    saveTypes.push_back(FileCommands::SaveTer);
    scriptedUi().expectSaveDialog(cancelled());
    EXPECT_FALSE(FileCommands::mayDropTerrain(view));
    EXPECT_FALSE(TerrainSaved);  // the next close asks again
}

TEST_F(SaveTest, CloseQuestionYesWithFailedSaveKeepsTheWindowOpen)
{
    writeBytes(path(QStringLiteral("plain")), "x");
    scriptedUi().expectMsgBox(rt::vbYes);
    saveTypes.push_back(FileCommands::SaveTer);
    scriptedUi().expectSaveDialog(chosen(path(QStringLiteral("plain/t.ter"))));
    scriptedUi().expectMsgBox(rt::vbOK);
    EXPECT_FALSE(FileCommands::mayDropTerrain(view));
}
