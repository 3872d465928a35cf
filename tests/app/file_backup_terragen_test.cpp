#include "tests/app/FileCommandsFixture.h"
#include "tests/support/FileSizeLimit.h"

#include <QFileInfo>

#include <cmath>
#include <limits>

namespace {

class ClearTest : public FileCommandsTest {
protected:
    void SetUp() override
    {
        FileCommandsTest::SetUp();
        TerrainFileName = path(QStringLiteral("hills.ter"));
        terrain.setMinTU(-50);
        terrain.setMaxTU(70);
    }
};

class BackupTest : public FileCommandsTest {};

class TerragenTest : public FileCommandsTest {
protected:
    void SetUp() override
    {
        FileCommandsTest::SetUp();
        m_oldCurrentDir = QDir::currentPath();
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("work")));
        QDir::setCurrent(path(QStringLiteral("work")));
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("tg")));
        folder = path(QStringLiteral("tg"));
        vbConfig::WriteIni(QStringLiteral("Directory"), QStringLiteral("Terragen"), folder);
    }
    void TearDown() override
    {
        QDir::setCurrent(m_oldCurrentDir);
        FileCommandsTest::TearDown();
    }

    QString installProgram(const QString& name)
    {
        const QString program = QDir(folder).filePath(name);
        writeBytes(program, "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/arguments.txt\"\n");
        QFile(program).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return program;
    }

    void expectStarted(const QString& program, const QString& terrainFile)
    {
        ASSERT_EQ(scriptedUi().started.size(), 1u);
        const ScriptedUi::StartedProgram& s = scriptedUi().started[0];
        EXPECT_EQ(s.program, program);
        EXPECT_EQ(s.arguments, (QStringList{QStringLiteral("-t"), terrainFile}));
    }

    void expectLastMessage(const QString& text, const QString& title)
    {
        ASSERT_FALSE(scriptedUi().messages.empty());
        EXPECT_EQ(scriptedUi().messages.back().text, text);
        EXPECT_EQ(scriptedUi().messages.back().title, title);
    }

    QString folder;

private:
    QString m_oldCurrentDir;
};

const QString kFolderMissing = QStringLiteral("Please select Folder of Terragen in 'Options'");

} // namespace

// --- New and Clear ----------------------------------------------------------------

TEST_F(ClearTest, NewAnsweredYesFlattensTheSameGridAndKeepsNameAndRange)
{
    TerrainSaved = true;
    scriptedUi().expectMsgBox(rt::vbYes);
    FileCommands::cmdNew(view);
    EXPECT_EQ(scriptedUi().messages[0].text, QStringLiteral("Terrain clear ?  Are you sure ?"));
    EXPECT_EQ(scriptedUi().messages[0].title, QStringLiteral("Terrain clear"));
    EXPECT_EQ(scriptedUi().messages[0].style, rt::vbYesNo);
    EXPECT_EQ(terrain.XPoints(), 129);
    EXPECT_EQ(terrain.Range(), 0);
    EXPECT_TRUE(TerrainEmpty);
    EXPECT_TRUE(TerrainSaved) << "clearing is no edit: a saved terrain stays saved";
    EXPECT_EQ(TerrainFileName, path(QStringLiteral("hills.ter")));
    EXPECT_EQ(terrain.MinTU(), -50);
    EXPECT_EQ(terrain.MaxTU(), 70);
    EXPECT_EQ(view.redraws, 1);
    EXPECT_EQ(view.merges, 0);
}

TEST_F(ClearTest, NewAnsweredNoChangesNothing)
{
    const int32_t h = terrain.GetPoint(50, 3);
    scriptedUi().expectMsgBox(rt::vbNo);
    FileCommands::cmdNew(view);
    EXPECT_EQ(terrain.GetPoint(50, 3), h);
    EXPECT_FALSE(TerrainEmpty);
    EXPECT_EQ(view.redraws, 0);
}

TEST_F(ClearTest, ClearAnsweredYesFlattensUnnamesAndMergesTheObjects)
{
    TerrainSaved = true;
    scriptedUi().expectMsgBox(rt::vbYes);
    FileCommands::cmdClear(view);
    EXPECT_EQ(terrain.XPoints(), 129);
    EXPECT_EQ(terrain.Range(), 0);
    EXPECT_EQ(terrain.MinTU(), -10);
    EXPECT_EQ(terrain.MaxTU(), 30);
    EXPECT_EQ(terrain.HeightScale(), 40);
    EXPECT_TRUE(TerrainEmpty);
    EXPECT_TRUE(TerrainSaved);
    EXPECT_EQ(TerrainFileName, QStringLiteral("noname"));
    EXPECT_EQ(view.redraws, 1);
    EXPECT_EQ(view.merges, 1);
}

TEST_F(ClearTest, ClearAnsweredNoLeavesTerrainAndObjectsAlone)
{
    scriptedUi().expectMsgBox(rt::vbNo);
    FileCommands::cmdClear(view);
    EXPECT_FALSE(TerrainEmpty);
    EXPECT_EQ(TerrainFileName, path(QStringLiteral("hills.ter")));
    EXPECT_EQ(view.merges, 0);
}

// --- Backup and Restore --------------------------------------------------------------

TEST_F(BackupTest, RestoreBeforeAnyBackupSaysSoEvenWithAFileOnDisk)
{
    writeBytes(FileCommands::backupFilePath(), "left over");
    const int32_t h = terrain.GetPoint(10, 10);
    scriptedUi().expectMsgBox(rt::vbOK);
    FileCommands::cmdRestore(view);
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(scriptedUi().messages[0].text,
              QStringLiteral("Backup empty ! Use the Button BACKUP for protection of the terrain !"));
    EXPECT_EQ(scriptedUi().messages[0].title, QStringLiteral("Restore Terrain"));
    EXPECT_EQ(terrain.GetPoint(10, 10), h);
}

TEST_F(BackupTest, BackupGoesToTheProgramFolder)
{
    FileCommands::cmdBackup(view);
    EXPECT_TRUE(BackupExists);
    EXPECT_EQ(FileCommands::backupFilePath(), path(QStringLiteral("Backup.kvt")));
    EXPECT_EQ(QFileInfo(FileCommands::backupFilePath()).size(), 80 + 4LL * 131 * 131);
}

TEST_F(BackupTest, RestoreBringsBackTheTerrainAndMarksItChanged)
{
    terrain.SetPoint(130, 130, 77);  // spare corner
    const int32_t h = terrain.GetPoint(60, 61);
    const int16_t scale = terrain.HeightScale();
    FileCommands::cmdBackup(view);

    makeRamp(257);
    terrain.setHeightScale(5);
    TerrainEmpty = true;
    TerrainSaved = true;
    FileCommands::cmdRestore(view);

    EXPECT_EQ(terrain.XPoints(), 129);
    EXPECT_EQ(terrain.GetPoint(60, 61), h);
    EXPECT_EQ(terrain.GetPoint(130, 130), 77);
    EXPECT_EQ(terrain.HeightScale(), scale);
    EXPECT_EQ(terrain.min(), -32767);  // the cache is rebuilt
    EXPECT_EQ(terrain.max(), 32768);
    EXPECT_FALSE(TerrainEmpty);
    EXPECT_FALSE(TerrainSaved);
    EXPECT_EQ(view.resizes, 1);
    EXPECT_EQ(view.actualScreen, 1);
    EXPECT_EQ(view.redraws, 1);
}

TEST_F(BackupTest, RestoreOverUnsavedWorkAsksTheCloseQuestionFirst)
{
    FileCommands::cmdBackup(view);
    terrain.SetPoint(60, 61, 4321);  // painted since the backup, not saved
    scriptedUi().expectMsgBox(rt::vbCancel);
    FileCommands::cmdRestore(view);
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(scriptedUi().messages[0].text, QStringLiteral("The terrain is not saved!  Do you want to save?"));
    EXPECT_EQ(terrain.GetPoint(60, 61), 4321);
    EXPECT_EQ(view.redraws, 0);

    scriptedUi().expectMsgBox(rt::vbNo);
    FileCommands::cmdRestore(view);
    EXPECT_NE(terrain.GetPoint(60, 61), 4321);
    EXPECT_EQ(view.redraws, 1);
}

TEST_F(BackupTest, DamagedBackupIsReportedAndTheTerrainKept)
{
    FileCommands::cmdBackup(view);
    QFile(FileCommands::backupFilePath()).resize(1000);
    const int32_t h = terrain.GetPoint(60, 61);
    TerrainSaved = true;
    scriptedUi().expectMsgBox(rt::vbOK);
    FileCommands::cmdRestore(view);
    EXPECT_EQ(scriptedUi().messages[0].title, QStringLiteral("Restore Terrain"));
    EXPECT_EQ(terrain.GetPoint(60, 61), h);
    EXPECT_TRUE(TerrainSaved);
    EXPECT_EQ(view.redraws, 0);
}

TEST_F(BackupTest, RestoreBringsBackUnitsNoFileHeaderCanHold)
{
    // Spread, the ramp's units are no whole numbers; the backup keeps them.
    terrain.SetPoint(0, 0, 100000);
    terrain.ScaleTerrain();
    const double scale = terrain.HeightScale(), base = terrain.BaseHeight();
    ASSERT_NE(scale, std::trunc(scale));
    const float metres = terrain.GetPointMeters(60, 61);
    FileCommands::cmdBackup(view);
    EXPECT_EQ(QFileInfo(FileCommands::backupFilePath()).size(), 80 + 4LL * 131 * 131 + 20);

    makeRamp(129);
    TerrainSaved = true;
    FileCommands::cmdRestore(view);
    EXPECT_EQ(terrain.HeightScale(), scale);
    EXPECT_EQ(terrain.BaseHeight(), base);
    EXPECT_EQ(terrain.GetPointMeters(60, 61), metres);
}

TEST_F(BackupTest, BackupWithAHeaderNoTerrainFileMayHaveIsRefused)
{
    // Point spacing NaN, XPTS -32768, CRAD infinite, HeightScale 0, heights
    // -2^31 and 2^31 - 1: each was restored, and the next Save wrote a file
    // the editor refuses.
    FileCommands::cmdBackup(view);
    const QByteArray good = fileBytes(FileCommands::backupFilePath());
    const auto damaged = [&](qsizetype offset, const QByteArray& bytes) {
        QByteArray d = good;
        d.replace(offset, bytes.size(), bytes);
        return d;
    };
    const auto f32 = [](float v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
    const auto i32 = [](int32_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
    const struct {
        QByteArray bytes;
        const char* why;
    } cases[] = {
        {damaged(52, f32(std::numeric_limits<float>::quiet_NaN())), "point spacing (SCAL)"},
        {damaged(28, QByteArray("\x00\x80", 2)), "not square: it has -32768 x 129"},
        {damaged(60, f32(std::numeric_limits<float>::infinity())), "planet radius (CRAD)"},
        {damaged(76, QByteArray("\x00\x00", 2)), "height scale (ALTW)"},
        {damaged(80, i32(INT32_MIN) + i32(INT32_MAX)), "from -2147483648 to 2147483647"},
    };
    const int32_t h = terrain.GetPoint(60, 61);
    for (const auto& c : cases) {
        writeBytes(FileCommands::backupFilePath(), c.bytes);
        TerrainSaved = true;
        scriptedUi().messages.clear();
        scriptedUi().expectMsgBox(rt::vbOK);
        FileCommands::cmdRestore(view);
        ASSERT_EQ(scriptedUi().messages.size(), 1u) << c.why;
        EXPECT_TRUE(scriptedUi().messages[0].text.contains(QLatin1String(c.why)))
            << scriptedUi().messages[0].text.toStdString();
        EXPECT_EQ(terrain.GetPoint(60, 61), h) << c.why;
        EXPECT_FLOAT_EQ(terrain.ScaleT(), 30.0f) << c.why;
        EXPECT_TRUE(TerrainSaved) << c.why;
    }
    EXPECT_EQ(view.redraws, 0);
}

TEST_F(BackupTest, FailedBackupSaysWhyAndKeepsTheOldOne)
{
    FileCommands::cmdBackup(view);
    const QByteArray old = fileBytes(FileCommands::backupFilePath());
    terrain.SetPoint(60, 61, 4321);
    scriptedUi().expectMsgBox(rt::vbOK);
    {
        FileSizeLimit limit(4096);
        if (!limit.active()) GTEST_SKIP() << "cannot limit the file size";
        FileCommands::cmdBackup(view);
    }
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_TRUE(scriptedUi().messages[0].text.contains(fileTooLarge())) << scriptedUi().messages[0].text.toStdString();
    EXPECT_EQ(fileBytes(FileCommands::backupFilePath()), old);
}

// --- Terragen ---------------------------------------------------------------------------

TEST_F(TerragenTest, EmptyTerrainIsRefused)
{
    TerrainEmpty = true;
    scriptedUi().expectMsgBox(rt::vbOK);
    EXPECT_FALSE(FileCommands::cmdTerragen(view)) << "ends at once, without the tail";
    expectLastMessage(QStringLiteral("Terrain empty !"), QStringLiteral("Save"));
    EXPECT_TRUE(scriptedUi().started.empty());
}

TEST_F(TerragenTest, CancelSavesAndStartsNothing)
{
    installProgram(QStringLiteral("terragen"));
    scriptedUi().expectMsgBox(rt::vbCancel);
    EXPECT_TRUE(FileCommands::cmdTerragen(view)) << "Cancel completes with the tail";
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(scriptedUi().messages[0].text, QStringLiteral("Terrain save, before start terragen"));
    EXPECT_EQ(scriptedUi().messages[0].title, QStringLiteral("Start Terragen"));
    EXPECT_EQ(scriptedUi().messages[0].style, rt::vbYesNoCancel);
    EXPECT_TRUE(scriptedUi().started.empty());
}

TEST_F(TerragenTest, EmptyFolderSettingIsReportedAfterTheQuestionWhateverTheAnswer)
{
    vbConfig::WriteIni(QStringLiteral("Directory"), QStringLiteral("Terragen"), QString());
    for (int answer : {rt::vbNo, rt::vbCancel}) {
        scriptedUi().messages.clear();
        scriptedUi().expectMsgBox(answer);
        scriptedUi().expectMsgBox(rt::vbOK);
        EXPECT_FALSE(FileCommands::cmdTerragen(view));
        ASSERT_EQ(scriptedUi().messages.size(), 2u) << answer;
        expectLastMessage(kFolderMissing, QStringLiteral("Start Terragen"));
        EXPECT_EQ(scriptedUi().messages.back().style, rt::vbOKCancel);
    }
    EXPECT_TRUE(scriptedUi().started.empty());
}

TEST_F(TerragenTest, YesSavesANamedTerrainAndStartsTerragenOnIt)
{
    const QString program = installProgram(QStringLiteral("terragen"));
    const QString file = path(QStringLiteral("hills.ter"));
    TerrainFileName = file;
    scriptedUi().expectMsgBox(rt::vbYes);
    FileCommands::cmdTerragen(view);
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_TRUE(TerrainSaved);
    expectStarted(program, file);
    EXPECT_EQ(scriptedUi().started[0].workingDir, folder);
}

TEST_F(TerragenTest, YesOnAnUnnamedTerrainSavesThroughTheDialog)
{
    const QString program = installProgram(QStringLiteral("terragen"));
    const QString file = path(QStringLiteral("chosen.ter"));
    scriptedUi().expectMsgBox(rt::vbYes);
    scriptedUi().expectSaveDialog(chosen(file));  // TER directly, no type dialog
    FileCommands::cmdTerragen(view);
    EXPECT_EQ(TerrainFileName, file);
    EXPECT_TRUE(TerrainSaved);
    expectStarted(program, file);
}

TEST_F(TerragenTest, YesWithCancelledSaveDialogDoesNotStart)
{
    installProgram(QStringLiteral("terragen"));
    scriptedUi().expectMsgBox(rt::vbYes);
    scriptedUi().expectSaveDialog(cancelled());
    scriptedUi().expectMsgBox(rt::vbOK);
    EXPECT_FALSE(FileCommands::cmdTerragen(view));
    expectLastMessage(QStringLiteral("Terragen not called"), QStringLiteral("Submit Terragen"));
    EXPECT_TRUE(scriptedUi().started.empty());
    EXPECT_FALSE(TerrainSaved);
}

TEST_F(TerragenTest, NoOnAnUnnamedTerrainWritesDefaultTerInTheCurrentFolder)
{
    const QString program = installProgram(QStringLiteral("terragen"));
    scriptedUi().expectMsgBox(rt::vbNo);
    FileCommands::cmdTerragen(view);
    const QString file = path(QStringLiteral("work/default.ter"));
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ(TerrainFileName, file);
    EXPECT_FALSE(TerrainSaved);
    expectStarted(program, file);
}

TEST_F(TerragenTest, NoOnANamedTerrainStartsWithoutWriting)
{
    const QString program = installProgram(QStringLiteral("terragen"));
    const QString file = path(QStringLiteral("hills.ter"));
    TerrainFileName = file;
    scriptedUi().expectMsgBox(rt::vbNo);
    FileCommands::cmdTerragen(view);
    EXPECT_FALSE(QFileInfo::exists(file));
    expectStarted(program, file);
}

TEST_F(TerragenTest, WindowsProgramIsUsedWhereOnlyItExists)
{
    const QString program = installProgram(QStringLiteral("terragen.exe"));
    TerrainFileName = path(QStringLiteral("hills.ter"));
    scriptedUi().expectMsgBox(rt::vbNo);
    FileCommands::cmdTerragen(view);
    expectStarted(program, TerrainFileName);
}

TEST_F(TerragenTest, NativeProgramWinsOverTheWindowsOne)
{
    const QString program = installProgram(QStringLiteral("terragen"));
    installProgram(QStringLiteral("terragen.exe"));
    EXPECT_EQ(FileCommands::terragenProgram(folder), program);
}

TEST_F(TerragenTest, MissingProgramIsReportedAndClearsTheBusyFlag)
{
    TerrainFileName = path(QStringLiteral("hills.ter"));
    scriptedUi().expectMsgBox(rt::vbNo);
    scriptedUi().expectMsgBox(rt::vbOK);
    FileCommands::cmdTerragen(view);
    expectLastMessage(kFolderMissing, QStringLiteral("ERROR  Terragen"));
    EXPECT_TRUE(scriptedUi().started.empty());
    EXPECT_FALSE(rt::BusyFlag);
}

TEST_F(TerragenTest, FailedStartIsReportedAndClearsTheBusyFlag)
{
    installProgram(QStringLiteral("terragen"));
    TerrainFileName = path(QStringLiteral("hills.ter"));
    scriptedUi().setStartProgramResult(false);
    scriptedUi().expectMsgBox(rt::vbNo);
    scriptedUi().expectMsgBox(rt::vbOK);
    FileCommands::cmdTerragen(view);
    expectLastMessage(kFolderMissing, QStringLiteral("ERROR  Terragen"));
    EXPECT_FALSE(rt::BusyFlag);
}

TEST_F(TerragenTest, TerrainNamedAfterABitmapIsSavedAsTerFirst)
{
    const QString program = installProgram(QStringLiteral("terragen"));
    const QString bitmap = path(QStringLiteral("view.bmp"));
    writeBytes(bitmap, "a bitmap");
    TerrainFileName = bitmap;
    const QString file = path(QStringLiteral("view.ter"));
    scriptedUi().expectMsgBox(rt::vbYes);
    scriptedUi().expectSaveDialog(chosen(file));
    FileCommands::cmdTerragen(view);
    EXPECT_EQ(fileBytes(bitmap), QByteArray("a bitmap"));
    expectStarted(program, file);
}
