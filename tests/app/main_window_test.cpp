#include "app/AppState.h"
#include "app/FileCommands.h"
#include "app/Zoom.h"
#include "app/frmTer.h"
#include "app/frmTerMain.h"
#include "app/frmTerView.h"
#include "app/vbConfig.h"
#include "runtime/Files.h"
#include "runtime/Ui.h"
#include "terrain/Palette.h"
#include "terrain/TerrainGlobals.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/FifoWatch.h"
#include "tests/support/ScriptedUi.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace {

TEST_F(MainWindowTest, StartWithoutPerlinSetsShowsTheMessageAndEnds)
{
    scriptedUi().expectMsgBox(rt::vbOK);
    start();
    EXPECT_EQ(window, nullptr);
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(scriptedUi().messages[0].text,
              QStringLiteral("Perlinsets not found !! Please install Perlinsets in Kelvarinorsubfolder \\PS !"));
    EXPECT_EQ(scriptedUi().messages[0].title, QStringLiteral("ERROR"));
    EXPECT_EQ(scriptedUi().messages[0].style, rt::vbOKOnly | rt::vbCritical);
}

TEST_F(MainWindowTest, EmptyPerlinFolderCountsAsMissing)
{
    QDir().mkpath(programDir.filePath("PS"));
    scriptedUi().expectMsgBox(rt::vbOK);
    start();
    EXPECT_EQ(window, nullptr);
}

TEST_F(MainWindowTest, PerlinFolderWithoutUsableSetStartsWithAnEmptyList)
{
    writeFile(programDir.filePath("ps/readme.txt"), "no sets here");
    start();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(w().lstPerlinSets->count(), 0);
}

TEST_F(MainWindowTest, StartGivesAFlatEmptyTerrainOfDefaultSize)
{
    installPerlinSets();
    start();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(CurrentTerrain->Size(), 256);
    EXPECT_EQ(CurrentTerrain->GetPoint(0, 0), 0);
    EXPECT_EQ(CurrentTerrain->GetPoint(128, 200), 0);
    EXPECT_EQ(CurrentTerrain->MinTU(), -10);
    EXPECT_EQ(CurrentTerrain->MaxTU(), 30);
    EXPECT_EQ(TerrainFileName, QStringLiteral("noname"));
    EXPECT_TRUE(TerrainEmpty);
    EXPECT_FALSE(TerrainSaved);
    EXPECT_DOUBLE_EQ(ZoomFactor, 1.0);
    EXPECT_EQ(PaletteRow, 0);
    EXPECT_EQ(CurrentElevatorSet, 0);
    EXPECT_EQ(CombineMode, 1);
    EXPECT_EQ(EffectFactors[0], 0);
    EXPECT_EQ(EffectFactors[12], 1);
    EXPECT_GE(RandomSeed, 0);
    EXPECT_LE(RandomSeed, 999998);
    EXPECT_EQ(CurrentTerrain->pProgress, 100);
}

TEST_F(MainWindowTest, SettingsFileChoosesGridAndColourAndNonsenseIsIgnored)
{
    installPerlinSets();
    writeFile(programDir.filePath("Kelvarinor.ini"),
              "[Start]\r\nOptTer=0\r\nCOLOR=12\r\nOptZoom=x\r\nBackcolor=blue\r\n[Directory]\r\nObjects=/objs\r\n");
    start();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(CurrentTerrain->Size(), 128);
    EXPECT_EQ(PaletteRow, 0);
    EXPECT_EQ(ResizeMode, 0);
    EXPECT_EQ(ObjectDirectory, QStringLiteral("/objs"));
}

TEST_F(MainWindowTest, SaveDialogStartsInTheTerragenFolderUntilOpenPicksTheTerrainFolder)
{
    installPerlinSets();
    writeFile(programDir.filePath("Kelvarinor.ini"), "[Directory]\r\nterragen=/opt/tg\r\nTerrain=/data/ter\r\n");
    start();
    ASSERT_NE(window, nullptr);
    markTerrainChanged();
    for (int i = 0; i < 2; ++i) {
        scriptedUi().expectSaveType(FileCommands::SaveTer);
        scriptedUi().expectSaveDialog({});
    }
    scriptedUi().expectMsgBox(rt::vbNo);  // Open asks about the unsaved terrain first
    scriptedUi().expectOpenDialog({});
    w().Toolbar1_ButtonClick(QStringLiteral("SpeichernAls"));
    w().Toolbar1_ButtonClick(QStringLiteral("Öffnen"));
    w().Toolbar1_ButtonClick(QStringLiteral("SpeichernAls"));
    const auto& r = scriptedUi().dialogRequests;
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].initDir, QStringLiteral("/opt/tg"));
    EXPECT_EQ(r[1].initDir, QStringLiteral("/data/ter"));
    EXPECT_EQ(r[2].initDir, QStringLiteral("/data/ter"));
}

TEST_F(MainWindowTest, PerlinSetsAreListedWithTheirRowAsItemData)
{
    installPerlinSets();
    start();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(w().lstPerlinSets->count(), 2);
    EXPECT_EQ(w().lstPerlinSets->item(0)->text(), QStringLiteral("Alps"));
    EXPECT_EQ(w().lstPerlinSets->item(1)->data(Qt::UserRole).toInt(), 1);
    EXPECT_EQ(w().lstPerlinSets->currentRow(), 0);
}

TEST_F(MainWindowTest, ActualScreenShowsCaptionAndPanelTexts)
{
    installPerlinSets();
    start();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(w().windowTitle(), QStringLiteral("Kelvarinor  [noname]"));
    EXPECT_EQ(w().txtMinTerrain->text(), QStringLiteral("-300"));
    EXPECT_EQ(w().txtMaxTerrain->text(), QStringLiteral("900"));
    EXPECT_EQ(w().txtTerSizeMeters->text(), QStringLiteral("7680"));
    EXPECT_EQ(w().txtMetersPoint->text(), QStringLiteral("30."));
    EXPECT_EQ(w().txtPlanetRadius->text(), QStringLiteral("6370"));
    EXPECT_FALSE(w().chkCurved->isChecked());
    EXPECT_EQ(w().txtRandom->text(), QString::number(RandomSeed));
    EXPECT_EQ(w().InfoText->text(), QStringLiteral("Ready"));
    EXPECT_FALSE(w().Command1->isEnabled());
    EXPECT_FALSE(w().cmdGenModify->isEnabled());
    // Brush height at the slider's middle: BaseHeight 10 x 30 m.
    EXPECT_EQ(w().lblHeight->text(), QStringLiteral("300.0"));
    EXPECT_EQ(w().lblPickHeigh->text(), QStringLiteral("300.00"));
    EXPECT_EQ(w().Picture2->palette().color(QPalette::Window).rgb(), Palette[128][0] | 0xFF000000u);

    TerrainFileName = QStringLiteral("/tmp/alps.ter");
    CurrentTerrain->setCRVM(1);
    w().ActualScreen();
    EXPECT_EQ(w().windowTitle(), QStringLiteral("Kelvarinor  [/tmp/alps.ter]"));
    EXPECT_TRUE(w().chkCurved->isChecked());
}

TEST_F(MainWindowTest, ControlsCarryTheirNames)
{
    installPerlinSets();
    start();
    ASSERT_NE(window, nullptr);
    for (const char* name : {"Picture1", "PicZ", "PicZView", "Picture2", "InfoText", "PB", "sBar", "Toolbar1",
                             "Toolbar2", "ToolBarPen", "SSTab1", "Timer1", "optZView", "OptXYView", "lstPerlinSets",
                             "Command1", "txtZMin", "txtZmax", "sldZMin", "sldZMax", "Slider1", "Slider2",
                             "optTerSize_4", "optFilter_11", "cmdGenerator"})
        EXPECT_NE(w().findChild<QObject*>(QString::fromLatin1(name)), nullptr) << name;
    ASSERT_EQ(w().SSTab1->count(), 5);
    const char* tabs[] = {"Global", "Generator", "Edit", "Effects", "Objects"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(w().SSTab1->tabText(i), QString::fromLatin1(tabs[i]));
    EXPECT_EQ(w().Timer1->interval(), 200);
    EXPECT_EQ(w().PB->toolTip(), QStringLiteral("Process announcement"));
    EXPECT_FALSE(w().ToolBarPen->isEnabled());
}

TEST_F(MainWindowTest, ToolbarButtonsByPositionAndTheirStates)
{
    installPerlinSets();
    start();
    ASSERT_NE(window, nullptr);
    ASSERT_NE(button(1), nullptr);
    EXPECT_EQ(button(1)->objectName(), QStringLiteral("Neu"));
    EXPECT_EQ(button(2)->objectName(), QStringLiteral("Öffnen"));
    EXPECT_EQ(button(4), nullptr);
    EXPECT_EQ(button(29)->objectName(), QStringLiteral("Terragen"));
    EXPECT_EQ(button(40)->objectName(), QStringLiteral("SavePerlin"));
    EXPECT_EQ(button(22)->toolTip(), QStringLiteral("Zoom 100%"));
    EXPECT_EQ(w().Toolbar1->widgetForAction(button(40))->toolTip(), QString()) << "SavePerlin has no tool tip";

    // Empty terrain: nothing to save or back up.
    for (int pos : {3, 5, 7, 9, 10}) EXPECT_FALSE(button(pos)->isEnabled()) << pos;
    for (int pos : {1, 2, 14, 17, 20, 21, 22}) EXPECT_TRUE(button(pos)->isEnabled()) << pos;

    markTerrainChanged();
    w().ActualScreen();
    for (int pos : {3, 5, 10}) EXPECT_TRUE(button(pos)->isEnabled()) << pos;
    EXPECT_FALSE(button(9)->isEnabled());
    EXPECT_TRUE(w().cmdGenModify->isEnabled());
    EXPECT_TRUE(button(7)->isEnabled());

    BackupExists = true;
    ObjectsPresent = true;
    w().ActualScreen();
    EXPECT_TRUE(button(9)->isEnabled());
    EXPECT_FALSE(button(20)->isEnabled());
    EXPECT_FALSE(button(21)->isEnabled());
    BackupExists = false;
    ObjectsPresent = false;

    w().chkClearTerrain->setChecked(true);
    w().ActualScreen();
    EXPECT_FALSE(w().cmdGenModify->isEnabled());
}

TEST_F(MainWindowTest, ZoomButtonsChangeTheViewWithinItsLimits)
{
    installPerlinSets();
    start();
    ASSERT_NE(window, nullptr);
    MaxViewSize = 5000;  // no window limit for this test
    w().Toolbar1_ButtonClick(QStringLiteral("Zoom in"));
    EXPECT_DOUBLE_EQ(ZoomFactor, 2.0);
    EXPECT_EQ(w().Picture1->width(), 518);
    EXPECT_EQ(w().sBarPanels[0]->text(), QStringLiteral("256 x 256   Zoom =200.%"));
    for (int i = 0; i < 2; ++i) w().Toolbar1_ButtonClick(QStringLiteral("Zoom in"));
    EXPECT_DOUBLE_EQ(ZoomFactor, 4.0);
    for (int i = 0; i < 5; ++i) w().Toolbar1_ButtonClick(QStringLiteral("Zoom out"));
    EXPECT_DOUBLE_EQ(ZoomFactor, 0.25);
    w().Toolbar1_ButtonClick(QStringLiteral("Zoom100"));
    EXPECT_DOUBLE_EQ(ZoomFactor, 1.0);
    EXPECT_EQ(w().Picture1->width(), 259);
    EXPECT_EQ(w().InfoText->text(), QStringLiteral("Ready"));
}

TEST_F(MainWindowTest, BusyWatcherDisablesViewsAndShowsProgress)
{
    installPerlinSets();
    start();
    ASSERT_NE(window, nullptr);
    auto busy = std::make_optional<rt::BusyGuard>();
    CurrentTerrain->pProgress = 45;
    w().Timer1_Timer();
    EXPECT_FALSE(w().Toolbar1->isEnabled());
    EXPECT_FALSE(w().SSTab1->isEnabled());
    EXPECT_FALSE(w().Picture1->isEnabled());
    EXPECT_EQ(w().PB->value(), 45);
    CurrentTerrain->pProgress = 250;
    w().Timer1_Timer();
    EXPECT_EQ(w().PB->value(), 100);

    busy.reset();
    w().InfoText->setText(QStringLiteral("Scale Terrain..."));
    w().Timer1_Timer();
    EXPECT_TRUE(w().Toolbar1->isEnabled());
    EXPECT_TRUE(w().SSTab1->isEnabled());
    EXPECT_TRUE(w().Picture1->isEnabled());
    EXPECT_EQ(w().PB->value(), 0);
    EXPECT_EQ(w().InfoText->text(), QStringLiteral("Ready"));
}

TEST_F(MainWindowTest, DoubleClickRedrawsTheTerrain)
{
    installPerlinSets();
    start();
    ASSERT_NE(window, nullptr);
    CurrentTerrain->SetPoint(10, 20, 32767);
    emit w().Picture1->doubleClicked();
    EXPECT_FALSE(rt::BusyFlag);
    EXPECT_EQ(w().InfoText->text(), QStringLiteral("Ready"));
    const QImage& img = w().Picture1->image();
    EXPECT_EQ(img.pixel(10, 20) & 0xFFFFFF, Palette[255][0] & 0xFFFFFF);
    EXPECT_EQ(img.pixel(11, 20) & 0xFFFFFF, Palette[128][0] & 0xFFFFFF);
}

TEST_F(MainWindowTest, StartFileIsLoadedAndNamedInTheCaption)
{
    installPerlinSets();
    // A TER file that uses the whole height range, so no rescale question comes.
    clsTerrain t;
    t.Init(129);
    for (int y = 0; y <= 128; ++y)
        for (int x = 0; x <= 128; ++x) t.SetPoint(x, y, -32768 + (x + 129 * y) * 3);
    t.SetPoint(128, 128, 32767);
    const QString file = programDir.filePath("start.ter");
    ASSERT_TRUE(t.SaveT(file));
    start(file);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(TerrainFileName, file);
    EXPECT_EQ(CurrentTerrain->Size(), 128);
    EXPECT_FALSE(TerrainEmpty);
    EXPECT_EQ(w().windowTitle(), QStringLiteral("Kelvarinor  [") + file + "]");
    for (int pos : {3, 5, 10}) EXPECT_TRUE(button(pos)->isEnabled()) << pos;
}

TEST_F(MainWindowTest, MissingStartFileIsDroppedSilently)
{
    installPerlinSets();
    start(programDir.filePath("gone.ter"));
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(StartFile.isEmpty());
    EXPECT_EQ(TerrainFileName, QStringLiteral("noname"));
}

// Pipes where the settings file and the start file should be: the settings
// are passed over as unreadable and the start file dropped, instead of the
// window waiting on a pipe for good.
TEST_F(MainWindowTest, PipesForTheSettingsAndStartFileAreNeverOpened)
{
    installPerlinSets();
    FifoWatch settings(programDir.filePath("Kelvarinor.ini"));
    FifoWatch startFile(programDir.filePath("start.ter"));
    ASSERT_TRUE(settings.made() && startFile.made());
    start(startFile.path());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(StartFile.isEmpty());
    EXPECT_EQ(TerrainFileName, QStringLiteral("noname"));
    EXPECT_EQ(settings.timesOpened(), 0);
    EXPECT_EQ(startFile.timesOpened(), 0);
}

TEST_F(MainWindowTest, ClosingAnUnsavedTerrainAsksAndCancelKeepsTheWindowOpen)
{
    installPerlinSets();
    start();
    ASSERT_NE(window, nullptr);
    markTerrainChanged();
    scriptedUi().expectMsgBox(rt::vbCancel);
    EXPECT_FALSE(w().close());
    EXPECT_TRUE(w().isVisible());
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(scriptedUi().messages[0].text, QStringLiteral("The terrain is not saved!  Do you want to save?"));
    EXPECT_EQ(scriptedUi().messages[0].title, QStringLiteral("EXIT"));
}

TEST_F(MainWindowTest, ClosingAnsweredNoClosesAndDeletesTheBackup)
{
    installPerlinSets();
    start();
    ASSERT_NE(window, nullptr);
    const QString backup = rt::writableDataPath(QStringLiteral("Backup.kvt"), false);
    writeFile(backup, "backup");
    markTerrainChanged();
    scriptedUi().expectMsgBox(rt::vbNo);
    EXPECT_TRUE(w().close());
    EXPECT_FALSE(QFile::exists(backup));
}

TEST_F(MainWindowTest, ClosingAnEmptyOrSavedTerrainAsksNothing)
{
    installPerlinSets();
    start();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(w().close());
    EXPECT_TRUE(scriptedUi().messages.empty());
}

// A tool for looking at the window, not a test: run it with
// --gtest_also_run_disabled_tests --gtest_filter='*WindowPicture' and KV_GRAB_PNG=file.
TEST_F(MainWindowTest, DISABLED_WindowPicture)
{
    installPerlinSets();
    start();
    ASSERT_NE(window, nullptr);
    const QString out = qEnvironmentVariable("KV_GRAB_PNG");
    if (out.isEmpty()) GTEST_SKIP() << "set KV_GRAB_PNG to a file name to save the window's picture";
    for (int y = 0; y <= 256; ++y)
        for (int x = 0; x <= 256; ++x)
            CurrentTerrain->SetPoint(x, y, int(20000 * std::sin(x / 23.0) * std::cos(y / 31.0)));
    PaletteRow = 1;
    w().redrawTerrain();
    EXPECT_TRUE(w().grab().save(out));
    for (int tab = 1; tab < w().SSTab1->count(); ++tab) {
        w().SSTab1->setCurrentIndex(tab);
        EXPECT_TRUE(w().SSTab1->grab().save(out + QStringLiteral(".tab%1.png").arg(tab)));
    }
}

} // namespace

namespace {

TEST_F(MainWindowTest, MinimizedWindowShowsProgressInCaptionAndRestoringBringsItBack)
{
    installPerlinSets();
    start();
    ASSERT_NE(window, nullptr);
    w().showMinimized();
    QCoreApplication::processEvents();
    if (!w().isMinimized()) GTEST_SKIP() << "the platform does not minimize windows";
    auto busy = std::make_optional<rt::BusyGuard>();
    CurrentTerrain->pProgress = 45;
    w().Timer1_Timer();
    EXPECT_EQ(w().windowTitle(), QStringLiteral("45 % - Kelvarinor  [noname]   "));
    busy.reset();
    w().Timer1_Timer();
    EXPECT_EQ(w().windowTitle(), QStringLiteral("Ready - Kelvarinor  [noname]   "));
    w().showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(w().windowTitle(), QStringLiteral("Kelvarinor  [noname]"));
    EXPECT_GT(ZoomFactor, 0.0);
    EXPECT_GT(w().Picture1->width(), 0);
}

TEST_F(MainWindowTest, MouseOverTheViewReadsOutThePoint)
{
    installPerlinSets();
    start();
    ASSERT_NE(window, nullptr);
    CurrentTerrain->SetPoint(100, 56, 1234);
    emit w().Picture1->mouseMove(Qt::NoButton, Qt::NoModifier, QPointF(100, 56));
    EXPECT_EQ(w().sBarPanels[2]->text().trimmed(), QStringLiteral("1234 Pixel"));
    EXPECT_EQ(w().sBarPanels[3]->text(), QStringLiteral("X=100"));
    EXPECT_EQ(w().sBarPanels[4]->text(), QStringLiteral("Y=200"));
}

} // namespace

namespace {

TEST_F(MainWindowTest, ToolbarCommandsTakeThePlanetValuesAndEndWithTheTail)
{
    installPerlinSets();
    start();
    ASSERT_NE(window, nullptr);
    w().txtPlanetRadius->setText(QStringLiteral("3390"));
    w().chkCurved->setChecked(true);
    w().InfoText->setText(QStringLiteral("Scale Terrain..."));
    w().Toolbar1_ButtonClick(QStringLiteral("Zoom100"));
    EXPECT_FLOAT_EQ(CurrentTerrain->CRAD(), 3390.0f);
    EXPECT_EQ(CurrentTerrain->CRVM(), 1);
    EXPECT_FALSE(rt::BusyFlag);
    EXPECT_EQ(w().InfoText->text(), QStringLiteral("Ready"));
    EXPECT_EQ(w().PB->value(), 0);
}

TEST_F(MainWindowTest, CommandsThatEndAtOnceSkipTheTail)
{
    installPerlinSets();
    start();
    ASSERT_NE(window, nullptr);
    w().InfoText->setText(QStringLiteral("before"));
    scriptedUi().expectOpenDialog({});
    w().Toolbar1_ButtonClick(QStringLiteral("Öffnen"));
    scriptedUi().expectMsgBox(rt::vbOK);
    w().Toolbar1_ButtonClick(QStringLiteral("Speichern"));  // "Terrain empty !"
    EXPECT_EQ(w().InfoText->text(), QStringLiteral("before"));
    w().Toolbar1_ButtonClick(QStringLiteral("Backup"));
    EXPECT_EQ(w().InfoText->text(), QStringLiteral("Ready"));
}

TEST_F(MainWindowTest, BackupButtonEnablesRestore)
{
    installPerlinSets();
    start();
    ASSERT_NE(window, nullptr);
    markTerrainChanged();
    w().ActualScreen();
    EXPECT_FALSE(button(9)->isEnabled());
    button(10)->trigger();
    EXPECT_TRUE(BackupExists);
    EXPECT_TRUE(button(9)->isEnabled());
}

TEST_F(MainWindowTest, NewAnsweredYesEmptiesTheTerrainAndDisablesSaving)
{
    installPerlinSets();
    start();
    ASSERT_NE(window, nullptr);
    CurrentTerrain->SetPoint(5, 5, 900);
    markTerrainChanged();
    w().ActualScreen();
    EXPECT_TRUE(button(3)->isEnabled());
    scriptedUi().expectMsgBox(rt::vbYes);
    button(1)->trigger();
    EXPECT_TRUE(TerrainEmpty);
    EXPECT_EQ(CurrentTerrain->GetPoint(5, 5), 0);
    EXPECT_FALSE(button(3)->isEnabled());
    EXPECT_TRUE(scriptedUi().allAnswersUsed());
}

} // namespace

namespace {

TEST_F(MainWindowTest, UnreadableStartFileIsReportedAndTheEmptyTerrainStays)
{
    installPerlinSets();
    const QString file = programDir.filePath("broken.ter");
    writeFile(file, "TERRAGEN garbage that is no terrain");
    scriptedUi().expectMsgBox(rt::vbOK);
    start(file);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(TerrainFileName, QStringLiteral("noname"));
    EXPECT_TRUE(TerrainEmpty);
    EXPECT_EQ(CurrentTerrain->Size(), 256);
    EXPECT_FALSE(button(3)->isEnabled());
}

TEST_F(MainWindowTest, BackColourFromTheSettingsColoursTheWindow)
{
    installPerlinSets();
    writeFile(programDir.filePath("Kelvarinor.ini"), "[Start]\r\nBackcolor=255\r\n");
    start();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(w().centralWidget()->palette().color(QPalette::Window), QColor(255, 0, 0));
}

TEST_F(MainWindowTest, LargestFittedZoomShowsTheWholeViewWithoutScrollBars)
{
    installPerlinSets();
    start();
    ASSERT_NE(window, nullptr);
    for (int points : {257, 513}) {
        CurrentTerrain->Init(points);
        for (const QSize size : {QSize(1400, 700), QSize(1400, 743), QSize(1300, 811), QSize(1000, 900)}) {
            w().resize(size);
            for (int i = 0; i < 3; ++i) w().Toolbar1_ButtonClick(QStringLiteral("Zoom in"));
            for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
            const std::string at = QStringLiteral("%1 points, window %2 x %3, view %4")
                                       .arg(points).arg(size.width()).arg(size.height()).arg(w().Picture1->height())
                                       .toStdString();
            ASSERT_LT(ZoomFactor, 4.0) << at << ": the window limits the zoom";
            EXPECT_FALSE(w().viewScroll->verticalScrollBar()->isVisible()) << at;
            EXPECT_FALSE(w().viewScroll->horizontalScrollBar()->isVisible()) << at;
        }
    }
}

TEST_F(MainWindowTest, ZoomInStopsAtTheWindowLimit)
{
    installPerlinSets();
    start();
    ASSERT_NE(window, nullptr);
    MaxViewSize = 300;
    w().Toolbar1_ButtonClick(QStringLiteral("Zoom in"));
    EXPECT_DOUBLE_EQ(ZoomFactor, 300.0 / 256.0);
    w().Toolbar1_ButtonClick(QStringLiteral("Zoom in"));
    EXPECT_DOUBLE_EQ(ZoomFactor, 300.0 / 256.0);
    EXPECT_EQ(w().Picture1->width(), Zoom::viewSide(300.0 / 256.0, 256));
    // 100 % is set first, then a window too small for it lowers it again.
    MaxViewSize = 200;
    w().Toolbar1_ButtonClick(QStringLiteral("Zoom100"));
    EXPECT_DOUBLE_EQ(ZoomFactor, 200.0 / 256.0);
}

} // namespace

namespace {

TEST_F(MainWindowTest, PerlinListStopsAtTheTablesEnd)
{
    for (int i = 0; i < 35; ++i)
        writeFile(programDir.filePath(QStringLiteral("PS/set%1.ini").arg(i, 2, 10, QLatin1Char('0'))),
                  perlinSetIni(qPrintable(QStringLiteral("Set %1").arg(i))));
    start();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(w().lstPerlinSets->count(), 33);
    EXPECT_EQ(w().lstPerlinSets->item(32)->text(), QStringLiteral("Set 32"));
}

} // namespace
