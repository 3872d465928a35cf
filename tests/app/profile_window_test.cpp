// The Z view and the Z range as the user drives them.

#include "app/frmTerView.h"
#include "runtime/Numbers.h"
#include "tests/app/MainWindowFixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include <cmath>

namespace {

class ProfileWindowTest : public StartedMainWindowTest {
protected:
    // A ridge along the middle column and a slope across, drawn into the view.
    void makeHills()
    {
        clsTerrain& t = *CurrentTerrain;
        const int n = t.Size();
        for (int y = 0; y <= n; ++y)
            for (int x = 0; x <= n; ++x) {
                const double ridge = 20000.0 * std::exp(-std::pow((x - n / 2.0) / (n / 8.0), 2));
                t.SetPoint(x, y, int32_t(ridge + 40.0 * y - 15000));
            }
        TerrainEmpty = false;
        w().redrawTerrain();
        w().ActualScreen();
    }

    QString boxText(QLineEdit* box) const { return box->text(); }
};

TEST_F(ProfileWindowTest, ZViewOnAnEmptyTerrainSaysSoAndStaysOnTheTopView)
{
    scriptedUi().expectMsgBox(rt::vbOK);
    w().optZView->click();
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(scriptedUi().messages[0].text, QStringLiteral("Terrain empty !"));
    EXPECT_EQ(scriptedUi().messages[0].title, QStringLiteral("Z-View"));
    EXPECT_TRUE(w().OptXYView->isChecked());
    EXPECT_FALSE(w().PicZ->isVisible());
    EXPECT_TRUE(w().Picture1->isVisible());
}

TEST_F(ProfileWindowTest, ZViewShowsTheProfileOfTheChosenRowAndColumn)
{
    makeHills();
    w().optZView->click();
    EXPECT_TRUE(w().PicZ->isVisible());
    EXPECT_FALSE(w().Picture1->isVisible());
    EXPECT_FALSE(rt::BusyFlag);
    EXPECT_EQ(w().sldXView->maximum(), CurrentTerrain->Size() - 1);
    EXPECT_FALSE(w().PicColor->pixmap().isNull());
    EXPECT_FALSE(w().PicZView->pixmap().isNull());

    w().sldXView->setValue(100);
    EXPECT_EQ(w().ViewAxis, 1);
    EXPECT_EQ(w().lblViewFrom->text(), QStringLiteral("X"));
    EXPECT_EQ(w().lblZhigh->text(), w().txtMaxTerrain->text() + QStringLiteral(" m"));
    const QImage row = w().frmZView->pixmap().toImage();
    ASSERT_FALSE(row.isNull());
    // The ridge in the middle is taller than the edges: its top is coloured,
    // the picture's top left is not.
    const int mid = row.width() / 2;
    const int high = row.height() / 3;
    EXPECT_NE(row.pixel(mid, high), qRgb(255, 255, 255));
    EXPECT_EQ(row.pixel(2, high), qRgb(255, 255, 255));
    EXPECT_TRUE(w().frmZView->grab().save(programDir.filePath("profile_row.png")));
    EXPECT_TRUE(w().PicZ->grab().save(programDir.filePath("zview.png")));
    if (qEnvironmentVariableIsSet("KV_SHOT_DIR"))
        w().PicZ->grab().save(qEnvironmentVariable("KV_SHOT_DIR") + "/zview.png");

    w().SldYView->setValue(20);
    EXPECT_EQ(w().ViewAxis, 0);
    EXPECT_EQ(w().lblViewFrom->text(), QStringLiteral("Y"));
    // Along a column the slope rises steadily: no ridge, so the middle is low.
    const QImage column = w().frmZView->pixmap().toImage();
    EXPECT_NE(column, row);
    if (qEnvironmentVariableIsSet("KV_SHOT_DIR"))
        w().PicZ->grab().save(qEnvironmentVariable("KV_SHOT_DIR") + "/zview_column.png");
}

TEST_F(ProfileWindowTest, ZViewRescaleShowsTheNewRangeInThePanel)
{
    // Raw -13107..13107 under the start header -10..30 TU lie at 2.0002 ..
    // 17.9998 TU: the rescale makes the header 2..18, 60..540 m at 30 m a unit.
    CurrentTerrain->SetPoint(0, 0, -13107);
    CurrentTerrain->SetPoint(1, 1, 13107);
    TerrainEmpty = false;
    w().ActualScreen();  // -300 .. 900 m
    w().optZView->click();
    EXPECT_EQ(boxText(w().txtMinTerrain), QStringLiteral("60"));
    EXPECT_EQ(boxText(w().txtMaxTerrain), QStringLiteral("540"));
    EXPECT_EQ(w().lblColTblMax->text(), QStringLiteral("540 m"));
}

TEST_F(ProfileWindowTest, MetresProfileLabelsItsSpanAndNeedsNoRelief)
{
    makeHills();
    w().chkRealViewZ->setChecked(true);
    w().optZView->click();
    w().sldXView->setValue(10);
    EXPECT_TRUE(w().lblZhigh->text().endsWith(QStringLiteral(" m")));
    EXPECT_NE(w().lblZhigh->text(), w().txtMaxTerrain->text() + QStringLiteral(" m"));
    if (qEnvironmentVariableIsSet("KV_SHOT_DIR"))
        w().PicZ->grab().save(qEnvironmentVariable("KV_SHOT_DIR") + "/zview_metres.png");
}

TEST_F(ProfileWindowTest, RawProfileOfAFlatTerrainSaysFlatAndReturnsToTheTopView)
{
    CurrentTerrain->Fill(100);
    TerrainEmpty = false;
    w().optZView->click();
    ASSERT_TRUE(w().PicZ->isVisible());
    scriptedUi().expectMsgBox(rt::vbOK);
    w().sldXView->setValue(5);
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(scriptedUi().messages[0].text, QStringLiteral("Terrain flat"));
    EXPECT_EQ(scriptedUi().messages[0].title, QStringLiteral("Z-view"));
    EXPECT_TRUE(w().OptXYView->isChecked());
    EXPECT_FALSE(w().PicZ->isVisible());
}

TEST_F(ProfileWindowTest, ProfileOfALinePastTheGridReadsTheLastLine)
{
    makeHills();
    w().optZView->click();
    w().ViewAxis = 1;
    w().ZView(CurrentTerrain->Size() + 500);
    EXPECT_FALSE(w().frmZView->pixmap().isNull());
    EXPECT_TRUE(scriptedUi().messages.empty());
}

TEST_F(ProfileWindowTest, TopViewButtonReturnsFromTheZView)
{
    makeHills();
    w().optZView->click();
    w().OptXYView->click();
    EXPECT_FALSE(w().PicZ->isVisible());
    EXPECT_TRUE(w().Picture1->isVisible());
}

TEST_F(ProfileWindowTest, MinimumAboveMaximumPushesTheMaximumAndShowsMetres)
{
    w().sldZMax->setValue(30000);
    w().sldZMin->setValue(40000);
    EXPECT_EQ(w().sldZMax->value(), 40001);
    const clsTerrain& t = *CurrentTerrain;
    EXPECT_EQ(w().txtZMin->text(), rt::Str(t.GetV2Meter(float(40000 - 32768))).trimmed());
    EXPECT_EQ(w().txtZmax->text(), rt::Str(t.GetV2Meter(float(40001 - 32768))).trimmed());
    w().sldZMax->setValue(100);
    EXPECT_EQ(w().sldZMin->value(), 99);
}

TEST_F(ProfileWindowTest, ResetPutsTheBandBackToTheWholeRange)
{
    w().sldZMin->setValue(20000);
    w().sldZMax->setValue(30000);
    w().cmdZrangeReset->click();
    EXPECT_EQ(w().sldZMin->value(), 0);
    EXPECT_EQ(w().sldZMax->value(), 65536);
    const clsTerrain& t = *CurrentTerrain;
    EXPECT_EQ(w().txtZMin->text(), rt::Str(t.GetV2Meter(-32768.0f)).trimmed());
    EXPECT_EQ(w().txtZmax->text(), rt::Str(t.GetV2Meter(32768.0f)).trimmed());
}

TEST_F(ProfileWindowTest, MetresTypedIntoAZBoxMoveItsSlider)
{
    // Raw height 0 in metres, whatever the start terrain's units.
    const QString zero = rt::Str(CurrentTerrain->GetV2Meter(0.0f)).trimmed();
    w().txtZMin->selectAll();
    QTest::keyClicks(w().txtZMin, zero);
    QTest::keyClick(w().txtZMin, Qt::Key_Return);
    EXPECT_EQ(w().sldZMin->value(), 32768);
    EXPECT_EQ(w().txtZMin->text(), zero);
}

TEST_F(ProfileWindowTest, NonsenseInAZBoxIsRefusedAndTheBandKept)
{
    w().sldZMin->setValue(10000);
    const QString before = w().txtZMin->text();
    w().txtZMin->selectAll();
    QTest::keyClicks(w().txtZMin, QStringLiteral("high"));
    scriptedUi().expectMsgBox(rt::vbOK);
    QTest::keyClick(w().txtZMin, Qt::Key_Return);
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(w().sldZMin->value(), 10000);
    EXPECT_EQ(w().txtZMin->text(), before);
}

} // namespace

namespace {

TEST_F(ProfileWindowTest, OverviewReadsOutThePointUnderTheMouse)
{
    makeHills();
    w().optZView->click();
    // The overview stands for the whole map: its middle is the map's middle.
    const QPoint middle(w().PicZView->width() / 2, w().PicZView->height() / 2);
    QMouseEvent move(QEvent::MouseMove, QPointF(middle), w().PicZView->mapToGlobal(QPointF(middle)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w().PicZView, &move);
    EXPECT_EQ(w().sBarPanels[3]->text(), QStringLiteral("X=") + QString::number(CurrentTerrain->Size() / 2));
}

} // namespace
