// The selection tools as the user drives them: the rubber band on the top view,
// the pop-up menu "Terrain" and its commands.

#include "app/frmTerObjects.h"
#include "app/frmTerView.h"
#include "objects/mdlObjects.h"
#include "tests/app/MainWindowFixture.h"

#include <QMenu>
#include <QSlider>
#include <QTest>
#include <QToolBar>

namespace {

class SelectionWindowTest : public StartedMainWindowTest {
protected:
    void tool(const char* key)
    {
        QAction* a = w().Toolbar2->findChild<QAction*>(QString::fromLatin1(key));
        ASSERT_NE(a, nullptr);
        ASSERT_TRUE(a->isEnabled());
        a->trigger();
    }

    // A drag on the view in terrain points, as the view reports it.
    void drag(QPointF from, QPointF to)
    {
        TerrainView* v = w().Picture1;
        emit v->mouseDown(Qt::LeftButton, {}, from);
        emit v->mouseMove(Qt::LeftButton, {}, to);
        emit v->mouseUp(Qt::LeftButton, {}, to);
    }

    QAction* item(const char* name)
    {
        auto* a = w().mnuTerrain->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }

    void choose(const char* name)
    {
        QAction* a = item(name);
        ASSERT_TRUE(a->isEnabled()) << name;
        a->trigger();
        w().mnuTerrain->hide();
    }

    int pointsEqualTo(int32_t v) const
    {
        const int n = CurrentTerrain->Size();
        int count = 0;
        for (int y = 0; y <= n; ++y)
            for (int x = 0; x <= n; ++x)
                if (CurrentTerrain->GetPoint(x, y) == v) ++count;
        return count;
    }
};

TEST_F(SelectionWindowTest, MenuHoldsTheCommandsInOrder)
{
    QStringList names;
    for (QAction* a : w().mnuTerrain->actions()) names << a->objectName();
    EXPECT_EQ(names, (QStringList{"mnuTerFill", "mnuTerRaise", "mnuTerLower", "mnuTerTemp3", "mnuTerTrim",
                                  "mnuTerTemp4", "mnuTerFlipRight", "mnuTerFlipLeft", "mnuTerReflectVert",
                                  "mnuTerReflectHorizont", "mnutertemp1", "mnuTerMakeObject", "mnuTerTemp2",
                                  "mnuTerExit"}));
    EXPECT_EQ(item("mnuTerRaise")->text(), QStringLiteral("lift Terrain"));
    EXPECT_EQ(item("mnuTerExit")->text(), QStringLiteral("Exit menu"));
}

TEST_F(SelectionWindowTest, DragDrawsAFrameWithAnEvenSecondCornerAndShowsTheMenu)
{
    tool("Select");
    EXPECT_TRUE(w().SelectMode);
    drag({10, 10}, {21, 31});
    EXPECT_TRUE(w().FrameDrawn);
    EXPECT_EQ(w().FrameX1, 10);
    EXPECT_EQ(w().FrameY1, 10);
    EXPECT_EQ(w().FrameX2, 22);
    EXPECT_EQ(w().FrameY2, 32);
    EXPECT_TRUE(w().mnuTerrain->isVisible());
    w().mnuTerrain->hide();
}

TEST_F(SelectionWindowTest, SecondPressTakesTheFrameAway)
{
    tool("Select");
    drag({10, 10}, {20, 20});
    w().mnuTerrain->hide();
    emit w().Picture1->mouseDown(Qt::LeftButton, {}, QPointF(40, 40));
    EXPECT_FALSE(w().FrameDrawn);
}

TEST_F(SelectionWindowTest, FillWritesTheHeightSliderIntoTheFrameAndMarksTheTerrain)
{
    tool("Select");
    w().Slider2->setValue(32768 + 700);
    w().sliderFineHeight->setValue(5);
    TerrainSaved = true;
    drag({10, 10}, {20, 14});
    choose("mnuTerFill");
    // 11 x 5 points, the fine height not added.
    EXPECT_EQ(pointsEqualTo(700), 55);
    EXPECT_EQ(CurrentTerrain->GetPoint(20, 14), 700);
    EXPECT_EQ(CurrentTerrain->GetPoint(21, 14), 0);
    EXPECT_FALSE(w().FrameDrawn);
    EXPECT_FALSE(TerrainSaved);
    EXPECT_FALSE(TerrainEmpty);
    EXPECT_FALSE(rt::BusyFlag);
}

TEST_F(SelectionWindowTest, ClickWithoutDragFillsTwoByTwoPoints)
{
    tool("Select");
    w().Slider2->setValue(32768 + 300);
    emit w().Picture1->mouseDown(Qt::LeftButton, {}, QPointF(30, 40));
    emit w().Picture1->mouseUp(Qt::LeftButton, {}, QPointF(30, 40));
    choose("mnuTerFill");
    EXPECT_EQ(pointsEqualTo(300), 4);
    EXPECT_EQ(CurrentTerrain->GetPoint(31, 41), 300);
}

TEST_F(SelectionWindowTest, FrameDraggedPastTheGridChangesOnlyGridPoints)
{
    tool("Select");
    const int n = CurrentTerrain->Size();
    w().Slider2->setValue(32768 + 900);
    drag({double(n - 2), double(n - 2)}, {double(n + 40), double(n + 40)});
    choose("mnuTerFill");
    EXPECT_EQ(pointsEqualTo(900), 9);
    EXPECT_EQ(CurrentTerrain->row(n + 1)[n + 1], 0);
}

TEST_F(SelectionWindowTest, FrameBesideTheMapLeavesTheTerrainAndItsSavedFlag)
{
    tool("Select");
    const int n = CurrentTerrain->Size();
    TerrainSaved = true;
    drag({double(n + 10), 5}, {double(n + 30), 30});
    choose("mnuTerFill");
    EXPECT_EQ(pointsEqualTo(0), (n + 1) * (n + 1));
    EXPECT_TRUE(TerrainSaved);
    EXPECT_FALSE(w().FrameDrawn);
}

TEST_F(SelectionWindowTest, LiftAndLowerFollowTheDepthSlider)
{
    tool("Select");
    w().sldDepthEffects->setValue(30);
    drag({40, 40}, {60, 60});
    choose("mnuTerRaise");
    EXPECT_EQ(CurrentTerrain->GetPoint(50, 50), 27000);
    EXPECT_EQ(CurrentTerrain->GetPoint(39, 50), 0);
    drag({40, 40}, {60, 60});
    choose("mnuTerLower");
    EXPECT_EQ(CurrentTerrain->GetPoint(50, 50), 0);
}

TEST_F(SelectionWindowTest, ReflectVerticallyMirrorsTheFrameAndMarksTheTerrain)
{
    tool("Select");
    CurrentTerrain->SetPoint(10, 12, 111);
    CurrentTerrain->SetPoint(9, 12, 999);
    TerrainSaved = true;
    drag({10, 10}, {20, 20});
    choose("mnuTerReflectVert");
    EXPECT_EQ(CurrentTerrain->GetPoint(20, 12), 111);
    EXPECT_EQ(CurrentTerrain->GetPoint(10, 12), 0);
    EXPECT_EQ(CurrentTerrain->GetPoint(9, 12), 999);
    EXPECT_FALSE(TerrainSaved);
}

TEST_F(SelectionWindowTest, FlipsOnlyEndTheFrame)
{
    tool("Select");
    CurrentTerrain->SetPoint(12, 12, 55);
    TerrainSaved = true;
    drag({10, 10}, {20, 20});
    choose("mnuTerFlipRight");
    EXPECT_FALSE(w().FrameDrawn);
    drag({10, 10}, {20, 20});
    choose("mnuTerFlipLeft");
    EXPECT_FALSE(w().FrameDrawn);
    EXPECT_EQ(CurrentTerrain->GetPoint(12, 12), 55);
    EXPECT_TRUE(TerrainSaved);
}

TEST_F(SelectionWindowTest, TrimSaysResizeAndMovesTheFrameToTheOrigin)
{
    tool("Select");
    CurrentTerrain->SetPoint(30, 30, 1234);
    drag({30, 30}, {40, 40});
    scriptedUi().expectMsgBox(rt::vbOK);
    choose("mnuTerTrim");
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(scriptedUi().messages[0].text, QStringLiteral("resize terrain"));
    EXPECT_EQ(CurrentTerrain->GetPoint(0, 0), 1234);
    EXPECT_EQ(CurrentTerrain->GetPoint(50, 50), -32768);
}

TEST_F(SelectionWindowTest, ExitMenuEndsTheFrameWithoutChanges)
{
    tool("Select");
    drag({10, 10}, {20, 20});
    choose("mnuTerExit");
    EXPECT_FALSE(w().FrameDrawn);
    EXPECT_FALSE(rt::BusyFlag);
    EXPECT_EQ(pointsEqualTo(0), (CurrentTerrain->Size() + 1) * (CurrentTerrain->Size() + 1));
}

TEST_F(SelectionWindowTest, ChoosingAnyToolDropsTheFrameFromTheView)
{
    const QImage plain = w().Picture1->grab().toImage();
    for (const char* next : {"Pfeil", "Pen", "Select", "SelectRound", "up"}) {
        tool("Select");
        drag({20, 20}, {120, 80});
        w().mnuTerrain->hide();
        ASSERT_NE(w().Picture1->grab().toImage(), plain);
        tool(next);
        EXPECT_FALSE(w().FrameDrawn) << next;
        EXPECT_EQ(w().Picture1->grab().toImage(), plain) << next;
    }
    EXPECT_FALSE(w().SelectMode);
}

TEST_F(SelectionWindowTest, RoundSelectionFillsItsDiscAndOffersOnlyDiscCommands)
{
    tool("SelectRound");
    EXPECT_TRUE(w().SelectRound);
    w().Slider2->setValue(32768 + 444);
    drag({50, 50}, {53, 54});
    EXPECT_DOUBLE_EQ(w().FrameRadius, 5.0);
    EXPECT_TRUE(w().mnuTerrain->isVisible());
    EXPECT_FALSE(item("mnuTerTrim")->isEnabled());
    EXPECT_FALSE(item("mnuTerReflectVert")->isEnabled());
    EXPECT_FALSE(item("mnuTerMakeObject")->isEnabled());
    choose("mnuTerFill");
    EXPECT_EQ(CurrentTerrain->GetPoint(50, 45), 444);
    EXPECT_EQ(CurrentTerrain->GetPoint(47, 46), 444);
    EXPECT_EQ(CurrentTerrain->GetPoint(46, 46), 0);
    // Lattice points within 5 of the centre.
    EXPECT_EQ(pointsEqualTo(444), 81);
}

TEST_F(SelectionWindowTest, RectangleAfterARoundSelectionHasTheWholeMenuAgain)
{
    tool("SelectRound");
    drag({50, 50}, {53, 54});
    choose("mnuTerExit");
    tool("Select");
    drag({10, 10}, {20, 20});
    EXPECT_TRUE(item("mnuTerTrim")->isEnabled());
    EXPECT_TRUE(item("mnuTerReflectHorizont")->isEnabled());
    choose("mnuTerExit");
}

TEST_F(SelectionWindowTest, FrameShowsOnTheView)
{
    tool("Select");
    drag({20, 20}, {120, 80});
    w().mnuTerrain->hide();
    const QImage shot = w().Picture1->grab().toImage();
    const QImage none = [&] {
        w().FrameDrawn = false;
        return w().Picture1->grab().toImage();
    }();
    EXPECT_NE(shot, none);
}

} // namespace

namespace {

TEST_F(SelectionWindowTest, MakeObjectPlacesTheFramedHeightsAndRemovesTheHandOverFile)
{
    tool("Select");
    CurrentTerrain->SetPoint(15, 15, 5000);
    const int before = mdlObjects::PlacedObjects().count();
    drag({10, 10}, {20, 20});
    choose("mnuTerMakeObject");
    EXPECT_EQ(mdlObjects::PlacedObjects().count(), before + 1);
    // Shown on the map.
    for (const int slot : mdlObjects::PlacedObjects().usedSlots()) EXPECT_NE(w().Objects->PicTer(slot), nullptr);
    EXPECT_FALSE(QFile::exists(programDir.filePath("temppic.tmp")));
    EXPECT_FALSE(w().FrameDrawn);
    EXPECT_FALSE(rt::BusyFlag);
}

TEST_F(SelectionWindowTest, MakeObjectNeedsNoWritableProgramFolder)
{
    const QString state = programFolderNotWritable();
    tool("Select");
    const int before = mdlObjects::PlacedObjects().count();
    drag({10, 10}, {20, 20});
    choose("mnuTerMakeObject");
    EXPECT_EQ(mdlObjects::PlacedObjects().count(), before + 1);
    EXPECT_TRUE(QDir(state).isEmpty());
}

} // namespace
