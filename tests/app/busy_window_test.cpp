// What the user does while a long command pumps events: a pen stroke, a click
// on Open and a close reach the window inside the command; none may start, and
// the close comes back once the command has ended.

#include "app/Zoom.h"
#include "app/frmTerObjects.h"
#include "app/frmTerView.h"
#include "tests/app/MainWindowFixture.h"

#include <QCoreApplication>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QToolBar>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace {

enum class Family { Generate, Effect, Erosion, Merge, Resize, Filter };

class BusyCommandTest : public StartedMainWindowTest, public testing::WithParamInterface<Family> {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartedMainWindowTest::SetUp());
        // The pen at full height: a stroke that gets through leaves its mark.
        w().Toolbar2->findChild<QAction*>(QStringLiteral("Pen"))->trigger();
        w().Slider2->setValue(w().Slider2->maximum());
        TerrainEmpty = false;
        TerrainSaved = false;
    }

    // A pen stroke at (200, 200), a click on Open and a close; true when any got through.
    bool intrude()
    {
        const size_t asked = scriptedUi().dialogRequests.size() + scriptedUi().messages.size();
        const int32_t before = CurrentTerrain->GetPoint(199, 199);
        const QPoint at = Zoom::terrainToView({200, 200}, CurrentTerrain->Size(), w().Picture1->width()).toPoint();
        QTest::mouseClick(w().Picture1, Qt::LeftButton, {}, at);
        QAction* open = w().Toolbar1->findChild<QAction*>(QStringLiteral("Öffnen"));
        QTest::mouseClick(w().Toolbar1->widgetForAction(open), Qt::LeftButton);
        const bool closed = w().close();
        return closed || CurrentTerrain->GetPoint(199, 199) != before ||
               scriptedUi().dialogRequests.size() + scriptedUi().messages.size() != asked;
    }

    QString picture(const char* name, int side)
    {
        QImage img(side, side, QImage::Format_RGB32);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) img.setPixel(x, y, qRgb((x * 7 + y) % 256, x % 256, y % 256));
        const QString path = programDir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(img.save(path, "PNG"));
        return path;
    }
};

TEST_F(BusyCommandTest, WhenIdleTheSameInputGetsThrough)
{
    // The painted terrain is unsaved: Open and the close both ask about it.
    scriptedUi().expectMsgBox(rt::vbNo);
    scriptedUi().expectOpenDialog({});
    scriptedUi().expectMsgBox(rt::vbCancel);
    EXPECT_TRUE(intrude());
    EXPECT_EQ(scriptedUi().dialogRequests.size(), 1u);
    EXPECT_EQ(scriptedUi().messages.size(), 2u);
}

TEST_P(BusyCommandTest, InputDuringTheCommandStartsNothingAndTheCloseWaits)
{
    frmTerObjects& objects = *w().Objects;
    std::function<void()> command = [this] { w().cmdStartEffects->click(); };
    switch (GetParam()) {
    case Family::Generate:
        for (const char* name : {"PS/a.bmp", "PS/b.bmp", "PS/c.bmp", "PS/d.bmp", "PS/e.bmp"}) picture(name, 300);
        command = [this] { w().cmdGenerator->click(); };
        break;
    case Family::Effect:
        w().optFilter[0]->click();  // Smooth
        break;
    case Family::Erosion:
        QFile::rename(picture("erode.png", 8), programDir.filePath(QStringLiteral("erode0.flt")));
        w().optFilter[4]->click();  // Erosion (River)
        break;
    case Family::Merge:
        ASSERT_TRUE(objects.loadObjectMaker(picture("hill.png", 16)));
        command = [&objects] { objects.mnuObjMergeAll_Click(); };
        break;
    case Family::Resize:
        w().optTerSize[0]->setChecked(true);
        scriptedUi().expectMsgBox(rt::vbNo);
        command = [this] { w().CmdResize->click(); };
        break;
    case Family::Filter:
        ASSERT_TRUE(objects.loadObjectMaker(picture("hill.png", 16)));
        objects.SelectedObject = 6;
        command = [&objects] { objects.mnuObject->findChild<QAction*>("mnuObjFilterSmooth")->trigger(); };
        break;
    }
    int intrusions = 0;
    scriptedUi().onPump = [&] {
        if (rt::BusyFlag && intrusions++ == 0) {
            EXPECT_FALSE(intrude());
        }
    };
    // The pump is throttled; wait so that the command's first pump goes through.
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    command();
    scriptedUi().onPump = nullptr;
    ASSERT_GT(intrusions, 0) << "the command let no events through while busy";
    EXPECT_FALSE(rt::BusyFlag);

    // The close asked for meanwhile comes back now.
    TerrainSaved = false;
    scriptedUi().expectMsgBox(rt::vbCancel);
    w().Timer1_Timer();
    QCoreApplication::processEvents();
    ASSERT_FALSE(scriptedUi().messages.empty());
    EXPECT_EQ(scriptedUi().messages.back().text, QStringLiteral("The terrain is not saved!  Do you want to save?"));
    EXPECT_TRUE(w().isVisible());
}

std::string familyName(const testing::TestParamInfo<Family>& info)
{
    static const char* const names[] = {"Generate", "Effect", "Erosion", "Merge", "Resize", "Filter"};
    return names[int(info.param)];
}

INSTANTIATE_TEST_SUITE_P(LongCommands, BusyCommandTest,
                         testing::Values(Family::Generate, Family::Effect, Family::Erosion, Family::Merge,
                                         Family::Resize, Family::Filter),
                         familyName);

// A press held back during a command takes its drag and release with it: the
// brush would otherwise apply the last stroke again when the button comes up.
TEST_F(StartedMainWindowTest, ReleaseOfAPressHeldBackDuringACommandAppliesNoStroke)
{
    w().Toolbar2->findChild<QAction*>(QStringLiteral("up"))->trigger();
    w().Slider1->setValue(2);
    w().sldDepthEffects->setValue(10);
    const auto at = [this](double x, double y) {
        return Zoom::terrainToView({x, y}, CurrentTerrain->Size(), w().Picture1->width()).toPoint();
    };
    QTest::mouseClick(w().Picture1, Qt::LeftButton, {}, at(50, 50));
    const int32_t stroke = CurrentTerrain->GetPoint(50, 50);
    ASSERT_GT(stroke, 0);
    {
        rt::BusyGuard command;
        QTest::mousePress(w().Picture1, Qt::LeftButton, {}, at(100, 100));
    }
    QTest::mouseMove(w().Picture1, at(110, 110));
    QTest::mouseRelease(w().Picture1, Qt::LeftButton, {}, at(110, 110));
    EXPECT_EQ(CurrentTerrain->GetPoint(50, 50), stroke);
    EXPECT_EQ(CurrentTerrain->GetPoint(100, 100), 0);
    // The next click is a stroke of its own again.
    QTest::mouseClick(w().Picture1, Qt::LeftButton, {}, at(100, 100));
    EXPECT_EQ(CurrentTerrain->GetPoint(100, 100), stroke);
}

} // namespace
