#include "app/dlgMaskColor.h"
#include "app/frmTerView.h"
#include "runtime/Numbers.h"
#include "tests/app/MainWindowFixture.h"

#include <QApplication>
#include <QImageReader>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using MaskPicture::Rule;
constexpr QRgb W = qRgb(255, 255, 255);
constexpr QRgb B = qRgb(0, 0, 0);

// A row of points, each with its own height and view colour.
class MaskRules : public testing::Test {
protected:
    void setRow(std::initializer_list<std::pair<int32_t, QRgb>> points)
    {
        const int n = int(points.size());
        ter.Init(n);
        view = QImage(n, n, QImage::Format_RGB32);
        view.fill(B);
        int x = 0;
        for (const auto& [h, c] : points) {
            ter.SetPoint(x, 0, h);
            view.setPixel(x, 0, c);
            ++x;
        }
    }
    std::vector<QRgb> firstRow(Rule rule, int32_t from = -32768, int32_t to = 32768)
    {
        const QImage mask = MaskPicture::makeMask(ter, view, rule, from, to);
        std::vector<QRgb> row;
        for (int x = 0; x < mask.width(); ++x) row.push_back(mask.pixel(x, 0));
        return row;
    }
    clsTerrain ter;
    QImage view;
};

TEST_F(MaskRules, WhiteKeepsColoursAboveTheNearWhiteNumberAndTheHighestPoints)
{
    setRow({{0, qRgb(250, 250, 250)}, {0, qRgb(251, 250, 250)}, {0, qRgb(0, 0, 251)},
            {32760, B}, {32761, B}});
    EXPECT_EQ(firstRow(Rule::White), (std::vector<QRgb>{B, W, W, B, W}));
}

TEST_F(MaskRules, BlackTakesTheDarkestColoursAndTheLowestPoints)
{
    setRow({{0, qRgb(4, 0, 0)}, {0, qRgb(5, 0, 0)}, {0, qRgb(0, 1, 0)}, {-32760, W}, {-32761, W}});
    EXPECT_EQ(firstRow(Rule::Black), (std::vector<QRgb>{B, W, W, W, B}));
}

TEST_F(MaskRules, RangeIsWhiteStrictlyBetweenItsBounds)
{
    setRow({{-32768, W}, {-32767, B}, {0, B}, {1, B}, {100, B}, {32767, B}});
    EXPECT_EQ(firstRow(Rule::Range), (std::vector<QRgb>{B, W, W, W, W, W}));
    EXPECT_EQ(firstRow(Rule::Range, 0, 100), (std::vector<QRgb>{B, B, B, W, B, B}));
}

TEST_F(MaskRules, MaskHasOnePixelPerPointAndOnlyBlackAndWhite)
{
    ter.Init(129);
    for (int y = 0; y < 129; ++y)
        for (int x = 0; x < 129; ++x) ter.SetPoint(x, y, (x * 509 + y * 257) % 65536 - 32768);
    view = QImage(60, 60, QImage::Format_RGB32);  // smaller than the terrain: the rest counts as black
    view.fill(W);
    const QImage mask = MaskPicture::makeMask(ter, view, Rule::White, 0, 0);
    ASSERT_EQ(mask.size(), QSize(129, 129));
    EXPECT_EQ(mask.pixel(10, 10), W);
    for (int y = 0; y < 129; ++y)
        for (int x = 0; x < 129; ++x) {
            const QRgb p = mask.pixel(x, y);
            ASSERT_TRUE(p == W || p == B) << x << "," << y;
            if (x >= 60 || y >= 60) {
                ASSERT_EQ(p, ter.GetPoint(x, y) > 32760 ? W : B);
            }
        }
}

class MaskDialogTest : public StartedMainWindowTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartedMainWindowTest::SetUp());
        CurrentTerrain->Init(129);
        CurrentTerrain->SetPoint(5, 5, 1000);
        CurrentTerrain->SetPoint(6, 5, -32768);
        TerrainFileName = QStringLiteral("mine.ter");
    }
};

TEST_F(MaskDialogTest, SlidersStayInOrderAndChoosingOneSelectsTheRange)
{
    dlgMaskColor dlg(&w());
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Mask Picture"));
    EXPECT_FALSE(dlg.cmdSave->isEnabled());
    EXPECT_TRUE(dlg.txtFrom->isReadOnly());
    dlg.sldTo->setValue(0);
    dlg.sldFrom->setValue(4096);
    EXPECT_EQ(dlg.sldTo->value(), 4096);
    dlg.sldTo->setValue(-1024);
    EXPECT_EQ(dlg.sldFrom->value(), -1024);
    EXPECT_EQ(dlg.txtTo->text(), rt::Str(CurrentTerrain->GetV2Meter(-1024.0f)).trimmed());
    dlg.sldFrom->triggerAction(QSlider::SliderSingleStepAdd);
    EXPECT_TRUE(dlg.optColorMask[2]->isChecked());
}

TEST_F(MaskDialogTest, StartMakesTheMaskAndSaveWritesItWithoutRenamingTheTerrain)
{
    dlgMaskColor dlg(&w());
    dlg.optColorMask[2]->setChecked(true);
    dlg.OKButton_Click();
    EXPECT_FALSE(rt::BusyFlag);
    EXPECT_TRUE(dlg.cmdSave->isEnabled());
    EXPECT_TRUE(scriptedUi().statusTexts.contains(QStringLiteral("make mask ....")));
    ASSERT_EQ(dlg.mask().size(), QSize(129, 129));
    EXPECT_EQ(dlg.mask().pixel(5, 5), W);
    EXPECT_EQ(dlg.mask().pixel(6, 5), B);

    const QString path = programDir.filePath(QStringLiteral("mask.bmp"));
    scriptedUi().expectSaveDialog({true, path, 1});
    dlg.cmdSave_Click();
    EXPECT_EQ(scriptedUi().dialogRequests.back().title, QStringLiteral("Terrain save ..."));
    EXPECT_EQ(scriptedUi().dialogRequests.back().filter, QStringLiteral("BMP-Files|*.bmp"));
    EXPECT_EQ(QImageReader(path).format(), QByteArray("bmp"));
    EXPECT_EQ(QImage(path).pixel(5, 5), W);
    EXPECT_EQ(QImage(path).size(), QSize(129, 129));
    EXPECT_EQ(TerrainFileName, QStringLiteral("mine.ter"));

    scriptedUi().expectSaveDialog({true, programDir.filePath(QStringLiteral("none/x/mask.bmp")), 1});
    writeFile(programDir.filePath(QStringLiteral("none")), "file, not folder");
    scriptedUi().expectMsgBox(rt::vbOK);
    dlg.cmdSave_Click();
    EXPECT_EQ(scriptedUi().messages.size(), 1u);
}

TEST_F(MaskDialogTest, MaskButtonHidesThePenCursorAndOpensTheDialog)
{
    const QImage plain = w().Picture1->grab().toImage();
    w().Toolbar2_ButtonClick(QStringLiteral("Pen"));
    emit w().Picture1->mouseMove(Qt::NoButton, {}, QPointF(60, 60));
    ASSERT_NE(w().Picture1->grab().toImage(), plain) << "the pen cursor shows";
    QString seen;
    QImage behind;
    QTimer::singleShot(0, [&] {
        behind = w().Picture1->grab().toImage();
        if (QWidget* d = QApplication::activeModalWidget()) {
            seen = d->objectName();
            d->close();
        }
    });
    w().cmdMask->click();
    EXPECT_EQ(seen, QStringLiteral("dlgMaskColor"));
    EXPECT_EQ(behind, plain);
}

} // namespace
