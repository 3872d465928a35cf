#include "app/Ansicht3D.h"

#include "runtime/Numbers.h"

namespace Ansicht3D {

double SampleStepFor(int32_t size)
{
    return size > 0 ? double(size) / ViewCells : 1.0;
}

HeightArray SampleTerrain3D(const clsTerrain& ter, double step, const std::function<void()>& pump)
{
    HeightArray heights(ViewCells + 1, ViewCells + 1);
    for (int32_t x = 0; x <= ViewCells; ++x) {
        for (int32_t y = 0; y <= ViewCells; ++y) {
            const float metres = ter.GetPointMeters(rt::CLng(x * step), rt::CLng(y * step));
            heights(ViewCells - x, y) = rt::CLng(double(metres) / 40.0);
        }
        if (pump) pump();
    }
    return heights;
}

void FlipHeights180(HeightArray& heights)
{
    const int32_t lastI = heights.width() - 1;
    const int32_t lastJ = heights.height() - 1;
    HeightArray turned(heights.width(), heights.height());
    for (int32_t j = 0; j <= lastJ; ++j)
        for (int32_t i = 0; i <= lastI; ++i) turned(lastI - i, lastJ - j) = heights(i, j);
    heights = turned;
}

} // namespace Ansicht3D
