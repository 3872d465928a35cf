// The stroke brushes as the user drives them: tool buttons, a drag over the
// top view with red dots, and the brush applied on release.

#include "app/Zoom.h"
#include "app/frmTerView.h"
#include "generate/KVFilter.h"
#include "tests/app/MainWindowFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSlider>
#include <QTest>
#include <QToolBar>

namespace {

class BrushWindowTest : public StartedMainWindowTest {
protected:
    QAction* toolButton(const char* key) { return w().Toolbar2->findChild<QAction*>(QString::fromLatin1(key)); }

    void tool(const char* key)
    {
        QAction* a = toolButton(key);
        ASSERT_NE(a, nullptr);
        ASSERT_TRUE(a->isEnabled());
        a->trigger();
    }

    QPoint at(double x, double y) const
    {
        return Zoom::terrainToView({x, y}, CurrentTerrain->Size(), window->Picture1->width()).toPoint();
    }

    void drag(QPointF from, QPointF to, int steps)
    {
        QTest::mousePress(w().Picture1, Qt::LeftButton, {}, at(from.x(), from.y()));
        for (int k = 1; k <= steps; ++k) {
            const QPointF p = from + (to - from) * (double(k) / steps);
            moveHeld(at(p.x(), p.y()));
        }
    }

    // A move with the left button held.
    void moveHeld(QPoint pos)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(pos), w().Picture1->mapToGlobal(QPointF(pos)), Qt::NoButton,
                      Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w().Picture1, &e);
    }

    void release(QPointF p) { QTest::mouseRelease(w().Picture1, Qt::LeftButton, {}, at(p.x(), p.y())); }
};

TEST_F(BrushWindowTest, BrushButtonsChooseTheirToolAndTurnThePenOff)
{
    const char* keys[] = {"up", "down", "Erode", "Noise", "Smooth", "Sharpen"};
    for (int k = 0; k < 6; ++k) {
        tool("Pen");
        ASSERT_TRUE(w().ToolBarPen->isEnabled());
        tool(keys[k]);
        EXPECT_EQ(w().FilterTool, k + 1) << keys[k];
        EXPECT_FALSE(w().PenMode);
        EXPECT_FALSE(w().PickMode);
        EXPECT_FALSE(w().SelectMode);
        EXPECT_FALSE(w().ToolBarPen->isEnabled());
    }
    tool("Pfeil");
    EXPECT_EQ(w().FilterTool, 0);
    tool("Smooth");
    w().DeactEdit();
    EXPECT_EQ(w().FilterTool, 0);
}

TEST_F(BrushWindowTest, DragMarksRedDotsAndReleaseRaisesOnlyTheStroke)
{
    tool("up");
    w().Slider1->setValue(3);
    w().sldDepthEffects->setValue(10);
    TerrainSaved = true;
    drag({50, 100}, {80, 100}, 6);
    // Nothing changes while dragging; the marks show red.
    EXPECT_EQ(CurrentTerrain->GetPoint(65, 100), 0);
    EXPECT_TRUE(w().StrokeMask.marked(65, 100));
    EXPECT_EQ(w().Picture1->image().pixel(65, 100), qRgb(255, 20, 20));
    release({80, 100});
    EXPECT_GT(CurrentTerrain->GetPoint(50, 100), 0);
    EXPECT_GT(CurrentTerrain->GetPoint(65, 100), 0);
    EXPECT_GT(CurrentTerrain->GetPoint(80, 100), 0);
    EXPECT_EQ(CurrentTerrain->GetPoint(65, 110), 0);
    EXPECT_EQ(CurrentTerrain->GetPoint(20, 100), 0);
    EXPECT_EQ(CurrentTerrain->GetPoint(90, 100), 0);
    EXPECT_FALSE(TerrainSaved);
    EXPECT_FALSE(TerrainEmpty);
    EXPECT_FALSE(rt::BusyFlag);
    // The map is drawn again from the terrain: the dots are gone.
    EXPECT_NE(w().Picture1->image().pixel(65, 100), qRgb(255, 20, 20));
}

TEST_F(BrushWindowTest, ClickWithoutMovingAppliesTheBrushOnceAtThePoint)
{
    tool("down");
    w().Slider1->setValue(10);
    w().sldDepthEffects->setValue(5);
    QTest::mouseClick(w().Picture1, Qt::LeftButton, {}, at(120, 60));
    const int32_t centre = CurrentTerrain->GetPoint(120, 60);
    EXPECT_LT(centre, 0);
    // The press may land a fraction off the point; the bell's centre is the lowest.
    EXPECT_LE(centre, CurrentTerrain->GetPoint(125, 60));
    EXPECT_EQ(CurrentTerrain->GetPoint(131, 60), 0);
}

TEST_F(BrushWindowTest, ANewPressStartsAnEmptyMask)
{
    tool("up");
    drag({40, 40}, {44, 40}, 2);
    release({44, 40});
    EXPECT_TRUE(w().StrokeMask.marked(42, 40));
    QTest::mousePress(w().Picture1, Qt::LeftButton, {}, at(200, 200));
    EXPECT_FALSE(w().StrokeMask.marked(42, 40));
    QTest::mouseRelease(w().Picture1, Qt::LeftButton, {}, at(200, 200));
}

TEST_F(BrushWindowTest, ErodeWithoutItsPatternSaysSoAndKeepsTheTerrain)
{
    tool("Erode");
    TerrainSaved = true;
    scriptedUi().expectMsgBox(rt::vbOK);
    QTest::mouseClick(w().Picture1, Qt::LeftButton, {}, at(100, 100));
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(CurrentTerrain->GetPoint(100, 100), 0);
    EXPECT_TRUE(TerrainSaved);
    EXPECT_FALSE(rt::BusyFlag);
}

TEST_F(BrushWindowTest, ErodeShiftsThePatternByTheSeedBox)
{
    // A 1025-pixel pattern: white from column 1000 on, black before.
    QImage img(1025, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < 1025; ++x) line[x] = x >= 1000 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    }
    ASSERT_TRUE(img.save(programDir.filePath("erode0.flt"), "BMP"));
    KVFilter::ErosionPatternFile.clear();
    tool("Erode");
    w().Slider1->setValue(2);
    w().sldDepthEffects->setValue(0);
    w().txtRandom->setText(QStringLiteral("0"));
    QTest::mouseClick(w().Picture1, Qt::LeftButton, {}, at(100, 3));
    EXPECT_EQ(CurrentTerrain->GetPoint(100, 3), 3);
    // "999": 769 * 0.999 rounds to 768, so point 240 reads column 1008... white.
    w().txtRandom->setText(QStringLiteral("999"));
    QTest::mouseClick(w().Picture1, Qt::LeftButton, {}, at(240, 1));
    EXPECT_EQ(CurrentTerrain->GetPoint(240, 1), 3 + 65535 / 11);
}

} // namespace
