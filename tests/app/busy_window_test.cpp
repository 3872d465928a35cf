// What the user does while a long command pumps events: a click on Open, a pen
// stroke and a close request reach the window inside the command; none of them
// may start, and the close comes once the command has ended.

#include "app/Zoom.h"
#include "app/frmTerObjects.h"
#include "app/frmTerView.h"
#include "tests/app/MainWindowFixture.h"

#include <QCoreApplication>
#include <QImage>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QToolBar>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>

namespace {

const QString kCloseQuestion = QStringLiteral("The terrain is not saved!  Do you want to save?");

class BusyWindowTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        installPerlinSets();
        start();
        ASSERT_NE(window, nullptr);
        // The pen at full height: a stroke that gets through leaves its mark.
        w().Toolbar2->findChild<QAction*>(QStringLiteral("Pen"))->trigger();
        w().Slider2->setValue(w().Slider2->maximum());
        TerrainEmpty = false;
        TerrainSaved = false;
    }

    struct Outcome {
        bool openAsked = false;
        bool penPainted = false;
        bool closeAsked = false;
        bool closed = false;
    };

    QPoint at(double x, double y) const
    {
        return Zoom::terrainToView({x, y}, CurrentTerrain->Size(), window->Picture1->width()).toPoint();
    }

    // A pen stroke at (200, 200), a click on Open and a close, as the user would.
    Outcome intrude()
    {
        const size_t dialogs = scriptedUi().dialogRequests.size();
        const size_t messages = scriptedUi().messages.size();
        const int32_t before = CurrentTerrain->GetPoint(199, 199);
        QTest::mousePress(w().Picture1, Qt::LeftButton, {}, at(200, 200));
        QTest::mouseMove(w().Picture1, at(203, 203));
        QTest::mouseRelease(w().Picture1, Qt::LeftButton, {}, at(203, 203));
        QAction* open = w().Toolbar1->findChild<QAction*>(QStringLiteral("Öffnen"));
        QTest::mouseClick(w().Toolbar1->widgetForAction(open), Qt::LeftButton);
        Outcome o;
        o.closed = w().close();
        o.openAsked = scriptedUi().dialogRequests.size() != dialogs;
        o.penPainted = CurrentTerrain->GetPoint(199, 199) != before;
        o.closeAsked = scriptedUi().messages.size() != messages;
        return o;
    }

    // Runs command with the intrusion at its first event pump while busy.
    void runIntruded(const std::function<void()>& command)
    {
        std::optional<Outcome> seen;
        scriptedUi().onPump = [&] {
            if (rt::BusyFlag && !seen) seen = intrude();
        };
        // The pump is throttled; wait so that the command's first pump goes through.
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        command();
        scriptedUi().onPump = nullptr;
        ASSERT_TRUE(seen) << "the command let no events through while busy";
        EXPECT_FALSE(seen->penPainted);
        EXPECT_FALSE(seen->openAsked);
        EXPECT_FALSE(seen->closeAsked);
        EXPECT_FALSE(seen->closed);
        EXPECT_FALSE(rt::BusyFlag);
        // The close asked for meanwhile comes back once the command has ended.
        TerrainSaved = false;
        scriptedUi().expectMsgBox(rt::vbCancel);
        w().Timer1_Timer();
        QCoreApplication::processEvents();
        ASSERT_FALSE(scriptedUi().messages.empty());
        EXPECT_EQ(scriptedUi().messages.back().text, kCloseQuestion);
        EXPECT_TRUE(w().isVisible());
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

TEST_F(BusyWindowTest, WhenIdleTheSameInputPaintsOpensAndAsksToClose)
{
    scriptedUi().expectOpenDialog({});
    scriptedUi().expectMsgBox(rt::vbCancel);
    const Outcome o = intrude();
    EXPECT_TRUE(o.penPainted);
    EXPECT_TRUE(o.openAsked);
    EXPECT_TRUE(o.closeAsked);
    EXPECT_FALSE(o.closed);
}

enum class Family { Generate, Effect, Erosion, Merge, Resize, Filter };

class BusyCommandTest : public BusyWindowTest, public testing::WithParamInterface<Family> {};

TEST_P(BusyCommandTest, InputDuringTheCommandStartsNothingAndTheCloseWaits)
{
    frmTerObjects& objects = *w().Objects;
    std::function<void()> command;
    switch (GetParam()) {
    case Family::Generate:
        for (const char* name : {"PS/a.bmp", "PS/b.bmp", "PS/c.bmp", "PS/d.bmp", "PS/e.bmp"}) picture(name, 300);
        command = [this] { w().cmdGenerator->click(); };
        break;
    case Family::Effect:
        w().optFilter[0]->click();  // Smooth
        command = [this] { w().cmdStartEffects->click(); };
        break;
    case Family::Erosion:
        QFile::rename(picture("erode.png", 8), programDir.filePath(QStringLiteral("erode0.flt")));
        w().optFilter[4]->click();  // Erosion (River)
        command = [this] { w().cmdStartEffects->click(); };
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
        command = [&objects] { objects.mnuObject->findChild<QAction*>(QStringLiteral("mnuObjFilterSmooth"))->trigger(); };
        break;
    }
    runIntruded(command);
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

} // namespace
