#include "app/AppState.h"
#include "generate/dlgGenModify.h"
#include "generate/dlgPreview.h"
#include "app/frmTer.h"
#include "runtime/Ui.h"
#include "terrain/TerrainGlobals.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/ScriptedUi.h"

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

class GeneratorWindowTest : public MainWindowTest {
protected:
    // The sets' pictures a.bmp .. e.bmp (PNG content: the name does not decide).
    void installPictures()
    {
        const char* names[] = {"a.bmp", "b.bmp", "c.bmp", "d.bmp", "e.bmp"};
        for (int k = 0; k < 5; ++k) {
            QImage img(300, 300, QImage::Format_RGB32);
            for (int y = 0; y < 300; ++y)
                for (int x = 0; x < 300; ++x) {
                    const int g = (x * (k + 3) + y * 11 + x * y / 23) % 256;
                    img.setPixel(x, y, qRgb(g, g, g));
                }
            ASSERT_TRUE(img.save(programDir.filePath(QStringLiteral("PS/") + QLatin1String(names[k])), "PNG"));
        }
    }
    void startWithSets(bool pictures = true)
    {
        installPerlinSets();
        if (pictures) installPictures();
        start();
        ASSERT_NE(window, nullptr);
    }
    bool terrainFlat() const
    {
        const clsTerrain& t = *CurrentTerrain;
        for (int32_t y = 0; y <= t.Size(); ++y)
            for (int32_t x = 0; x <= t.Size(); ++x)
                if (t.GetPoint(x, y) != t.GetPoint(0, 0)) return false;
        return true;
    }
    // Runs act on the first visible modal dialog of type D once it is shown.
    template <typename D>
    void whenShown(std::function<void(D&)> act)
    {
        auto* timer = new QTimer(window.get());
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* d = qobject_cast<D*>(w); d && d->isVisible()) {
                    timer->stop();
                    timer->deleteLater();
                    act(*d);
                    return;
                }
            }
        });
        timer->start();
    }
};

TEST_F(GeneratorWindowTest, GenerateWithAChosenSetChangesTheTerrainAndLeavesItUnsaved)
{
    startWithSets();
    ASSERT_EQ(w().lstPerlinSets->currentRow(), 0);
    ASSERT_TRUE(terrainFlat());
    CombineMode = 2;  // an empty terrain goes back to adding afterwards
    w().cmdGenerator->click();
    EXPECT_FALSE(terrainFlat());
    EXPECT_EQ(CurrentTerrain->Size(), 256);
    EXPECT_FALSE(TerrainEmpty);
    EXPECT_FALSE(TerrainSaved);
    EXPECT_FALSE(rt::BusyFlag);
    EXPECT_EQ(CombineMode, 1);
    EXPECT_FALSE(w().PicTer[1].isNull());
    EXPECT_TRUE(scriptedUi().messages.empty());
    // With content and no "clear Terrain" the combine options are offered.
    EXPECT_TRUE(w().cmdGenModify->isEnabled());
    w().chkClearTerrain->click();
    EXPECT_FALSE(w().cmdGenModify->isEnabled());
}

// The busy state, "Load Perlin Sets..." and a turn of the event pump come
// before the set's five pictures are read, so the window hears of the read.
TEST_F(GeneratorWindowTest, GenerateIsBusyAndSaysSoBeforeReadingThePictures)
{
    startWithSets();
    ASSERT_TRUE(w().PicTer[1].isNull());
    std::optional<bool> busy, picturesRead;
    QString status;
    scriptedUi().onPumpAsked = [&] {
        if (busy) return;
        busy = rt::BusyFlag;
        picturesRead = !w().PicTer[1].isNull();
        status = scriptedUi().statusTexts.value(scriptedUi().statusTexts.size() - 1);
    };
    w().cmdGenerator->click();
    scriptedUi().onPumpAsked = nullptr;
    ASSERT_TRUE(busy);
    EXPECT_TRUE(*busy);
    EXPECT_FALSE(*picturesRead);
    EXPECT_EQ(status, QStringLiteral("Load Perlin Sets..."));
    EXPECT_FALSE(w().PicTer[1].isNull());
    EXPECT_FALSE(rt::BusyFlag);
}

TEST_F(GeneratorWindowTest, NonsenseSeedStillGeneratesFromInsideThePictures)
{
    startWithSets();
    for (const char* seed : {"-99", "seed!", "99999999999"}) {
        w().txtRandom->setText(QLatin1String(seed));
        w().chkClearTerrain->setChecked(true);
        w().cmdGenerator->click();
        EXPECT_FALSE(terrainFlat()) << seed;
    }
    EXPECT_TRUE(scriptedUi().messages.empty());
}

TEST_F(GeneratorWindowTest, GenerateWithoutAChosenSetSaysSoAndChangesNothing)
{
    startWithSets();
    w().lstPerlinSets->setCurrentRow(-1);
    scriptedUi().expectMsgBox(rt::vbOK);
    w().cmdGenerator->click();
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(scriptedUi().messages[0].text, QStringLiteral("Please select a Perlinset first."));
    EXPECT_TRUE(terrainFlat());
    EXPECT_TRUE(TerrainEmpty);
    EXPECT_FALSE(rt::BusyFlag);
}

TEST_F(GeneratorWindowTest, SetWithMissingPicturesKeepsTheTerrainEvenWithClearTerrain)
{
    startWithSets(false);
    CurrentTerrain->SetPoint(10, 10, 500);
    markTerrainChanged();
    w().chkClearTerrain->setChecked(true);
    scriptedUi().expectMsgBox(rt::vbOK);
    w().cmdGenerator->click();
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_TRUE(scriptedUi().messages[0].text.contains(QStringLiteral("a.bmp")));
    EXPECT_EQ(CurrentTerrain->GetPoint(10, 10), 500);
    EXPECT_EQ(CurrentTerrain->GetPoint(11, 10), 0);
    EXPECT_FALSE(rt::BusyFlag);
}

TEST_F(GeneratorWindowTest, GridSizeTheGeneratorCannotMakeIsReported)
{
    startWithSets();
    CurrentTerrain->Init(301);
    scriptedUi().expectMsgBox(rt::vbOK);
    w().cmdGenerator->click();
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_TRUE(scriptedUi().messages[0].text.contains(QStringLiteral("301 x 301")));
    EXPECT_TRUE(terrainFlat());
    EXPECT_FALSE(rt::BusyFlag);
}

TEST_F(GeneratorWindowTest, PreviewShowsTheLayerAndLeavesTheCurrentTerrain)
{
    startWithSets();
    CurrentTerrain->SetPoint(3, 3, 1234);
    markTerrainChanged();
    bool shown = false;
    whenShown<dlgPreview>([&shown](dlgPreview& d) {
        shown = !d.Picture1->pixmap().isNull();
        d.OKButton->click();
    });
    // The progress bar follows the preview terrain while it is generated.
    bool partShown = false;
    scriptedUi().onPumpAsked = [&] {
        w().Timer1_Timer();
        partShown = partShown || (w().PB->value() > 0 && w().PB->value() < 100);
    };
    w().cmdPreview->click();
    scriptedUi().onPumpAsked = nullptr;
    EXPECT_TRUE(shown);
    EXPECT_TRUE(partShown);
    EXPECT_EQ(CurrentTerrain->GetPoint(3, 3), 1234);
    EXPECT_EQ(CurrentTerrain->GetPoint(4, 3), 0);
    EXPECT_FALSE(rt::BusyFlag);
}

TEST_F(GeneratorWindowTest, ModifyOptionsSetTheCombineMode)
{
    startWithSets();
    CombineMode = 1;
    whenShown<dlgGenModify>([](dlgGenModify& d) {
        EXPECT_TRUE(d.optModifyTerrain[1]->isChecked());
        EXPECT_FALSE(d.optModifyTerrain[3]->isEnabled());
        d.optModifyTerrain[6]->click();
        d.OKButton->click();
    });
    w().cmdGenModify_Click();
    EXPECT_EQ(CombineMode, 6);
}

TEST_F(GeneratorWindowTest, RandomSeedButtonShowsANewSeed)
{
    startWithSets();
    w().cmdRandom->click();
    EXPECT_GE(RandomSeed, 0);
    EXPECT_LE(RandomSeed, 999998);
    EXPECT_EQ(w().txtRandom->text(), QString::number(RandomSeed));
}

TEST_F(GeneratorWindowTest, SettingsSavedAndLoadedThroughTheButtons)
{
    startWithSets();
    const QString file = programDir.filePath("mine.par");
    w().lstPerlinSets->setCurrentRow(1);
    w().sldIteration->setValue(7);
    w().Slider3->setValue(3);
    w().txtRandom->setText(QStringLiteral("4711"));
    CombineMode = 5;
    scriptedUi().expectSaveDialog({true, file, 1});
    w().cmdGeneratorSaveSetting->click();
    ASSERT_EQ(scriptedUi().dialogRequests.size(), 1u);
    EXPECT_EQ(scriptedUi().dialogRequests[0].title, QStringLiteral("Save Setting"));
    EXPECT_EQ(scriptedUi().dialogRequests[0].filter, QStringLiteral("Setting |*.par"));

    w().lstPerlinSets->setCurrentRow(0);
    w().sldIteration->setValue(1);
    w().Slider3->setValue(0);
    w().txtRandom->setText(QStringLiteral("1"));
    CombineMode = 1;
    scriptedUi().expectOpenDialog({true, file, 1});
    w().cmdGenLoadSetting->click();
    EXPECT_EQ(w().lstPerlinSets->currentRow(), 1);
    EXPECT_EQ(w().sldIteration->value(), 7);
    EXPECT_EQ(w().Slider3->value(), 3);
    EXPECT_EQ(w().txtRandom->text(), QStringLiteral("4711"));
    EXPECT_EQ(RandomSeed, 4711);
    EXPECT_EQ(CombineMode, 5);
    EXPECT_TRUE(scriptedUi().messages.empty());
}

TEST_F(GeneratorWindowTest, AFailedSettingsSaveNamesTheSystemsReason)
{
    startWithSets();
    scriptedUi().expectSaveDialog({true, programDir.filePath("no/such/folder/mine.par"), 1});
    scriptedUi().expectMsgBox(rt::vbOK);
    w().cmdGeneratorSaveSetting->click();
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_TRUE(scriptedUi().messages[0].text.contains(QStringLiteral("No such file or directory")))
        << scriptedUi().messages[0].text.toStdString();
}

TEST_F(GeneratorWindowTest, LoadingNonsenseKeepsThePanelAndSaysWhich)
{
    startWithSets();
    const QString file = programDir.filePath("bad.par");
    writeFile(file, "[Generator]\nIteration=99\nHeight=40\nmodify=abc\n");
    w().sldIteration->setValue(4);
    CombineMode = 2;
    scriptedUi().expectOpenDialog({true, file, 1});
    scriptedUi().expectMsgBox(rt::vbOK);
    w().cmdGenLoadSetting->click();
    EXPECT_EQ(w().sldIteration->value(), 4);
    EXPECT_EQ(w().sldGenHeigth->value(), 40);
    EXPECT_EQ(CombineMode, 2);
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_TRUE(scriptedUi().messages[0].text.contains(QStringLiteral("iteration, modify")));
}

TEST_F(GeneratorWindowTest, LoadingAFileWithoutGeneratorSettingsChangesNothing)
{
    startWithSets();
    const QString file = programDir.filePath("erosion.par");
    writeFile(file, "[Erosion]\nIteration=5\n");
    scriptedUi().expectOpenDialog({true, file, 1});
    scriptedUi().expectMsgBox(rt::vbOK);
    w().cmdGenLoadSetting->click();
    EXPECT_EQ(w().sldIteration->value(), 1);
    EXPECT_EQ(w().lstPerlinSets->currentRow(), 0);
    EXPECT_TRUE(scriptedUi().messages.at(0).text.contains(QStringLiteral("holds no generator settings")));
}

TEST_F(GeneratorWindowTest, CancelledSaveWritesNothing)
{
    startWithSets();
    scriptedUi().expectSaveDialog({false, QString(), 1});
    w().cmdGeneratorSaveSetting->click();
    EXPECT_TRUE(QDir(programDir.path()).entryList({"*.par"}, QDir::Files).isEmpty());
}

} // namespace
