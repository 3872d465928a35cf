#include "app/Ansicht3D.h"
#include "app/view3DWidget.h"
#include "runtime/Numbers.h"
#include "runtime/QtUi.h"
#include "tests/app/MainWindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QThread>
#include <QTimer>
#include <QImage>
#include <QLabel>
#include <QToolBar>

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace Ansicht3D;

constexpr QRgb Back = qRgb(1, 2, 3);
constexpr QRgb Fill = qRgb(0, 192, 0);
constexpr QRgb Line = qRgb(50, 50, 50);

QImage blank(int w = 600, int h = 400)
{
    QImage pic(w, h, QImage::Format_RGB32);
    pic.fill(Back);
    return pic;
}

std::set<QRgb> coloursOf(const QImage& pic)
{
    std::set<QRgb> colours;
    for (int y = 0; y < pic.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(pic.constScanLine(y));
        for (int x = 0; x < pic.width(); ++x) colours.insert(line[x] | 0xff000000u);
    }
    return colours;
}

TEST(RoundNumberString, RoundsOnTheDigitsOfTheText)
{
    EXPECT_EQ(RoundNumberString(QStringLiteral("1.879"), 0), QStringLiteral("2"));
    EXPECT_EQ(RoundNumberString(QStringLiteral("0.684"), 0), QStringLiteral("1"));
    EXPECT_EQ(RoundNumberString(QStringLiteral(" .5"), 0), QStringLiteral("1"));
    EXPECT_EQ(RoundNumberString(QStringLiteral("3.449"), 0), QStringLiteral("3"));
    EXPECT_EQ(RoundNumberString(QStringLiteral("2.345"), 2), QStringLiteral("2.35"));
    EXPECT_EQ(RoundNumberString(QStringLiteral("2,344"), 2), QStringLiteral("2,34"));
}

TEST(RoundNumberString, LeavesTextWithoutAFractionToRoundAlone)
{
    EXPECT_EQ(RoundNumberString(QStringLiteral("12"), 0), QStringLiteral("12"));
    EXPECT_EQ(RoundNumberString(QStringLiteral("abc.7"), 0), QStringLiteral("abc.7"));
    EXPECT_EQ(RoundNumberString(QStringLiteral("1.25"), 2), QStringLiteral("1.25"));
}

TEST(RoundNumberString, CarriesIntoTheWholePartAndRoundsNegativesAwayFromZero)
{
    EXPECT_EQ(RoundNumberString(QStringLiteral("1.96"), 1), QStringLiteral("2.0"));
    EXPECT_EQ(RoundNumberString(QStringLiteral("9.99"), 1), QStringLiteral("10.0"));
    EXPECT_EQ(RoundNumberString(QStringLiteral("-1.879"), 0), QStringLiteral("-2"));
    EXPECT_EQ(RoundNumberString(QStringLiteral(" 1.5E-05"), 0), QStringLiteral("0"));
}

TEST(DrawTerrain3D, FlatGridDrawsARhombusWithItsFarCornerAtTheSlantedOrigin)
{
    // 128 cells of 2 pixels at 20 degrees step 2 across and 1 down.
    QImage pic = blank();
    DrawTerrain3D(pic, 1, 60, 2, 2, 128, 128, Fill, Line, HeightArray(129, 129), 20.0);
    EXPECT_EQ(pic.pixel(1 + 127 * 2, 60), Line);        // far corner
    EXPECT_EQ(pic.pixel(1 + 127 * 2, 59), Back);        // nothing above it
    EXPECT_EQ(pic.pixel(1, 60 + 127), Line);             // left corner (i = 127, j = 0)
    EXPECT_EQ(pic.pixel(1 + 2 * 254, 60 + 127), Line);   // right corner (i = 0, j = 127)
    EXPECT_EQ(pic.pixel(0, 60 + 127), Back);
    EXPECT_EQ(coloursOf(pic), (std::set<QRgb>{Back, Fill, Line}));
}

TEST(DrawTerrain3D, ColoursAreOnlyTheFillAndLineColours)
{
    HeightArray h(5, 5);
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 5; ++i) h(i, j) = (i * 7 + j * 3) % 11;
    QImage pic = blank(200, 150);
    DrawTerrain3D(pic, 10, 60, 12, 12, 5, 5, qRgb(255, 0, 0), qRgb(0, 0, 255), h, 20.0);
    EXPECT_EQ(coloursOf(pic), (std::set<QRgb>{Back, qRgb(255, 0, 0), qRgb(0, 0, 255)}));
}

TEST(DrawTerrain3D, HeightsLiftTheCornersByThatManyPixels)
{
    HeightArray h(3, 3);
    h(0, 0) = 10;  // the far corner of the grid
    QImage pic = blank(100, 100);
    DrawTerrain3D(pic, 1, 60, 2, 2, 3, 3, Fill, Line, h, 20.0);
    EXPECT_EQ(pic.pixel(5, 50), Line);
    EXPECT_EQ(pic.pixel(5, 49), Back);
}

TEST(DrawTerrain3D, ASingleRowOrAGridSmallerThanTheCountsDrawsSafely)
{
    QImage pic = blank(100, 100);
    DrawTerrain3D(pic, 1, 60, 2, 2, 3, 1, Fill, Line, HeightArray(3, 3), 20.0);
    EXPECT_EQ(coloursOf(pic), std::set<QRgb>{Back});
    DrawTerrain3D(pic, 1, 60, 2, 2, 128, 128, Fill, Line, HeightArray(3, 3), 20.0);
    EXPECT_TRUE(coloursOf(pic).count(Fill));
}

class Sampling : public testing::Test {
protected:
    void SetUp() override
    {
        ter.Init(257);
        ter.header().BaseHeight = 0;
        ter.header().HeightScale = 40;
        ter.setScaleT(30.0f);
    }
    clsTerrain ter;
};

TEST_F(Sampling, EveryOtherPointOfA257GridWithTheFirstIndexMirrored)
{
    ASSERT_EQ(ter.Size(), 256);
    EXPECT_DOUBLE_EQ(SampleStepFor(256), 2.0);
    // raw 65536 / 40 units give 40 m, one unit of the view.
    ter.SetPoint(2, 6, 20000);
    ter.SetPoint(256, 0, -32768);
    const HeightArray h = SampleTerrain3D(ter, 2.0);
    ASSERT_EQ(h.width(), 129);
    EXPECT_EQ(h(128 - 1, 3), rt::CLng(ter.GetPointMeters(2, 6) / 40.0));
    EXPECT_EQ(h(0, 0), rt::CLng(ter.GetPointMeters(256, 0) / 40.0));
    EXPECT_NE(h(0, 0), 0);
    EXPECT_EQ(h(128, 0), 0);
}

TEST_F(Sampling, OddSizesSampleTheWholeTerrainInAFractionalStep)
{
    ter.Init(201);
    ter.header().BaseHeight = 0;
    ter.SetPoint(200, 200, 30000);
    const double step = SampleStepFor(ter.Size());
    EXPECT_DOUBLE_EQ(step, 200.0 / 128.0);
    const HeightArray h = SampleTerrain3D(ter, step);
    EXPECT_EQ(h(0, 128), rt::CLng(ter.GetPointMeters(200, 200) / 40.0));
}

TEST(FlipHeights180, TurnsTheGridAndTwiceGivesItBack)
{
    HeightArray h(3, 3);
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) h(i, j) = i + 10 * j;
    HeightArray f = h;
    FlipHeights180(f);
    EXPECT_EQ(f(0, 0), h(2, 2));
    EXPECT_EQ(f(2, 1), h(0, 1));
    FlipHeights180(f);
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) EXPECT_EQ(f(i, j), h(i, j));
}

TEST_F(MainWindowTest, View3dOpensFromTheToolbarAndDrawsTheTerrain)
{
    installPerlinSets();
    start();
    ASSERT_NE(window, nullptr);
    auto* action = w().Toolbar1->findChild<QAction*>(QStringLiteral("View3d"));
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(action->isEnabled());

    for (int y = 0; y <= CurrentTerrain->Size(); ++y)
        for (int x = 0; x <= CurrentTerrain->Size(); ++x)
            CurrentTerrain->SetPoint(x, y, (x * 97 + y * 61) % 4000 * 4);
    view3D v(&w());
    v.show();
    EXPECT_EQ(v.windowTitle(), QStringLiteral("3dView"));
    const QImage first = v.picture();
    EXPECT_TRUE(coloursOf(first).count(qRgb(250, 250, 250)));
    EXPECT_TRUE(coloursOf(first).count(qRgb(50, 50, 50)));

    v.swatch_Click(2);
    EXPECT_TRUE(coloursOf(v.picture()).count(qRgb(255, 0, 0)));
    v.swatch_Click(5);
    v.cmdRechts_Click();
    EXPECT_NE(v.picture(), first);
    v.cmdRechts_Click();
    EXPECT_EQ(v.picture(), first);
    if (const QString out = qEnvironmentVariable("KV_GRAB_PNG"); !out.isEmpty())
        v.grab().save(out + QStringLiteral(".view3d.png"));
}

// The program's own pump, noting whether it ran while the 3-D view was on the screen.
class WatchedPump : public rt::QtUi {
public:
    void processEvents() override
    {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (qobject_cast<view3D*>(top) && top->isVisible() && !m_seenDone) ++pumpsWhileShown;
        rt::QtUi::processEvents();
    }
    void done() { m_seenDone = true; }
    int pumpsWhileShown = 0;

private:
    bool m_seenDone = false;
};

TEST_F(MainWindowTest, View3dLoadsBeforeItShowsAndOpensAtItsLaidOutSize)
{
    installPerlinSets();
    start();
    ASSERT_NE(window, nullptr);
    WatchedPump pump;
    rt::setUi(&pump);
    // Once the dialog is up, let it settle, then read its size and close it.
    QSize opened;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QWidget* d = QApplication::activeModalWidget();
        if (!d || !d->isVisible()) return;
        watch.stop();
        pump.done();
        QTimer::singleShot(50, d, [&opened, d] {
            opened = d->size();
            d->close();
        });
    });
    watch.start(0);
    QThread::msleep(50);  // past the pump's throttle, so the load's first pump runs
    w().Toolbar1->findChild<QAction*>(QStringLiteral("View3d"))->trigger();
    rt::setUi(&scriptedUi());
    EXPECT_EQ(pump.pumpsWhileShown, 0) << "a window pumped while it is being shown can keep a stunted size";
    EXPECT_GE(opened.width(), view3D::PictureWidth);
    EXPECT_GE(opened.height(), view3D::PictureHeight);
}

} // namespace
