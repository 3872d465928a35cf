#include "generate/kvGenerator.h"
#include "runtime/Rnd.h"
#include "runtime/Ui.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/clsTerrain.h"
#include "tests/support/ScriptedUi.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <set>

using namespace kvGenerator;

namespace {

// A picture whose grey level at (x, y) is grey(x, y).
QImage greyPicture(int w, int h, const std::function<int(int, int)>& grey)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int g = grey(x, y) & 255;
            line[x] = qRgb(g, g, g);
        }
    }
    return img;
}

LayerPictures uniformPictures(int side, const std::array<int, 5>& greys)
{
    LayerPictures p;
    for (size_t k = 0; k < 5; ++k) p[k] = greyPicture(side, side, [g = greys[k]](int, int) { return g; });
    return p;
}

int32_t greyHeight(int g)
{
    return 257 * g - 32768;
}

// Row j of a layer grid as a list.
std::vector<int32_t> layerRow(const LayerGrid& g, int32_t j)
{
    return std::vector<int32_t>(g.row(j), g.row(j) + g.side);
}

LayerGrid smallLayer()
{
    LayerGrid g(3);
    const int32_t values[3][3] = {{0, 10, 20}, {5, 15, 25}, {100, 101, 102}};
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) g.at(i, j) = values[j][i];
    return g;
}

// ---------------------------------------------------------------------------
// Refinement

TEST(RefineLayer, BilinearAveragesNeighboursRoundingHalvesToEven)
{
    LayerGrid g = smallLayer();
    int32_t n = 1;
    RefineLayer(g, n, 1, 0);
    EXPECT_EQ(n, 2);
    ASSERT_EQ(g.side, 4);
    EXPECT_EQ(layerRow(g, 0), (std::vector<int32_t>{0, 5, 10, 15}));
    // 2.5 -> 2, 7.5 -> 8, 12.5 -> 12, 17.5 -> 18: the diagonal child averages
    // with the diagonal neighbour alone.
    EXPECT_EQ(layerRow(g, 1), (std::vector<int32_t>{2, 8, 12, 18}));
    EXPECT_EQ(layerRow(g, 2), (std::vector<int32_t>{5, 10, 15, 20}));
    EXPECT_EQ(layerRow(g, 3), (std::vector<int32_t>{52, 53, 58, 58}));
    EXPECT_FALSE(rt::BusyFlag);
}

TEST(RefineLayer, PixelRepetitionCopiesEachPointIntoItsBlock)
{
    LayerGrid g = smallLayer();
    int32_t n = 1;
    RefineLayer(g, n, 2, 10);  // roughness is drawn but not used
    EXPECT_EQ(layerRow(g, 0), (std::vector<int32_t>{0, 0, 10, 10}));
    EXPECT_EQ(layerRow(g, 1), (std::vector<int32_t>{0, 0, 10, 10}));
    EXPECT_EQ(layerRow(g, 2), (std::vector<int32_t>{5, 5, 15, 15}));
    EXPECT_EQ(layerRow(g, 3), (std::vector<int32_t>{5, 5, 15, 15}));
}

TEST(RefineLayer, JitteredMidpointsStayBetweenPointAndNeighbour)
{
    for (int run = 0; run < 20; ++run) {
        LayerGrid g = smallLayer();
        int32_t n = 1;
        RefineLayer(g, n, 0, 10);
        EXPECT_EQ(g.at(0, 0), 0);
        EXPECT_EQ(g.at(2, 2), 15);
        // child = s + (neighbour - s) / (2 + r), r in [0, 0.105).
        EXPECT_GE(g.at(1, 3), 5 + 96 / 2.105 - 0.5);
        EXPECT_LE(g.at(1, 3), 5 + 96 / 2.0 + 0.5);
        EXPECT_GE(g.at(3, 3), 15 + 87 / 2.105 - 0.5);
        EXPECT_LE(g.at(3, 3), 15 + 87 / 2.0 + 0.5);
    }
}

TEST(RefineLayer, RoughnessScalesByAtMostFivePercent)
{
    LayerGrid g(3);
    for (int32_t& v : g.v) v = 1000;
    int32_t n = 1;
    RefineLayer(g, n, 1, 10);
    for (int32_t v : g.v) {
        EXPECT_GE(v, 1000);
        EXPECT_LE(v, 1050);
    }
}

TEST(RefineLayer, UnknownModeGivesZeros)
{
    LayerGrid g = smallLayer();
    int32_t n = 1;
    RefineLayer(g, n, 7, 0);
    for (int32_t v : g.v) EXPECT_EQ(v, 0);
}

// ---------------------------------------------------------------------------
// Seed and window

TEST(Seed, SplitsTheSixCharacterForm)
{
    QString s = QStringLiteral("42");
    SeedParts p = splitSeed(s);
    EXPECT_EQ(s, QStringLiteral("000042"));
    EXPECT_EQ(p.a, 42);
    EXPECT_EQ(p.b, 0);

    s = QStringLiteral("1234567");  // seven digits lose the first
    p = splitSeed(s);
    EXPECT_EQ(p.a, 567);
    EXPECT_EQ(p.b, 234);

    s = QStringLiteral("abc");
    p = splitSeed(s);
    EXPECT_EQ(p.a, 0);
    EXPECT_EQ(p.b, 0);
}

TEST(Window, OffsetsFollowTheSeedInsideALargePicture)
{
    EXPECT_EQ(windowOffset(1296, 129, 0), 1);
    EXPECT_EQ(windowOffset(1296, 129, 500), 584);  // Int(1167 * 0.5 + 1)
    EXPECT_EQ(windowOffset(1296, 129, 999), 1166);
    EXPECT_EQ(windowOffset(1296, 257, 999), 1038);
}

TEST(Window, IsCutToStayInsideThePictureAtBothEnds)
{
    // Int(71 * 0.999 + 1) = 71 would end at pixel 200 of a 200-pixel row.
    EXPECT_EQ(windowOffset(200, 129, 999), 70);
    // A 130-pixel picture has room for exactly one window, at 0.
    EXPECT_EQ(windowOffset(130, 129, 0), 0);
    EXPECT_EQ(windowOffset(130, 129, 999), 0);
    // A seed text like "-99" gives a negative part.
    EXPECT_EQ(windowOffset(1296, 129, -99), 0);
    EXPECT_EQ(windowOffset(1296, 129, 9e9), 1166);
}

TEST(Levels, WindowAtTheFarEndReadsOnlyPicturePixels)
{
    // Grey = column: the layer must be the last 130 columns, nothing outside.
    LayerPictures p;
    for (auto& img : p) img = greyPicture(200, 140, [](int x, int) { return x; });
    QString seed = QStringLiteral("999999");
    const LayerGrid g = SumLevels(p, 129, splitSeed(seed), 1, 1);
    EXPECT_EQ(g.side, 139);
    for (int32_t j : {0, 129})
        for (int32_t i : {0, 64, 129}) EXPECT_EQ(g.get(i, j), greyHeight(70 + i)) << i << "," << j;
    EXPECT_EQ(g.get(130, 0), 0);  // past the samples
}

TEST(Levels, AlternateInSignFallInWeightAndWrapAfterPictureFive)
{
    const LayerPictures p = uniformPictures(140, {0, 64, 128, 192, 255});
    QString seed = QStringLiteral("0");
    // Structure 4, three levels: pictures 4, 5, 1 with +1/1, -1/2, +1/3,
    // each division cut toward zero.
    const LayerGrid g = SumLevels(p, 129, splitSeed(seed), 4, 3);
    EXPECT_EQ(greyHeight(192), 16576);
    EXPECT_EQ(g.get(17, 33), 16576 - 16383 - 10922);
}

TEST(Levels, StructureZeroStartsAtTheFirstPicture)
{
    const LayerPictures p = uniformPictures(140, {10, 20, 30, 40, 50});
    QString seed = QStringLiteral("0");
    const LayerGrid zero = SumLevels(p, 129, splitSeed(seed), 0, 2);
    const LayerGrid one = SumLevels(p, 129, splitSeed(seed), 1, 2);
    EXPECT_EQ(zero.v, one.v);
    EXPECT_EQ(zero.get(5, 5), greyHeight(10) - greyHeight(20) / 2);
}

TEST(Levels, GreyPicturesReadLikeColourOnesAndOnesWithoutRoomAddNothing)
{
    LayerPictures p = uniformPictures(140, {10, 20, 30, 40, 50});
    p[0] = p[0].convertToFormat(QImage::Format_Grayscale8);
    p[1] = QImage(100, 100, QImage::Format_RGB32);  // too small for a 130-pixel window
    QString seed = QStringLiteral("0");
    const LayerGrid g = SumLevels(p, 129, splitSeed(seed), 1, 3);
    EXPECT_EQ(g.get(9, 9), greyHeight(10) + greyHeight(30) / 3);
}

// ---------------------------------------------------------------------------
// Combine

TEST(Combine, FormulasByMode)
{
    EXPECT_EQ(combineHeight(0, 100, 20), 120);  // 0 adds like 1
    EXPECT_EQ(combineHeight(1, 100, 20), 120);
    EXPECT_EQ(combineHeight(2, 100, 20), 80);
    EXPECT_EQ(combineHeight(3, 100, 20), 2000);
    EXPECT_DOUBLE_EQ(combineHeight(4, 100, 20), 100.0 / 21.0);
    EXPECT_EQ(combineHeight(5, 100, 20), 100);
    EXPECT_EQ(combineHeight(5, -10, 20), 20);
    EXPECT_EQ(combineHeight(6, 100, 20), 20);
    EXPECT_EQ(combineHeight(7, 100, 20), 100);
}

TEST(Combine, DivisionByZeroKeepsTheHeight)
{
    EXPECT_EQ(combineHeight(4, 300, -1), 300);
}

class CombineOnTinyTerrain : public testing::Test {
protected:
    void SetUp() override
    {
        terrain.Init(3);  // Size 2, points 0..4
        for (int32_t y = 0; y <= 4; ++y)
            for (int32_t x = 0; x <= 4; ++x) terrain.SetPoint(x, y, 100);
        for (int32_t j = 0; j < layer.side; ++j)
            for (int32_t i = 0; i < layer.side; ++i) layer.at(i, j) = 10 * i + j;
    }
    clsTerrain terrain;
    LayerGrid layer{20};
};

TEST_F(CombineOnTinyTerrain, AddWeightsTheLayerAndStopsAtSizePlusOne)
{
    CombineLayer(terrain, layer, 2, 50, 1);
    EXPECT_EQ(terrain.GetPoint(0, 0), 100);
    EXPECT_EQ(terrain.GetPoint(1, 0), 105);
    EXPECT_EQ(terrain.GetPoint(3, 1), 116);  // 100 + 31 / 2 = 115.5 -> 116
    EXPECT_EQ(terrain.GetPoint(4, 4), 100);  // Size + 2 is left
    EXPECT_EQ(terrain.GetPoint(3, 3), 100 + 16);  // 33 / 2 = 16.5 -> 16 (halves to even)
}

TEST_F(CombineOnTinyTerrain, HighestAndLowestClipAgainstTheTerrain)
{
    CombineLayer(terrain, layer, 2, 100, 5);
    EXPECT_EQ(terrain.GetPoint(0, 0), 100);
    CombineLayer(terrain, layer, 2, 100, 6);
    EXPECT_EQ(terrain.GetPoint(1, 1), 11);
    EXPECT_EQ(terrain.GetPoint(0, 3), 3);
}

TEST_F(CombineOnTinyTerrain, UnknownModeLeavesEveryPoint)
{
    CombineLayer(terrain, layer, 2, 100, 9);
    for (int32_t y = 0; y <= 4; ++y)
        for (int32_t x = 0; x <= 4; ++x) EXPECT_EQ(terrain.GetPoint(x, y), 100);
}

TEST_F(CombineOnTinyTerrain, ProductsBeyondThirtyTwoBitsSaturate)
{
    terrain.SetPoint(1, 1, 2000000000);
    CombineLayer(terrain, layer, 2, 100, 3);
    EXPECT_EQ(terrain.GetPoint(1, 1), INT32_MAX);
}

TEST_F(CombineOnTinyTerrain, RowAndColumnSizePlusOneAreCombined)
{
    CombineLayer(terrain, layer, 2, 100, 1);
    EXPECT_EQ(terrain.GetPoint(2, 3), 100 + 23);
}

TEST(CombinePreviewTest, AddsTheCurrentTerrainAtTheScaledPoint)
{
    clsTerrain current;
    current.Init(5);  // Size 4
    for (int32_t y = 0; y <= 6; ++y)
        for (int32_t x = 0; x <= 6; ++x) current.SetPoint(x, y, 1000 * x + y);
    clsTerrain gen;
    gen.Init(3);  // Size 2: scale 2
    for (int32_t y = 0; y <= 4; ++y)
        for (int32_t x = 0; x <= 4; ++x) gen.SetPoint(x, y, 10);
    CombinePreview(gen, current, 50, 1);
    EXPECT_EQ(gen.GetPoint(1, 1), 2002 + 5);
    EXPECT_EQ(gen.GetPoint(2, 1), 4002 + 5);
    EXPECT_EQ(gen.GetPoint(0, 1), 10);  // row and column 0 keep the generator's values
    EXPECT_EQ(gen.GetPoint(3, 3), 10);  // past Size too
    // A 257-point preview over a 129-point terrain: scale 0.5 puts (3, 3) on
    // (1.5, 1.5) and (5, 5) on (2.5, 2.5), both read at (2, 2).
    current.Init(129);
    for (int32_t y = 0; y <= 128; ++y)
        for (int32_t x = 0; x <= 128; ++x) current.SetPoint(x, y, 100 * x + y);
    gen.Init(257);
    CombinePreview(gen, current, 50, 1);
    EXPECT_EQ(gen.GetPoint(3, 3), 202);
    EXPECT_EQ(gen.GetPoint(5, 5), 202);
}

// One preview point (1, 1) over a current terrain of the same size.
int32_t previewPoint(int16_t mode, int32_t h, int32_t g, int32_t c)
{
    clsTerrain current;
    current.Init(2);
    current.SetPoint(1, 1, c);
    clsTerrain gen;
    gen.Init(2);
    gen.SetPoint(1, 1, g);
    CombinePreview(gen, current, h, mode);
    return gen.GetPoint(1, 1);
}

TEST(CombinePreviewTest, FirstFourModesWeightAsHTimesGOver100AndRoundThatHalf)
{
    // 7 * -1750 / 100 = -122.5 exactly, which rounds to -122; 0.07 * -1750
    // lies just below the half.
    EXPECT_EQ(previewPoint(1, 7, -1750, 0), -122);
    EXPECT_EQ(previewPoint(2, 7, 1750, 0), -122);
    EXPECT_EQ(previewPoint(3, 7, 50, 3), 10);  // 7 * 50 * 3 / 100 = 10.5
    // 37 / (1 * -140 / 100 + 1) = 37 / -0.4 = -92.5, a hair beyond in double.
    EXPECT_EQ(previewPoint(4, 1, -140, 37), -93);
    EXPECT_EQ(previewPoint(4, 1, -100, 37), 37);  // 37 / 0 keeps the height
    // Highest and lowest weight as (h / 100) * g.
    EXPECT_EQ(previewPoint(5, 50, 1000, 37), 500);
    EXPECT_EQ(previewPoint(6, 50, 1000, 37), 37);
}

TEST(CombinePreviewTest, ModeZeroKeepsTheGeneratedHeight)
{
    EXPECT_EQ(previewPoint(0, 50, 1000, 37), 1000);
    EXPECT_EQ(previewPoint(7, 50, 1000, 37), 1000);
}

// ---------------------------------------------------------------------------
// Whole runs from the PS folder

class GeneratorRun : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        rt::setAppPath(dir.path());
        QDir().mkpath(dir.filePath("PS"));
        for (int k = 1; k <= 5; ++k) {
            files[size_t(k - 1)] = QStringLiteral("layer%1.png").arg(k);
            greyPicture(300, 300, [k](int x, int y) { return (x * 7 + y * 13 * k + x * y / 17) % 256; })
                .save(dir.filePath(QStringLiteral("PS/layer%1.png").arg(k)));
        }
        saved = CurrentTerrain;
        CurrentTerrain = &terrain;
        terrain.Init(257);
    }
    void TearDown() override
    {
        CurrentTerrain = saved;
        rt::setAppPath(QString());
    }
    std::vector<int32_t> heights(const clsTerrain& t) const
    {
        std::vector<int32_t> v;
        for (int32_t y = 0; y <= t.Size(); ++y)
            for (int32_t x = 0; x <= t.Size(); ++x) v.push_back(t.GetPoint(x, y));
        return v;
    }
    // A run as the window makes it: the set read, then generated from it.
    bool generate(int32_t size, GeneratorParams& p)
    {
        const auto pictures = LoadPerlinLayersForRun(terrain, files, p.highResolution);
        if (pictures) GeneratePerlinTerrain(terrain, size, *pictures, p);
        return pictures.has_value();
    }
    GeneratorParams params(const QString& seed) const
    {
        GeneratorParams p;
        p.seed = seed;
        p.iteration = 4;
        p.resizeMode = 1;
        return p;
    }

    QTemporaryDir dir;
    LayerFiles files;
    clsTerrain terrain;
    clsTerrain* saved = nullptr;
};

TEST_F(GeneratorRun, SameSeedGivesTheSameTerrain)
{
    GeneratorParams p = params(QStringLiteral("123456"));
    ASSERT_TRUE(generate(256, p));
    EXPECT_EQ(p.seed, QStringLiteral("123456"));
    const auto first = heights(terrain);
    EXPECT_FALSE(rt::BusyFlag);
    EXPECT_EQ(terrain.pProgress, 100);
    // Heights spread over the full range.
    EXPECT_GT(terrain.max() - terrain.min(), 60000);

    terrain = clsTerrain();  // the header too: the rescale keeps heights in its units
    p = params(QStringLiteral("123456"));
    ASSERT_TRUE(generate(256, p));
    EXPECT_EQ(heights(terrain), first);

    terrain = clsTerrain();  // the header too: the rescale keeps heights in its units
    p = params(QStringLiteral("654321"));
    ASSERT_TRUE(generate(256, p));
    EXPECT_NE(heights(terrain), first);
}

TEST_F(GeneratorRun, RefinedSmoothedRunGivesHandWorkedHeights)
{
    // Seed 123456 puts every window at (78, 22). Four levels from picture 2,
    // one bilinear doubling, one smoothing pass each way, then the rescale:
    // the smoothed layer spans raw -49783..49932, -17.79..27.86 units under
    // the default header (30 units round 5); the rescale spreads it by
    // 65535 / 99716 round 74.5 and the units follow, -18..28 rounded.
    GeneratorParams p = params(QStringLiteral("123456"));
    ASSERT_TRUE(generate(256, p));
    EXPECT_EQ(terrain.MinTU(), -18);
    EXPECT_EQ(terrain.MaxTU(), 28);
    EXPECT_EQ(terrain.GetPoint(0, 0), 16314);       // corner: neighbours clamped to the grid
    EXPECT_EQ(terrain.GetPoint(3, 3), 8946);        // diagonal child of the doubling
    EXPECT_EQ(terrain.GetPoint(2, 3), 8332);        // child below a sample
    EXPECT_EQ(terrain.GetPoint(100, 57), -27594);   // beyond 32768 before the rescale: not smoothed
    EXPECT_EQ(terrain.GetPoint(256, 256), 14369);   // far corner: the spare rows are not read
    EXPECT_EQ(terrain.GetPoint(257, 10), 12893);    // spare column: combined, not smoothed, rescaled
}

TEST_F(GeneratorRun, MissingPictureIsRefusedAndTheTerrainKept)
{
    terrain.SetPoint(5, 5, 777);
    files[3] = QStringLiteral("nothere.png");
    scriptedUi().expectMsgBox(rt::vbOK);
    GeneratorParams p = params(QStringLiteral("1"));
    EXPECT_FALSE(generate(256, p));
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_TRUE(scriptedUi().messages[0].text.contains(QStringLiteral("nothere.png")));
    EXPECT_EQ(terrain.GetPoint(5, 5), 777);
    EXPECT_EQ(terrain.GetPoint(6, 5), 0);
}

TEST_F(GeneratorRun, PictureTooSmallForTheWindowIsRefused)
{
    greyPicture(257, 300, [](int, int) { return 9; }).save(dir.filePath("PS/layer2.png"));
    terrain.SetPoint(5, 5, 777);
    scriptedUi().expectMsgBox(rt::vbOK);
    GeneratorParams p = params(QStringLiteral("1"));
    p.highResolution = true;  // needs 258 x 258
    EXPECT_FALSE(generate(256, p));
    EXPECT_TRUE(scriptedUi().messages.at(0).text.contains(QStringLiteral("258 x 258")));
    EXPECT_EQ(terrain.GetPoint(5, 5), 777);
}

TEST_F(GeneratorRun, MissingPerlinFolderShowsItsMessage)
{
    QDir(dir.filePath("PS")).removeRecursively();
    scriptedUi().expectMsgBox(rt::vbOK);
    GeneratorParams p = params(QStringLiteral("1"));
    EXPECT_FALSE(generate(256, p));
    EXPECT_EQ(scriptedUi().messages.at(0).text, QStringLiteral("Perlin Path not exists"));
    EXPECT_EQ(scriptedUi().messages.at(0).style, rt::vbOKOnly);
}

TEST_F(GeneratorRun, FinerStructuresOnTheSmallestSizeFitTheWorkGrid)
{
    terrain.Init(129);
    GeneratorParams p = params(QStringLiteral("777"));
    p.highResolution = true;
    ASSERT_TRUE(generate(128, p));
    EXPECT_EQ(terrain.Size(), 128);
    EXPECT_GT(terrain.max() - terrain.min(), 60000);
}

TEST_F(GeneratorRun, LargestSizeRefinesFourTimes)
{
    terrain.Init(2049);
    GeneratorParams p = params(QStringLiteral("31"));
    p.resizeMode = 2;
    ASSERT_TRUE(generate(2048, p));
    EXPECT_EQ(terrain.Size(), 2048);
    // The refined layer reaches the far edge: the last row is not left flat.
    std::set<int32_t> lastRow;
    for (int32_t x = 0; x <= 2048; ++x) lastRow.insert(terrain.GetPoint(x, 2048));
    EXPECT_GT(lastRow.size(), 100u);
    EXPECT_GT(terrain.max() - terrain.min(), 60000);
}

} // namespace
