// The elevator window and the erosion settings dialog: lists, drawing, sets
// added and saved, OK and Cancel, and settings files loaded through the dialog.

#include "generate/dlgElevator.h"
#include "generate/dlgFltErosion.h"
#include "generate/Elevator.h"
#include "generate/KVErosion.h"
#include "runtime/Ini.h"
#include "runtime/QtUi.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/ScriptedUi.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QByteArray setRecord(const QByteArray& name, char curveByte)
{
    return name.leftJustified(20, ' ') + QByteArray(257, curveByte);
}

// Clicks a button of the modal dialog once it shows.
void clickInModalSoon(const char* buttonName, std::function<void(QWidget*)> before = {})
{
    QTimer::singleShot(0, [buttonName, before] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        if (before) before(modal);
        auto* b = modal->findChild<QPushButton*>(QLatin1String(buttonName));
        ASSERT_NE(b, nullptr);
        b->click();
    });
}

class ElevatorWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ElevatorGridSize = 256;
        ElevatorFile = dir.filePath("Elevator.set");
        CurrentElevatorSet = 0;
        savedInputBox = frmElevator::InputBox;
    }
    void TearDown() override
    {
        frmElevator::InputBox = savedInputBox;
        ElevatorFile.clear();
        CurrentElevatorSet = 0;
        resetElevatorGrid();
    }
    void writeSetFile(const QByteArray& bytes)
    {
        QFile f(ElevatorFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QTemporaryDir dir;
    std::function<std::optional<QString>(const QString&, const QString&)> savedInputBox;
};

TEST_F(ElevatorWindowTest, ListsTheSetsAndLoadsTheCurrentOne)
{
    writeSetFile(setRecord("One", char(10)) + setRecord("Two", char(20)));
    CurrentElevatorSet = 1;
    elevatorCell(0, 0) = 1;
    frmElevator w;
    ASSERT_EQ(w.List1->count(), 2);
    EXPECT_EQ(w.List1->item(1)->text(), QStringLiteral("Two").leftJustified(20));
    EXPECT_EQ(w.List1->currentRow(), 1);
    EXPECT_EQ(elevatorCell(100, 20), 1);
    EXPECT_EQ(elevatorCell(0, 0), 0);  // opening clears the acceptance
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Elevator shift"));
    EXPECT_NE(w.findChild<QWidget*>("PicElevator"), nullptr);
}

TEST_F(ElevatorWindowTest, IncompleteLastSetIsReportedAndLeftOut)
{
    writeSetFile(setRecord("One", char(10)) + QByteArray(30, 'x'));
    scriptedUi().expectMsgBox(rt::vbOK);
    frmElevator w;
    EXPECT_EQ(w.List1->count(), 1);
    EXPECT_TRUE(scriptedUi().messages.back().text.contains(QStringLiteral("incomplete")));
}

TEST_F(ElevatorWindowTest, LeftMouseDrawsOneMarkPerColumn)
{
    frmElevator w;
    w.PicElevator->resize(257, 257);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(100, 40), QPointF(100, 40), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w.PicElevator, &press);
    EXPECT_EQ(elevatorCell(100, 40), 1);
    EXPECT_EQ(elevatorCell(100, 156), 0);  // the diagonal cell of that column is gone
    // Moving with the button held past the box keeps to its edge.
    QMouseEvent move(QEvent::MouseMove, QPointF(900, -30), QPointF(900, -30), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w.PicElevator, &move);
    EXPECT_EQ(elevatorCell(256, 0), 1);
    // The right button draws nothing.
    w.PicElevator_MouseDown(Qt::RightButton, QPoint(50, 50));
    EXPECT_EQ(elevatorCell(50, 50), 0);
}

TEST_F(ElevatorWindowTest, AddedSetIsWrittenAfterTheLastAndListedLast)
{
    writeSetFile(setRecord("One", char(10)));
    frmElevator w;
    frmElevator::InputBox = [](const QString& prompt, const QString& title) -> std::optional<QString> {
        EXPECT_EQ(prompt, QStringLiteral("Setname"));
        EXPECT_EQ(title, QStringLiteral("New Set"));
        return QStringLiteral("Mine");
    };
    w.PicElevator_MouseDown(Qt::LeftButton, QPoint(30, 99));
    w.cmdAddElevatorSet->click();
    ASSERT_EQ(w.List1->count(), 2);
    EXPECT_EQ(w.List1->item(1)->text().trimmed(), QStringLiteral("Mine"));
    EXPECT_EQ(QFileInfo(ElevatorFile).size(), 2 * 277);
    EXPECT_EQ(ReadElevatorRecord(1).trimmed(), QStringLiteral("Mine"));
    EXPECT_EQ(elevatorCell(30, 99), 1);
}

TEST_F(ElevatorWindowTest, CancelledNameWritesNothing)
{
    writeSetFile(setRecord("One", char(10)));
    frmElevator w;
    frmElevator::InputBox = [](const QString&, const QString&) { return std::optional<QString>(); };
    w.cmdAddElevatorSet->click();
    EXPECT_EQ(w.List1->count(), 1);
    EXPECT_EQ(QFileInfo(ElevatorFile).size(), 277);
}

TEST_F(ElevatorWindowTest, SaveStoresTheSelectedSetAndResetReloadsIt)
{
    writeSetFile(setRecord("One", char(10)) + setRecord("Two", char(20)));
    frmElevator w;
    w.List1->setCurrentRow(1);
    w.List1_Click();
    EXPECT_EQ(CurrentElevatorSet, 1);
    w.PicElevator_MouseDown(Qt::LeftButton, QPoint(100, 77));
    w.cmdReset->click();
    EXPECT_EQ(elevatorCell(100, 77), 0);
    w.PicElevator_MouseDown(Qt::LeftButton, QPoint(100, 77));
    w.cmdElevatorSave->click();
    ReadElevatorRecord(1);
    EXPECT_EQ(elevatorCell(100, 77), 1);
    ReadElevatorRecord(0);
    EXPECT_EQ(elevatorCell(100, 77), 0);
}

TEST_F(ElevatorWindowTest, OkAcceptsTheCurveAndCancelDoesNot)
{
    {
        frmElevator w;
        w.CancelButton->click();
        EXPECT_EQ(elevatorCell(0, 0), 0);
    }
    frmElevator w;
    w.OKButton->click();
    EXPECT_EQ(elevatorCell(0, 0), 1);
}

// --- erosion settings dialog ---------------------------------------------------------

class ErosionDialogTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    void TearDown() override
    {
        // Leave the design values for the next test.
        clickInModalSoon("CancelButton");
        dlgFltErosion::StartErosion();
    }
    QTemporaryDir dir;
};

TEST_F(ErosionDialogTest, DesignValuesAndTitle)
{
    dlgFltErosion d;
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Erosion Setting"));
    const auto v = d.values();
    EXPECT_EQ(v.dropCount, 10000);
    EXPECT_EQ(v.dropWith, 9);
    EXPECT_EQ(v.landslide, 4);
    EXPECT_EQ(v.depth, 3);
    EXPECT_EQ(d.Slider1->minimum(), 1000);
    EXPECT_EQ(d.Slider1->maximum(), 50000);
}

TEST_F(ErosionDialogTest, OkKeepsTheValuesForTheNextShowingAndCancelForgetsThem)
{
    clickInModalSoon("OKButton", [](QWidget* m) { m->findChild<QSlider*>("Slider1")->setValue(20000); });
    const auto first = dlgFltErosion::StartErosion();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->dropCount, 20000);

    int shown = 0;
    clickInModalSoon("CancelButton", [&shown](QWidget* m) { shown = m->findChild<QSlider*>("Slider1")->value(); });
    EXPECT_FALSE(dlgFltErosion::StartErosion());
    EXPECT_EQ(shown, 20000);

    clickInModalSoon("OKButton", [&shown](QWidget* m) { shown = m->findChild<QSlider*>("Slider1")->value(); });
    dlgFltErosion::StartErosion();
    EXPECT_EQ(shown, 10000);
}

TEST_F(ErosionDialogTest, SaveThenLoadRestoresTheSliders)
{
    const QString path = dir.filePath("e.par");
    dlgFltErosion d;
    d.setValues({30000, 5, 7, 2});
    scriptedUi().expectSaveDialog({true, path, 1});
    d.Command1->click();
    EXPECT_EQ(scriptedUi().dialogRequests.back().title, QStringLiteral("Save Setting"));
    EXPECT_EQ(scriptedUi().dialogRequests.back().filter, QStringLiteral("Setting |*.par"));
    d.setValues({});
    scriptedUi().expectOpenDialog({true, path, 1});
    d.Command2->click();
    EXPECT_EQ(scriptedUi().dialogRequests.back().title, QStringLiteral("Load Setting"));
    EXPECT_EQ(d.values().dropCount, 30000);
    EXPECT_EQ(d.values().landslide, 7);
}

TEST_F(ErosionDialogTest, NonsenseFileIsReportedAndTheSlidersStay)
{
    const QString path = dir.filePath("bad.par");
    ASSERT_TRUE(rt::WritePrivateProfileString("Erosion", "LLDepht", "deep", path));
    dlgFltErosion d;
    d.setValues({30000, 5, 7, 2});
    scriptedUi().expectOpenDialog({true, path, 1});
    scriptedUi().expectMsgBox(rt::vbOK);
    d.Command2->click();
    EXPECT_TRUE(scriptedUi().messages.back().text.contains(QStringLiteral("LLDepht")));
    EXPECT_EQ(d.values().dropCount, 30000);
    EXPECT_EQ(d.values().landslide, 7);
}

TEST_F(ErosionDialogTest, CancelledSaveWritesNothing)
{
    dlgFltErosion d;
    scriptedUi().expectSaveDialog({false, QString(), 1});
    d.Command1->click();
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

// --- opened from the main window ---------------------------------------------------------

TEST_F(MainWindowTest, ElevatorButtonOpensTheElevatorWindow)
{
    installPerlinSets();
    start();
    ASSERT_TRUE(window);
    QString title;
    clickInModalSoon("OKButton", [&title](QWidget* m) { title = m->objectName(); });
    w().cmdElevatorPar->click();
    EXPECT_EQ(title, QStringLiteral("frmElevator"));
    EXPECT_EQ(elevatorCell(0, 0), 1);
    elevatorCell(0, 0) = 0;
}

TEST_F(ErosionDialogTest, TheServiceAsksThroughTheSettingsDialog)
{
    rt::QtUi ui;
    dlgFltErosion::install(ui);
    clickInModalSoon("OKButton", [](QWidget* m) { m->findChild<QSlider*>("Slider3")->setValue(7); });
    const auto chosen = ui.askErosionSettings();
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->landslide, 7);
    clickInModalSoon("CancelButton");
    EXPECT_FALSE(ui.askErosionSettings());
}

} // namespace
