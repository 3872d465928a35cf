// Fixed results of the elevator shift: a drawn curve with a gap, a double
// mark and a non-mark cell, over heights past both ends of the 16-bit range,
// must give the same heights, min/max cache and reports as when hashed.

#include "generate/Elevator.h"
#include "runtime/Ui.h"
#include "terrain/clsTerrain.h"
#include "tests/support/GoldenHash.h"
#include "tests/support/ScriptedUi.h"

#include <gtest/gtest.h>

namespace {

class ElevatorGolden : public testing::Test {
protected:
    void TearDown() override
    {
        ElevatorGridSize = 256;
        resetElevatorGrid();
    }
    // A curve over the diagonal with a few columns moved, one emptied, one
    // with two marks and one holding a cell that is not a mark.
    static void drawCurve()
    {
        const int32_t n = ElevatorGridSize;
        resetElevatorGrid();
        for (int32_t c = 3; c <= n; c += 9) drawElevatorPoint(c, (c * 37 + 11) % (n + 1));
        for (int32_t r = 0; r <= n; ++r) elevatorCell(n / 2, r) = 0;
        elevatorCell(n / 3, n - 4) = 1;
        elevatorCell(n / 4, 2) = 2;
        elevatorCell(0, 0) = 1;  // accepted with OK
    }
    void shift(int32_t points, std::optional<int32_t> extent, int32_t x0, int32_t y0, int32_t zMin, int32_t zMax)
    {
        clsTerrain t;
        t.Init(points);
        for (int32_t y = 0; y < t.allocatedSide(); ++y)
            for (int32_t x = 0; x < t.allocatedSide(); ++x) t.row(y)[x] = (x * 7919 + y * 104729) % 90001 - 45000;
        // The cache starts empty, so it shows exactly the heights written.
        drawCurve();
        float strength = 3;
        ElevatorShift(t, strength, extent, x0, y0, zMin, zMax);
        for (int32_t y = 0; y < t.allocatedSide(); ++y) hash.bytes(t.row(y), size_t(t.allocatedSide()) * 4);
        hash.value(t.min());
        hash.value(t.max());
        hash.value(t.pProgress);
        hash.value(elevatorCell(0, 0));
        for (const QString& s : scriptedUi().statusTexts) hash.text(s);
        scriptedUi().statusTexts.clear();
    }
    GoldenHash hash;
};

} // namespace

TEST_F(ElevatorGolden, ShiftGivesTheSameHeightsAsBefore)
{
    shift(257, std::nullopt, 0, 0, -40000, 40000);
    shift(129, 60, -9, 40, -20000, 25000);
    shift(65, 500, 10, -3, -32768, 32768);
    ElevatorGridSize = 100;
    shift(129, std::nullopt, 0, 0, -50000, 50000);
    EXPECT_EQ(hash.result(), 6596098660325670500ull);
}
