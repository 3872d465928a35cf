// The object maker window: Apply through to a placed object on the main
// window, the hand-over file, the grey picture handed over, saved and copied,
// the mode shown on opening, and the file dialogs and messages.

#include "objects/frmOjektmaker.h"
#include "app/frmTerObjects.h"
#include "objects/mdlObjects.h"
#include "objects/ObjektMakerFiles.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/Metafiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

using namespace ObjektMaker;

class ObjektmakerTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        objektMakerState() = State{};
        ObjectDirectory = programDir.path();
    }
    void TearDown() override
    {
        objektMakerState() = State{};
        ObjectDirectory.clear();
        MainWindowTest::TearDown();
    }
    // A window whose Apply only records what it was handed.
    std::unique_ptr<frmOjektmaker> window(std::optional<int> slot = 6)
    {
        return std::make_unique<frmOjektmaker>([this, slot](const QString& path) {
            handedFile = path;
            handed = QImage(path);
            return slot;
        });
    }
    // A white square of full height: both profiles and the mask full.
    static void fullObject(frmOjektmaker& f)
    {
        f.cmdXFull->click();
        f.cmdYFull->click();
        f.cmdZFull->click();
        f.cmdPreview->click();
    }
    static bool allGrey(const QImage& img)
    {
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QRgb p = img.pixel(x, y);
                if (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p)) return false;
            }
        return true;
    }

    QString handedFile;
    QImage handed;
};

TEST_F(ObjektmakerTest, ButtonOpensTheWindowAndApplyPlacesTheObjectAndRemembersTheState)
{
    installPerlinSets();
    start();
    auto* open = w().findChild<QPushButton*>(QStringLiteral("cmdObjektmaker"));
    ASSERT_NE(open, nullptr);
    ASSERT_TRUE(open->isEnabled());
    bool seen = false;
    QTimer::singleShot(0, [&seen] {
        auto* f = dynamic_cast<frmOjektmaker*>(QApplication::activeModalWidget());
        ASSERT_NE(f, nullptr);
        seen = true;
        EXPECT_EQ(f->windowTitle(), QStringLiteral("ObjektMaker"));
        fullObject(*f);
        f->cmdApply->click();
    });
    open->click();
    ASSERT_TRUE(seen);

    ASSERT_TRUE(mdlObjects::PlacedObjects().exists(6));
    const QImage& pic = mdlObjects::PlacedObjects().picture(6);
    EXPECT_EQ(pic.size(), QSize(256, 256));
    EXPECT_EQ(QColor(pic.pixel(0, 0)), QColor(255, 255, 255));
    EXPECT_EQ(QColor(pic.pixel(255, 255)), QColor(255, 255, 255));
    EXPECT_NE(w().Objects->PicTer(6), nullptr);
    EXPECT_FALSE(QFile::exists(programDir.filePath("applyobj.tmp")));
    EXPECT_EQ(QFileInfo(programDir.filePath("om_temp.dat")).size(), SettingFileSize);

    // The next opening starts from the file Apply wrote: a white mask.
    objektMakerState() = State{};
    frmOjektmaker again;
    EXPECT_EQ(objektMakerState().XProfile[0], 256);
    EXPECT_EQ(QColor(again.PictureZ->image().pixel(0, 0)), QColor(255, 255, 255));
    EXPECT_EQ(QColor(again.PicResult->image().pixel(128, 128)), QColor(255, 255, 255));
}

TEST_F(ObjektmakerTest, ApplyRemovesTheHandOverFileEvenWhenRefusedAndUsesTheUserFolder)
{
    // No program folder to write to: both files go to the user's state folder.
    QTemporaryDir state;
    const QByteArray oldState = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    rt::setAppPath(programDir.filePath("missing"));
    bool existedWhenHanded = false;
    frmOjektmaker f([&](const QString& path) {
        handedFile = path;
        existedWhenHanded = QFile::exists(path);
        return std::optional<int>();  // the loader refuses the picture
    });
    fullObject(f);
    f.cmdApply->click();
    const QString folder = QDir(state.path()).filePath("Kelvarinor");
    EXPECT_EQ(handedFile, QDir(folder).filePath("applyobj.tmp"));
    EXPECT_TRUE(existedWhenHanded);
    EXPECT_FALSE(QFile::exists(handedFile));
    EXPECT_EQ(QFileInfo(QDir(folder).filePath("om_temp.dat")).size(), SettingFileSize);
    EXPECT_EQ(f.result(), QDialog::Accepted);
    if (oldState.isNull()) qunsetenv("XDG_STATE_HOME");
    else qputenv("XDG_STATE_HOME", oldState);
}

TEST_F(ObjektmakerTest, FailedStateWriteIsReportedAndNothingIsPlaced)
{
    ASSERT_TRUE(QDir(programDir.path()).mkdir("om_temp.dat"));  // cannot be written as a file
    auto f = window();
    fullObject(*f);
    scriptedUi().expectMsgBox(rt::vbOK);
    f->cmdApply->click();
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(scriptedUi().messages[0].title, QStringLiteral("Apply"));
    EXPECT_TRUE(handedFile.isEmpty());
    EXPECT_FALSE(QFile::exists(programDir.filePath("applyobj.tmp")));
    EXPECT_NE(f->result(), QDialog::Accepted);
}

TEST_F(ObjektmakerTest, ChangedMaskAsksBeforeApplyCancelKeepsTheWindowNoThePictureYesComputesAnew)
{
    auto f = window();
    fullObject(*f);
    f->chk3DView->setChecked(true);
    f->PictureX_MouseMove(0, QPointF(10, 10));  // a move without a button still counts
    scriptedUi().expectMsgBox(rt::vbCancel);
    f->cmdApply->click();
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(scriptedUi().messages[0].text, QStringLiteral("Mask change! Make new result?"));
    EXPECT_EQ(scriptedUi().messages[0].style, rt::vbYesNoCancel);
    EXPECT_EQ(scriptedUi().messages[0].title, QStringLiteral("Apply"));
    EXPECT_TRUE(handedFile.isEmpty());
    EXPECT_FALSE(f->chk3DView->isChecked());
    EXPECT_EQ(objektMakerState().SavedView3D, 1);

    // No goes on with the white picture as it is; Yes computes the black one
    // of the cleared profiles first.
    f->cmdXCls->click();
    f->cmdYCls->click();
    scriptedUi().expectMsgBox(rt::vbNo);
    f->cmdApply->click();
    EXPECT_EQ(QColor(handed.pixel(5, 5)), QColor(255, 255, 255));
    scriptedUi().expectMsgBox(rt::vbYes);
    f->cmdApply->click();
    EXPECT_EQ(QColor(handed.pixel(5, 5)), QColor(0, 0, 0));
}

TEST_F(ObjektmakerTest, HandsOverSavesAndCopiesTheGreyResultAfterA3DPreview)
{
    auto f = window();
    fullObject(*f);
    const auto preview3DThenUntick = [&] {
        f->chk3DView->setChecked(true);
        f->cmdPreview->click();
        ASSERT_FALSE(allGrey(f->PicResult->image()));  // the cyan relief
        f->chk3DView->setChecked(false);               // unticking does not redraw
    };

    preview3DThenUntick();
    f->cmdZCls->click();
    f->cmdZfromPreview->click();
    EXPECT_TRUE(allGrey(f->PictureZ->image()));
    EXPECT_EQ(QColor(f->PictureZ->image().pixel(9, 9)), QColor(255, 255, 255));

    preview3DThenUntick();
    const QString saved = programDir.filePath("result.bmp");
    scriptedUi().expectSaveDialog({true, saved, 1});
    f->Command1->click();
    EXPECT_TRUE(allGrey(QImage(saved)));

    preview3DThenUntick();
    f->cmdApply->click();
    ASSERT_FALSE(handed.isNull());
    EXPECT_TRUE(allGrey(handed));
    EXPECT_EQ(QColor(handed.pixel(128, 128)), QColor(255, 255, 255));
}

TEST_F(ObjektmakerTest, OpeningShowsTheModeInUseTakesRotationXFromItsBoxAndPassesOverADamagedStateFile)
{
    objektMakerState().ResultMode = ModeMod;
    objektMakerState().RotationX = 1;  // from an earlier opening
    objektMakerState().XProfile[56] = 3;
    writeFile(programDir.filePath("om_temp.dat"), QByteArray("OBJECTMAKER2RESMOD", 18));  // no message expected
    auto f = window();
    // The box opens unchecked and RotationX takes its value: nothing is mirrored.
    EXPECT_EQ(objektMakerState().RotationX, 0);
    EXPECT_EQ(objektMakerState().XProfile[200], 0);
    EXPECT_FALSE(f->chkRotationMask->isEnabled());
    EXPECT_TRUE(f->optResult[ModeMod]->isChecked());
    EXPECT_EQ(f->optResult[ModeMod]->objectName(), QStringLiteral("optResult_5"));
    f->cmdReset->click();
    EXPECT_TRUE(f->optResult[ObjektMaker::ModeAdd]->isChecked());
    EXPECT_EQ(objektMakerState().ResultMode, ObjektMaker::ModeAdd);
}

TEST_F(ObjektmakerTest, UnreadableMaskPictureKeepsTheMaskAndDialogsProposeTheirOwnKind)
{
    auto f = window();
    f->cmbZMask->setCurrentIndex(10);  // "Cross"
    f->cmbZMask_Click();
    const QImage before = f->PictureZ->image();
    writeFile(programDir.filePath("broken.bmp"), QByteArray("BM not a picture"));
    scriptedUi().expectOpenDialog({true, programDir.filePath("broken.bmp"), 1});
    scriptedUi().expectMsgBox(rt::vbOK);
    f->cmdObjZLoad->click();
    EXPECT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(f->PictureZ->image(), before);

    const QString settings = programDir.filePath("a.omd");
    scriptedUi().expectSaveDialog({true, settings, 1});
    scriptedUi().expectSaveDialog({false, QString(), 1});
    scriptedUi().expectSaveDialog({false, QString(), 1});
    f->cmdSaveSet->click();
    f->cmdSaveZMask->click();
    f->cmdSaveSet->click();
    const auto& asked = scriptedUi().dialogRequests;
    ASSERT_EQ(asked.size(), 4u);
    EXPECT_EQ(asked[2].title, QStringLiteral("Mask save ..."));
    EXPECT_TRUE(asked[2].fileName.isEmpty());
    EXPECT_EQ(asked[3].fileName, settings);
}

TEST_F(ObjektmakerTest, MetafileTheLoadDialogOffersBecomesTheMask)
{
    auto f = window();
    writeFile(programDir.filePath("box.wmf"), redRectangleMetafile());
    scriptedUi().expectOpenDialog({true, programDir.filePath("box.wmf"), 1});
    f->cmdObjZLoad->click();
    EXPECT_TRUE(scriptedUi().messages.empty());
    // White stays 255; red turns grey (255 + 0 + 0) / 3 = 85, stretched 32 x 64 a unit.
    EXPECT_EQ(QColor(f->PictureZ->image().pixel(0, 0)), QColor(255, 255, 255));
    EXPECT_EQ(QColor(f->PictureZ->image().pixel(128, 128)), QColor(85, 85, 85));
}

TEST_F(ObjektmakerTest, ProfileButtonsAndStrokesWorkOnTheirOwnSide)
{
    auto f = window();
    State& st = objektMakerState();
    f->cmdXCls->click();
    f->cmdYFull->click();
    f->cmdYtoX->click();
    EXPECT_EQ(st.XProfile[0], 256);
    EXPECT_EQ(st.XProfile[256], 256);
    EXPECT_EQ(f->PictureX->image(), f->PictureY->image());

    // A stroke 56 pixels from the top sets 200; with rotation on, X also sets its mirror column 246.
    f->cmdXCls->click();
    f->cmdYCls->click();
    f->chkRotationX->click();
    st.MaskChanged = false;
    f->PictureX_MouseMove(1, QPointF(10, 56));
    EXPECT_EQ(st.XProfile[10], 200);
    EXPECT_EQ(st.XProfile[246], 200);
    EXPECT_TRUE(st.MaskChanged);
    f->PictureY_MouseMove(1, QPointF(10, 56));
    EXPECT_EQ(st.YProfile[10], 200);
    EXPECT_EQ(st.YProfile[246], 0);
    EXPECT_EQ(QColor(f->PictureY->image().pixel(10, 55)), QColor(Qt::black));
    EXPECT_EQ(QColor(f->PictureY->image().pixel(10, 54)), QColor(Qt::white));
    // "Invers" draws one row lower than the other redraws: 56 fills from row 256 - 56 down.
    f->cmdInvX->click();
    f->cmdInvY->click();
    for (const auto* pic : {f->PictureX, f->PictureY}) {
        EXPECT_EQ(QColor(pic->image().pixel(10, 199)), QColor(Qt::white));
        EXPECT_EQ(QColor(pic->image().pixel(10, 200)), QColor(Qt::black));
    }
    f->cmdInvX->click();
    f->cmdInvY->click();

    const QString file = programDir.filePath("x.obs");
    scriptedUi().expectSaveDialog({true, file, 1});
    f->cmdSaveX->click();
    scriptedUi().expectOpenDialog({true, file, 1});
    f->cmdLoadY->click();
    EXPECT_EQ(scriptedUi().dialogRequests[0].title, QStringLiteral("Objects Setting save ..."));
    EXPECT_EQ(st.YProfile[246], 200);
    EXPECT_EQ(QColor(f->PictureY->image().pixel(246, 55)), QColor(Qt::black));
}

TEST_F(ObjektmakerTest, OnlyStrokesCopiesAndClearingMarkTheResultOutOfDate)
{
    auto f = window();
    struct Row {
        const char* action;
        std::function<void()> run;
        bool marks;
    };
    const Row rows[] = {
        {"stroke", [&] { f->PictureY_MouseMove(1, QPointF(10, 56)); }, true},
        {"->", [&] { f->cmdxtoY->click(); }, true},
        {"Z Clear", [&] { f->cmdZCls->click(); }, true},
        {"Invers", [&] { f->cmdInvY->click(); }, false},
        {"Swap", [&] { f->cmdSwap->click(); }, false},
        {"shape", [&] { f->cmbZMask->setCurrentIndex(0); f->cmbZMask_Click(); }, false},
        {"from Z", [&] { f->cmdYfromZ->click(); }, false},
        {"preset", [&] { f->Command4[1]->click(); }, false},
    };
    for (const Row& r : rows) {
        objektMakerState().MaskChanged = false;
        r.run();
        EXPECT_EQ(objektMakerState().MaskChanged, r.marks) << r.action;
    }
    // The preset list opens on its first entry, preset 1: sin(1) * 255 = 214.6.
    EXPECT_EQ(objektMakerState().YProfile[80], 215);
}

TEST_F(ObjektmakerTest, PenPaintsTheSliderGreyAndErasesWithTheRightButton)
{
    auto f = window();
    f->sldHeightZ->setValue(0);
    f->Slider1->setValue(128);  // a one-pixel pen
    EXPECT_EQ(f->lblPenW->text(), QStringLiteral("0"));
    objektMakerState().MaskChanged = false;
    f->PictureZ_MouseMove(0, QPointF(40, 50));
    EXPECT_TRUE(objektMakerState().MaskChanged);
    EXPECT_EQ(QColor(f->PictureZ->image().pixel(40, 50)), QColor(0, 0, 0));
    f->PictureZ_MouseDown(1, QPointF(40, 50));
    EXPECT_EQ(QColor(f->PictureZ->image().pixel(40, 50)), QColor(255, 255, 255));
    EXPECT_EQ(QColor(f->PictureZ->image().pixel(41, 50)), QColor(0, 0, 0));
    f->PictureZ_MouseMove(2, QPointF(40, 50));
    EXPECT_EQ(QColor(f->PictureZ->image().pixel(40, 50)), QColor(0, 0, 0));
}

} // namespace

TEST_F(ObjektmakerTest, ToolbarButtonOpensTheSameWindow)
{
    installPerlinSets();
    start();
    QAction* maker = button(35);
    ASSERT_NE(maker, nullptr);
    ASSERT_TRUE(maker->isEnabled());
    bool seen = false;
    QTimer::singleShot(0, [&seen] {
        auto* f = dynamic_cast<frmOjektmaker*>(QApplication::activeModalWidget());
        ASSERT_NE(f, nullptr);
        seen = true;
        f->cmdCancel->click();
    });
    maker->trigger();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(mdlObjects::PlacedObjects().exists(6));
}

TEST_F(ObjektmakerTest, MaskFiltersRunBusySoTheWindowTakesNoClicksMeanwhile)
{
    frmOjektmaker f;
    int pumps = 0, busyPumps = 0;
    scriptedUi().onPumpAsked = [&] {
        ++pumps;
        if (rt::BusyFlag) ++busyPumps;
    };
    f.cmdDiffuseZ_Click();
    f.Command2_Click();
    scriptedUi().onPumpAsked = nullptr;
    EXPECT_GT(pumps, 0);
    EXPECT_EQ(busyPumps, pumps);
    EXPECT_FALSE(rt::BusyFlag);
}
