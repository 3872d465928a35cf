// The pens as the user drives them: tool buttons, mouse on the top view,
// the pick check box and the status read-out.

#include "app/FileCommands.h"
#include "app/Zoom.h"
#include "app/frmTerView.h"
#include "terrain/Palette.h"
#include "tests/app/MainWindowFixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

namespace {

class PenWindowTest : public StartedMainWindowTest {
protected:
    void tool(const char* key)
    {
        QAction* a = w().Toolbar2->findChild<QAction*>(QString::fromLatin1(key));
        ASSERT_NE(a, nullptr);
        ASSERT_TRUE(a->isEnabled());
        a->trigger();
    }

    QPoint at(double x, double y) const
    {
        const QPointF p = Zoom::terrainToView({x, y}, CurrentTerrain->Size(), window->Picture1->width());
        return p.toPoint();
    }

    void press(double x, double y, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseClick(w().Picture1, Qt::LeftButton, mods, at(x, y));
    }
};

TEST_F(PenWindowTest, PenPaintsAtThePressAndMarksTheTerrainUnsaved)
{
    tool("Pen");
    EXPECT_TRUE(w().PenMode);
    EXPECT_FALSE(w().chkPick->isChecked());  // an empty terrain has nothing to pick
    w().Slider1->setValue(2);
    w().Slider2->setValue(32768 + 1000);
    TerrainSaved = true;
    press(50, 50);
    // The square pen at the press: radius 3 around (X - 1, Y - 1).
    EXPECT_EQ(CurrentTerrain->GetPoint(49, 49), 1000);
    EXPECT_EQ(CurrentTerrain->GetPoint(46, 46), 1000);
    EXPECT_EQ(CurrentTerrain->GetPoint(45, 45), 0);
    EXPECT_FALSE(TerrainSaved);
    EXPECT_FALSE(TerrainEmpty);
}

TEST_F(PenWindowTest, PickTakesTheHeightOnceThenThePenPaints)
{
    CurrentTerrain->SetPoint(100, 100, 2345);
    TerrainEmpty = false;
    tool("Pen");
    EXPECT_TRUE(w().chkPick->isChecked());
    w().Slider1->setValue(1);
    press(100, 100);
    EXPECT_EQ(w().Slider2->value(), 2345 + 32768);
    EXPECT_FALSE(w().chkPick->isChecked());
    EXPECT_FALSE(w().PickMode);
    // The same click stamped the picked height; the next click paints it elsewhere.
    press(30, 30);
    EXPECT_EQ(CurrentTerrain->GetPoint(29, 29), 2345);
    EXPECT_EQ(w().Slider2->value(), 2345 + 32768);
}

TEST_F(PenWindowTest, StrokeWithShiftMovesWithoutPainting)
{
    tool("Pen");
    w().Slider2->setValue(32768 + 700);
    QTest::mouseMove(w().Picture1, at(80, 80));
    QMouseEvent move(QEvent::MouseMove, at(90, 90), w().Picture1->mapToGlobal(at(90, 90)), Qt::NoButton,
                     Qt::LeftButton, Qt::ShiftModifier);
    QCoreApplication::sendEvent(w().Picture1, &move);
    EXPECT_EQ(CurrentTerrain->GetPoint(89, 89), 0);
    QMouseEvent paint(QEvent::MouseMove, at(90, 90), w().Picture1->mapToGlobal(at(90, 90)), Qt::NoButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w().Picture1, &paint);
    EXPECT_EQ(CurrentTerrain->GetPoint(89, 89), 700);
}

TEST_F(PenWindowTest, ArrowLeavesThePen)
{
    tool("Pen");
    w().Slider2->setValue(32768 + 1000);
    tool("Pfeil");
    EXPECT_FALSE(w().PenMode);
    EXPECT_FALSE(w().ToolBarPen->isEnabled());
    press(20, 20);
    EXPECT_EQ(CurrentTerrain->Range(), 0);
}

TEST_F(PenWindowTest, ColorWhiteOnTheObjectsTabSetsThePenToTheTopUntilAnotherToolIsChosen)
{
    tool("Pen");
    w().SSTab1->setCurrentIndex(4);  // "Objects", where the button is
    ASSERT_TRUE(w().Command1->isEnabled());
    w().Command1->click();
    EXPECT_EQ(w().Slider2->value(), w().Slider2->maximum());
    EXPECT_TRUE(w().PenMode);
    EXPECT_FALSE(w().PickMode);
    tool("up");
    w().SSTab1->setCurrentIndex(2);
    w().SSTab1->setCurrentIndex(4);
    EXPECT_FALSE(w().Command1->isEnabled());
}

TEST_F(PenWindowTest, MouseMoveShowsThePointUnderTheMouse)
{
    CurrentTerrain->SetPoint(40, 200, 77);
    QTest::mouseMove(w().Picture1, at(40, 200));
    EXPECT_EQ(w().sBarPanels[2]->text(), QStringLiteral("77 Pixel"));
    EXPECT_EQ(w().sBarPanels[3]->text(), QStringLiteral("X=40"));
    EXPECT_EQ(w().sBarPanels[4]->text(), QStringLiteral("Y=56"));
}

TEST_F(PenWindowTest, OpenButtonReachesTheOpenCommand)
{
    // The German keys must reach their commands: a cancelled open dialog proves it.
    scriptedUi().expectOpenDialog({});
    w().toolbarButton(2)->trigger();
    EXPECT_TRUE(scriptedUi().openAnswers.empty());
}

TEST_F(PenWindowTest, OpenedLargeTerrainFillsTheView)
{
    clsTerrain big;
    big.Init(1025);
    for (int y = 0; y <= 1024; ++y)
        for (int x = 0; x <= 1024; ++x) big.SetPoint(x, y, (x + y) * 31 - 32000);
    const QString path = programDir.filePath("big.ter");
    ASSERT_TRUE(big.SaveT(path));
    scriptedUi().expectOpenDialog({true, path, 1});
    w().toolbarButton(2)->trigger();
    ASSERT_EQ(CurrentTerrain->Size(), 1024);
    const QImage& img = w().Picture1->image();
    ASSERT_EQ(img.width(), 1025);
    const int row = paletteRowClamped();
    EXPECT_EQ(img.pixel(1000, 1000) & 0xFFFFFF,
              Palette[heightClass(CurrentTerrain->GetPoint(1000, 1000))][row] & 0xFFFFFF);
    EXPECT_EQ(w().Picture1->terrainSize(), 1024);
    // To look at the window as a user sees it after opening a file.
    if (const QString out = qEnvironmentVariable("KV_GRAB_PNG"); !out.isEmpty())
        w().grab().save(out + QStringLiteral(".opened.png"));
}

} // namespace
