#include "app/Zoom.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(ZoomButtons, FourZoomOutsFromFullSizeStopAtAQuarter)
{
    double z = 1.0;
    const double expected[] = {0.5, 0.25, 0.25, 0.25};
    for (double e : expected) {
        z = Zoom::applyFactor(z, 0.5);
        EXPECT_DOUBLE_EQ(z, e);
    }
}

TEST(ZoomButtons, ThreeZoomInsFromFullSizeStopAtFour)
{
    double z = 1.0;
    const double expected[] = {2.0, 4.0, 4.0};
    for (double e : expected) {
        z = Zoom::applyFactor(z, 2.0);
        EXPECT_DOUBLE_EQ(z, e);
    }
}

TEST(ZoomButtons, FactorZeroReturnsToFullSizeBeforeTheWindowLimit)
{
    EXPECT_DOUBLE_EQ(Zoom::applyFactor(3.0, 0.0), 1.0);
    EXPECT_DOUBLE_EQ(Zoom::applyFactor(0.25, 0.0), 1.0);
}

TEST(ZoomButtons, AbsentFactorKeepsTheZoomWithinItsRange)
{
    EXPECT_DOUBLE_EQ(Zoom::applyFactor(2.0, std::nullopt), 2.0);
    EXPECT_DOUBLE_EQ(Zoom::applyFactor(9.0, std::nullopt), 4.0);
    EXPECT_DOUBLE_EQ(Zoom::applyFactor(0.1, std::nullopt), 0.25);
}

TEST(ZoomWindowLimit, LargeTerrainInSmallWindowIsLimitedAndZoomInCannotRaiseIt)
{
    // A 2049-point terrain in a window of inner height 700 (limit 700 - 65).
    const double limit = 700.0 - 65.0;
    EXPECT_DOUBLE_EQ(Zoom::fitToView(1.0, 2048, limit), 635.0 / 2048.0);
    EXPECT_DOUBLE_EQ(Zoom::fitToView(2.0 * 635.0 / 2048.0, 2048, limit), 635.0 / 2048.0);
}

TEST(ZoomWindowLimit, MinimizedWindowNeverGivesZeroOrNegativeZoomOrSize)
{
    for (double limit : {0.0, -65.0, -1e9, 3.0}) {
        const double z = Zoom::fitToView(1.0, 2048, limit);
        EXPECT_GT(z, 0.0) << limit;
        EXPECT_GE(Zoom::viewSide(z, 2048), 1) << limit;
    }
    EXPECT_GT(Zoom::maxViewSizeForHeight(0, 65), 0.0);
}

TEST(ZoomView, SideIsZoomTimesSizePlusThree)
{
    EXPECT_EQ(Zoom::viewSide(1.0, 256), 259);
    EXPECT_EQ(Zoom::viewSide(2.0, 128), 262);
    EXPECT_EQ(Zoom::viewSide(0.25, 2048), 513);
}

TEST(ZoomView, MousePixelsBecomeTerrainPointsAcrossTheWholeView)
{
    EXPECT_EQ(Zoom::viewToTerrain(QPointF(0, 0), 256, 259), QPointF(0, 0));
    EXPECT_EQ(Zoom::viewToTerrain(QPointF(259, 259), 256, 259), QPointF(256, 256));
    const QPointF p = Zoom::viewToTerrain(QPointF(131, 262), 128, 262);
    EXPECT_DOUBLE_EQ(p.x(), 64.0);
    EXPECT_DOUBLE_EQ(p.y(), 128.0);
    const QPointF back = Zoom::terrainToView(p, 128, 262);
    EXPECT_DOUBLE_EQ(back.x(), 131.0);
    // A view without size gives no position rather than dividing by zero.
    EXPECT_EQ(Zoom::viewToTerrain(QPointF(5, 5), 256, 0), QPointF(0, 0));
}

TEST(ZoomView, StatusPanelShowsGridAndZoom)
{
    EXPECT_EQ(Zoom::statusText(256, 1.0), QStringLiteral("256 x 256   Zoom =100.%"));
    EXPECT_EQ(Zoom::statusText(2048, 0.25), QStringLiteral("2048 x 2048   Zoom =25.%"));
    EXPECT_EQ(Zoom::statusText(128, 0.3125), QStringLiteral("128 x 128   Zoom =31.25%"));
}

} // namespace
