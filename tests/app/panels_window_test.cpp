// The Global tab's boxes, presets and grid resize, the fine height and the
// Effects tab, driven through the main window's controls.

#include "app/AppState.h"
#include "app/Panels.h"
#include "app/frmTerView.h"
#include "tests/app/MainWindowFixture.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

#include <functional>

namespace {

class PanelsWindowTest : public StartedMainWindowTest {
protected:
    // A loaded terrain of n points: ScaleT 10, -10..30 units, a slope along x.
    void loadTerrain(int32_t n)
    {
        clsTerrain& t = *CurrentTerrain;
        t.Init(n);
        for (int32_t y = 0; y < n; ++y)
            for (int32_t x = 0; x < n; ++x) t.SetPoint(x, y, x * 100 - 5000);
        t.Range();
        t.setScaleT(10.0f);
        t.setUnitRange(-10, 30, true);
        markTerrainLoaded();
        TerrainSaved = true;
        w().ResizePic(t.Size(), std::nullopt);
        w().ActualScreen();
    }

    void typeAndLeave(QLineEdit* box, const QString& text)
    {
        box->setText(text);
        emit box->editingFinished();
    }

    void chooseSize(int index) { w().optTerSize[size_t(index)]->setChecked(true); }

    // A valley as a rescale leaves it: 65 points at 1000 m, -564..255 m under
    // a header no file holds; the boxes show -1000, 0 and 64000.
    void loadValley()
    {
        loadTerrain(65);
        CurrentTerrain->setScaleT(1000.0f);
        CurrentTerrain->setHeightScale(0.819);
        CurrentTerrain->setBaseHeight(-0.1545);
        w().ActualScreen();
    }

    // Into the box and out again, then Enter in it: the text stays as shown.
    void touch(QLineEdit* box)
    {
        if (!w().isActiveWindow()) {
            w().activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&w()));
        }
        box->setFocus();
        w().txtRandom->setFocus();
        QTest::keyClick(box, Qt::Key_Return);
    }
};

// --- Global tab -----------------------------------------------------------------

TEST_F(PanelsWindowTest, TypedHeightsReachTheTerrainInUnits)
{
    loadTerrain(129);
    typeAndLeave(w().txtMinTerrain, QStringLiteral("-300"));
    typeAndLeave(w().txtMaxTerrain, QStringLiteral("1204"));
    EXPECT_EQ(CurrentTerrain->MinTU(), -30);
    EXPECT_EQ(CurrentTerrain->MaxTU(), 120);  // 1204 m is 120.4 units
    EXPECT_EQ(w().txtMaxTerrain->text(), QStringLiteral("1200"));
}

TEST_F(PanelsWindowTest, TextWithoutANumberKeepsTheHeightAndShowsItAgain)
{
    loadTerrain(129);
    typeAndLeave(w().txtMinTerrain, QStringLiteral("abc"));
    EXPECT_EQ(CurrentTerrain->MinTU(), -10);
    EXPECT_EQ(w().txtMinTerrain->text(), QStringLiteral("-100"));
}

TEST_F(PanelsWindowTest, HugeHeightIsHeldTo16BitsAboveTheMinimum)
{
    loadTerrain(129);
    typeAndLeave(w().txtMaxTerrain, QStringLiteral("99999999"));
    // The span is 16 bits: the top gives way, the bottom stays.
    EXPECT_EQ(CurrentTerrain->MinTU(), -10);
    EXPECT_EQ(CurrentTerrain->MaxTU(), 32757);  // an odd span, both ends exact
}

TEST_F(PanelsWindowTest, BottomTypedAboveTheTopLeavesOneUnitBelowIt)
{
    loadTerrain(129);
    typeAndLeave(w().txtMinTerrain, QStringLiteral("1000"));  // 100 units, above the top 30
    EXPECT_EQ(CurrentTerrain->MinTU(), 29);
    EXPECT_EQ(CurrentTerrain->MaxTU(), 30);
    EXPECT_EQ(CurrentTerrain->HeightScale(), 1);
}

TEST_F(PanelsWindowTest, BoxesOnlyTouchedChangeNothing)
{
    const std::function<void()> terrains[] = {
        [&] { loadValley(); },
        // Whole units at 0.5 m a point: -3.5..16.5 m shows in whole metres.
        [&] {
            loadTerrain(129);
            CurrentTerrain->setScaleT(0.5f);
            CurrentTerrain->setUnitRange(-7, 33, true);
            w().ActualScreen();
        },
    };
    for (const auto& load : terrains)
        for (QLineEdit* box : {w().txtMinTerrain, w().txtMaxTerrain, w().txtTerSizeMeters}) {
            SCOPED_TRACE(box->objectName().toStdString());
            load();
            const TerHeader before = CurrentTerrain->header();
            touch(box);
            EXPECT_EQ(CurrentTerrain->HeightScale(), before.HeightScale);
            EXPECT_EQ(CurrentTerrain->BaseHeight(), before.BaseHeight);
            EXPECT_EQ(CurrentTerrain->ScaleT(), before.ScaleZ);
        }
    EXPECT_TRUE(scriptedUi().messages.empty());
}

TEST_F(PanelsWindowTest, RadiusBoxOnlyTouchedKeepsTheRadiusOfTheFile)
{
    loadTerrain(129);
    CurrentTerrain->setCRAD(6371.2f);
    w().ActualScreen();
    touch(w().txtPlanetRadius);
    w().Toolbar1_ButtonClick(QStringLiteral("Zoom100"));
    EXPECT_EQ(CurrentTerrain->CRAD(), 6371.2f);
}

TEST_F(PanelsWindowTest, LettersAreDroppedFromTheNumberBoxes)
{
    w().txtMinTerrain->setText(QStringLiteral("-30"));
    QTest::keyClick(w().txtMinTerrain, Qt::Key_A);
    EXPECT_EQ(w().txtMinTerrain->text(), QStringLiteral("-30"));
    w().txtMinTerrain->end(false);
    QTest::keyClick(w().txtMinTerrain, Qt::Key_5);
    EXPECT_EQ(w().txtMinTerrain->text(), QStringLiteral("-305"));
}

TEST_F(PanelsWindowTest, PlanetRadiusBoxIsKeptTo1To10000)
{
    w().txtPlanetRadius->setText(QStringLiteral("20000"));
    QTest::keyClick(w().txtPlanetRadius, Qt::Key_X);
    EXPECT_EQ(w().txtPlanetRadius->text(), QStringLiteral("10000"));
    typeAndLeave(w().txtPlanetRadius, QStringLiteral("abc"));
    EXPECT_EQ(w().txtPlanetRadius->text(), QStringLiteral("1"));
}

TEST_F(PanelsWindowTest, RadiusTypedPastTheLimitReachesTheTerrainAs10000)
{
    // Each key clamps the text before it goes in: "99999" then "5" is 100005.
    w().txtPlanetRadius->clear();
    w().txtPlanetRadius->setFocus();
    QTest::keyClicks(w().txtPlanetRadius, QStringLiteral("999995"));
    w().Toolbar1_ButtonClick(QStringLiteral("Zoom100"));
    EXPECT_FLOAT_EQ(CurrentTerrain->CRAD(), 10000.0f);
}

TEST_F(PanelsWindowTest, SideLengthAnsweredNoKeepsTheMetresOfTheHeights)
{
    loadTerrain(257);  // 2560 m, heights -100 .. 300 m
    scriptedUi().expectMsgBox(rt::vbNo);
    typeAndLeave(w().txtTerSizeMeters, QStringLiteral("1000"));
    EXPECT_FLOAT_EQ(CurrentTerrain->ScaleT(), 1000.0f / 256.0f);
    // -25.6 .. 76.8 units, not the whole units -26 .. 77 (-101.6 .. 300.8 m).
    EXPECT_NEAR(CurrentTerrain->GetV2Meter(-32768.0f), -100.0f, 0.001f);
    EXPECT_NEAR(CurrentTerrain->GetV2Meter(32768.0f), 300.0f, 0.001f);
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(scriptedUi().messages[0].title, QStringLiteral("Change Value"));
    EXPECT_EQ(scriptedUi().messages[0].text,
              QStringLiteral("The size was changed. Shall the Terrain height also be adjusted?"));
}

TEST_F(PanelsWindowTest, SideLengthAnsweredYesKeepsTheUnits)
{
    loadTerrain(257);
    scriptedUi().expectMsgBox(rt::vbYes);
    typeAndLeave(w().txtTerSizeMeters, QStringLiteral("5120"));
    EXPECT_FLOAT_EQ(CurrentTerrain->ScaleT(), 20.0f);
    EXPECT_EQ(CurrentTerrain->MinTU(), -10);
    EXPECT_EQ(w().txtMaxTerrain->text(), QStringLiteral("600"));
}

TEST_F(PanelsWindowTest, TooShortOrNonsenseSideLengthIsRaisedToSizePlus1)
{
    loadTerrain(257);
    scriptedUi().expectMsgBox(rt::vbNo);
    typeAndLeave(w().txtTerSizeMeters, QStringLiteral("50"));
    EXPECT_FLOAT_EQ(CurrentTerrain->ScaleT(), 257.0f / 256.0f);
    typeAndLeave(w().txtTerSizeMeters, QStringLiteral(",,"));
    EXPECT_FLOAT_EQ(CurrentTerrain->ScaleT(), 257.0f / 256.0f);
    EXPECT_TRUE(scriptedUi().allAnswersUsed());
}

TEST_F(PanelsWindowTest, PlanetPresetsShowTheirRadius)
{
    const std::pair<QPushButton*, const char*> presets[] = {
        {w().cmdMars, "3390"}, {w().cmdMoon, "1738"}, {w().cmdEarth, "6370"}};
    for (const auto& [button, radius] : presets) {
        button->click();
        EXPECT_EQ(w().txtPlanetRadius->text(), QString::fromLatin1(radius));
    }
    EXPECT_FLOAT_EQ(CurrentTerrain->CRAD(), 6370.0f);
}

TEST_F(PanelsWindowTest, PlanetCompleteIsCurvedWith5MetresAPoint)
{
    w().cmdPlanetRender->click();
    EXPECT_TRUE(w().chkCurved->isChecked());
    EXPECT_EQ(CurrentTerrain->CRVM(), 1);
    EXPECT_FLOAT_EQ(CurrentTerrain->ScaleT(), 5.0f);
    EXPECT_EQ(w().txtPlanetRadius->text(), QStringLiteral("6"));
    EXPECT_TRUE(w().txtMetersPoint->text().startsWith(QStringLiteral("5")));
    w().chkCurved->click();
    EXPECT_EQ(CurrentTerrain->CRVM(), 0);
}

// --- grid resize ------------------------------------------------------------------

TEST_F(PanelsWindowTest, ResizeUpDoublesTwiceAndWithYesDoublesTheUnits)
{
    loadTerrain(257);
    chooseSize(3);
    scriptedUi().expectMsgBox(rt::vbYes);
    w().CmdResize->click();
    EXPECT_EQ(CurrentTerrain->Size(), 1024);
    EXPECT_EQ(CurrentTerrain->MaxTU(), 120);
    EXPECT_EQ(CurrentTerrain->MinTU(), -40);
    EXPECT_FALSE(TerrainSaved);
    EXPECT_FALSE(rt::BusyFlag);
    EXPECT_TRUE(w().optTerSize[3]->isChecked());
    EXPECT_EQ(scriptedUi().messages.at(0).title, QStringLiteral("Resize terrain"));
}

TEST_F(PanelsWindowTest, ResizeDownHalvesTwiceAndWithYesHalvesTheUnits)
{
    loadTerrain(1025);
    chooseSize(1);
    scriptedUi().expectMsgBox(rt::vbYes);
    w().CmdResize->click();
    EXPECT_EQ(CurrentTerrain->Size(), 256);
    EXPECT_EQ(CurrentTerrain->MaxTU(), 8);   // 15, then 7.5, shown rounded half to even
    EXPECT_EQ(CurrentTerrain->MinTU(), -2);  // -5, then -2.5
    EXPECT_FALSE(TerrainSaved);
    // The slope is kept: the last point is still the highest.
    EXPECT_GT(CurrentTerrain->GetPoint(256, 5), CurrentTerrain->GetPoint(0, 5));
}

TEST_F(PanelsWindowTest, ResizeAnsweredYesScalesTheExactUnits)
{
    loadValley();
    chooseSize(0);
    scriptedUi().expectMsgBox(rt::vbYes);
    w().CmdResize->click();
    EXPECT_EQ(CurrentTerrain->Size(), 128);
    EXPECT_NEAR(CurrentTerrain->GetV2Meter(-32768.0f), -1128.0f, 0.01f);
    EXPECT_NEAR(CurrentTerrain->GetV2Meter(32768.0f), 510.0f, 0.01f);
}

TEST_F(PanelsWindowTest, ResizeAnsweredNoKeepsTheUnits)
{
    loadTerrain(129);
    chooseSize(1);
    scriptedUi().expectMsgBox(rt::vbNo);
    w().CmdResize->click();
    EXPECT_EQ(CurrentTerrain->Size(), 256);
    EXPECT_EQ(CurrentTerrain->MaxTU(), 30);
    EXPECT_EQ(CurrentTerrain->MinTU(), -10);
}

TEST_F(PanelsWindowTest, ResizeOfAnEmptyTerrainMakesAFlatOneWithoutAQuestion)
{
    ASSERT_TRUE(TerrainEmpty);
    chooseSize(0);
    w().CmdResize->click();
    EXPECT_EQ(CurrentTerrain->Size(), 128);
    EXPECT_EQ(CurrentTerrain->MinTU(), -10);
    EXPECT_EQ(CurrentTerrain->MaxTU(), 10);
    EXPECT_EQ(CurrentTerrain->GetPoint(64, 64), 0);
    EXPECT_TRUE(scriptedUi().messages.empty());
    EXPECT_TRUE(TerrainEmpty);
}

TEST_F(PanelsWindowTest, ResizeToTheSameSizeKeepsTheHeights)
{
    loadTerrain(257);
    chooseSize(1);
    w().CmdResize->click();
    EXPECT_EQ(CurrentTerrain->GetPoint(10, 0), 10 * 100 - 5000);
    EXPECT_EQ(CurrentTerrain->MaxTU(), 30);
    EXPECT_TRUE(TerrainSaved);
    EXPECT_TRUE(scriptedUi().messages.empty());
}

TEST_F(PanelsWindowTest, SizeNoOptionMatchesChecksNoneAndAnUnreachableSizeIsRefused)
{
    loadTerrain(300);  // halving gives 150 points, doubling that 299
    for (const QRadioButton* o : w().optTerSize) EXPECT_FALSE(o->isChecked()) << o->text().toStdString();
    chooseSize(1);
    scriptedUi().expectMsgBox(rt::vbOK);
    w().CmdResize->click();
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(scriptedUi().messages[0].title, QStringLiteral("Resize terrain"));
    EXPECT_TRUE(scriptedUi().messages[0].text.contains(QStringLiteral("cannot be resized to 257 x 257")));
    EXPECT_EQ(CurrentTerrain->XPoints(), 300);
    EXPECT_EQ(CurrentTerrain->GetPoint(10, 0), 10 * 100 - 5000);
    EXPECT_TRUE(TerrainSaved);
    EXPECT_FALSE(rt::BusyFlag);
}

// --- Edit tab and tab change ----------------------------------------------------------

TEST_F(PanelsWindowTest, FineHeightShowsMetresOverTheHeightRangeAndResets)
{
    loadTerrain(129);  // boxes -100 and 300 m
    w().chkPick->setChecked(true);
    w().sliderFineHeight->setValue(100);
    // 400 / 65535 x 100 = 0.6104
    EXPECT_EQ(w().lblFineHeight->text(), QStringLiteral("0.610"));
    EXPECT_FALSE(w().chkPick->isChecked());
    w().cmdResetFineHeight->click();
    EXPECT_EQ(w().sliderFineHeight->value(), 0);
    EXPECT_EQ(w().lblFineHeight->text(), QStringLiteral("0.000"));
}

TEST_F(PanelsWindowTest, BrushHeightInMetresFollowsTheTerrainScale)
{
    CurrentTerrain->setBaseHeight(10);
    CurrentTerrain->setScaleT(30.0f);
    w().Slider2->setValue(32768);
    w().sliderFineHeight->setValue(1);
    w().cmdResetFineHeight->click();
    EXPECT_EQ(w().lblHeight->text(), QStringLiteral("300.0"));
    EXPECT_EQ(w().lblPickHeigh->text(), QStringLiteral("300.00"));
}

TEST_F(PanelsWindowTest, TabChangeShowsTheBrushSizeAndLeavesThePen)
{
    QAction* pen = w().Toolbar2->findChild<QAction*>(QStringLiteral("Pen"));
    ASSERT_NE(pen, nullptr);
    pen->trigger();
    ASSERT_TRUE(w().PenMode);
    w().Slider2->setValue(32768 + 1000);
    w().Slider1->setValue(17);
    w().Label39->setText(QString());
    w().SSTab1->setCurrentIndex((w().SSTab1->currentIndex() + 1) % w().SSTab1->count());
    EXPECT_EQ(w().Label39->text(), QStringLiteral("17"));
    EXPECT_FALSE(w().PenMode);
    // The pen is gone, not only its flag: a press paints nothing.
    QTest::mouseClick(w().Picture1, Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_EQ(CurrentTerrain->Range(), 0);
}

// --- Effects tab --------------------------------------------------------------------

TEST_F(PanelsWindowTest, EachEffectKeepsItsOwnStrength)
{
    w().optFilter[1]->click();
    w().sldEffectFactor->setValue(4);
    EXPECT_EQ(EffectFactors[2], 4);
    w().optFilter[0]->click();
    EXPECT_EQ(w().sldEffectFactor->value(), 1);
    w().optFilter[1]->click();
    EXPECT_EQ(w().sldEffectFactor->value(), 4);
    EXPECT_EQ(w().EffectFilter, 1);
}

TEST_F(PanelsWindowTest, StartEffectsOnAnEmptyTerrainSaysSo)
{
    scriptedUi().expectMsgBox(rt::vbOK);
    w().cmdStartEffects->click();
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(scriptedUi().messages[0].text, QStringLiteral("Terrain empty"));
    EXPECT_EQ(scriptedUi().messages[0].title, QStringLiteral("Effects"));
    EXPECT_TRUE(TerrainEmpty);
}

TEST_F(PanelsWindowTest, StartEffectsInvertsTheTerrainAndMarksItUnsaved)
{
    loadTerrain(129);
    w().optFilter[2]->click();
    w().cmdStartEffects->click();
    EXPECT_EQ(CurrentTerrain->GetPoint(0, 3), 5000);
    EXPECT_EQ(CurrentTerrain->GetPoint(128, 3), -7800);
    EXPECT_FALSE(TerrainSaved);
    EXPECT_FALSE(rt::BusyFlag);
}

TEST_F(PanelsWindowTest, StartEffectsSmoothsOnlyInsideTheBand)
{
    loadTerrain(129);
    clsTerrain& t = *CurrentTerrain;
    t.SetPoint(60, 60, 30000);
    w().sldZMin->setValue(32768 - 3000);
    w().sldZMax->setValue(32768 + 20000);
    w().optFilter[0]->click();
    w().sldEffectFactor->setValue(3);
    w().cmdStartEffects->click();
    EXPECT_EQ(t.GetPoint(60, 60), 30000);             // above the band
    EXPECT_GT(t.GetPoint(61, 61), 61 * 100 - 5000);  // its neighbour took some of it
    EXPECT_EQ(t.GetPoint(0, 0), -5000);               // below the band
    EXPECT_EQ(t.GetPoint(20, 7), -3000);              // at its lower border
    EXPECT_EQ(t.GetPoint(100, 100), 5000);            // the diagonal mean of a slope is the slope
}

TEST_F(PanelsWindowTest, MissingErosionPatternIsReportedAndKeepsTheTerrain)
{
    loadTerrain(129);
    w().optFilter[4]->click();
    scriptedUi().expectMsgBox(rt::vbOK);
    w().cmdStartEffects->click();
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(scriptedUi().messages[0].title, QStringLiteral("Effects"));
    EXPECT_EQ(CurrentTerrain->GetPoint(10, 10), 10 * 100 - 5000);
    EXPECT_TRUE(TerrainSaved);
}

} // namespace
