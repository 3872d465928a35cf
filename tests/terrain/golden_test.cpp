// Fixed results of drawing a terrain into the view picture: every palette
// scheme, windows that run off the grid and a grid allocated smaller than its
// size must reproduce the pixels and reports hashed when the drawing was slow.

#include "terrain/Palette.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/TerrainPicture.h"
#include "tests/support/GoldenHash.h"
#include "tests/support/ScriptedUi.h"
#include "tests/terrain/CurrentTerrainFixture.h"

#include <gtest/gtest.h>

namespace {

// Heights that run past both ends of the 16-bit range.
void fillPattern(clsTerrain& t)
{
    for (int32_t y = 0; y < t.allocatedSide(); ++y)
        for (int32_t x = 0; x < t.allocatedSide(); ++x) t.row(y)[x] = (x * 7919 + y * 104729 + x * y * 31) % 80001 - 40000;
}

void hashPicture(GoldenHash& hash, const QImage& img)
{
    hash.value(img.width());
    hash.value(img.height());
    for (int y = 0; y < img.height(); ++y) hash.bytes(img.constScanLine(y), size_t(img.width()) * 4);
}

class DrawGolden : public CurrentTerrainFixture {
protected:
    // Draws and hashes the picture, the status texts, the redraw requests and
    // the progress left behind on the drawn terrain.
    void draw(const clsTerrain& t, int32_t x0, int32_t y0, int32_t w, int32_t h, int mode)
    {
        QImage picture;
        current.pProgress = 37;
        DrawTerrainToPicture(picture, t, x0, y0, w, h, mode);
        hashPicture(hash, picture);
        hash.value(t.pProgress);
        hash.value(scriptedUi().refreshCount);
        for (const QString& s : scriptedUi().statusTexts) hash.text(s);
        scriptedUi().statusTexts.clear();
    }
    GoldenHash hash;
};

} // namespace

TEST_F(DrawGolden, EverySchemeGivesTheSamePicture)
{
    clsTerrain t;
    t.Init(131);
    fillPattern(t);
    for (int scheme : {0, 1, 2, 3, 4, 5, 6, 7, 99, -3}) {
        PaletteRow = scheme;
        draw(t, 0, 0, -1, -1, 1);
    }
    EXPECT_EQ(hash.result(), 10823988990012061520ull);
}

TEST_F(DrawGolden, WindowsAndShortAllocationsGiveTheSamePicture)
{
    PaletteRow = 2;
    clsTerrain t;
    t.Init(131);
    fillPattern(t);
    draw(t, -7, 20, 50, 200, 0);
    draw(t, 60, -3, 500, 40, 1);
    draw(t, 200, 0, 10, 10, 1);
    // The size says 41 points, the grid holds 22 a side: the rest draws as 0.
    clsTerrain shortGrid;
    shortGrid.Init(20);
    fillPattern(shortGrid);
    shortGrid.setSize(40);
    draw(shortGrid, 0, 0, -1, -1, 1);
    EXPECT_EQ(hash.result(), 12219447209181994799ull);
}
