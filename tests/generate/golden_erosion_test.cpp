// Frozen results of the droplet erosion and the range effects: seeded runs
// whose heights, min/max cache and progress at every DoEvents call must stay
// bit for bit what they are, however the routines are made faster.

#include "generate/KVErosion.h"
#include "generate/KVFilter.h"
#include "generate/KVFilterEffects.h"
#include "generate/kvGenerator.h"
#include "runtime/Rnd.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/clsTerrain.h"
#include "tests/support/GoldenRecord.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

using KVErosion::ErosionSettings;

// Rough hills over 129 points, spare columns included, heights in +-20000 with
// a few far beyond 16 bits, so drops run far, dig deep and reach every edge.
clsTerrain hills()
{
    clsTerrain t;
    t.Init(129);
    for (int32_t y = 0; y < t.allocatedSide(); ++y) {
        int32_t* r = t.row(y);
        for (int32_t x = 0; x < t.allocatedSide(); ++x)
            r[x] = ((x * x * 37 + y * y * 53 + x * y * 11) % 2000) * 20 - 20000 + (x == 64 && y % 9 == 0) * 900000;
    }
    t.Range();
    return t;
}

struct DropCase {
    ErosionSettings settings;
    int32_t seed, extent, x0, y0;
    uint64_t heights, pumps;
};

TEST(GoldenErosion, SeededDropsGiveTheFrozenTerrain)
{
    const DropCase cases[] = {
        {{3000, 9, 10, 8}, 7, 129, 0, 0, 13335678948506176045ull, 6785993448572181066ull},
        {{2000, 9, 3, 1}, 11, 70, 17, 9, 4654991562304876233ull, 7978291605790649059ull},
        {{1500, 9, 7, 5}, 23, 140, -6, 3, 15451846782867465285ull, 3675136103573867198ull},
    };
    for (const DropCase& c : cases) {
        clsTerrain t = hills();
        PumpRecord pumps(t);
        rt::Randomize(c.seed);
        KVErosion::runDrops(t, c.settings, c.extent, c.x0, c.y0, -32768, 32768);
        EXPECT_EQ(terrainHash(t), c.heights) << "landslide " << c.settings.landslide;
        EXPECT_EQ(pumps.hash(), c.pumps) << "landslide " << c.settings.landslide << ", " << pumps.calls() << " calls";
        RecordProperty("longest_gap_ms", int(pumps.longestGapMs()));
    }
}

TEST(GoldenErosion, TheWholeCommandGivesTheFrozenTerrain)
{
    scriptedUi().expectErosionSettings(ErosionSettings{2500, 9, 4, 3});
    clsTerrain t = hills();
    CurrentTerrain = &t;
    PumpRecord pumps(t);
    rt::Randomize(5);
    float strength = 0;
    ErodeDroplets(t, strength, std::nullopt, 0, 0, -32768, 32768);
    CurrentTerrain = nullptr;
    EXPECT_EQ(terrainHash(t), 15904329662490850428ull);
    EXPECT_EQ(pumps.hash(), 15632569984505118735ull) << pumps.calls() << " calls";
}

// The three range effects share one frame: rescale, measure the curve, spread it.
TEST(GoldenRangeEffects, StretchSineAndPowerGiveTheFrozenTerrain)
{
    const struct {
        int16_t code;
        float strength;
        uint64_t heights, pumps;
    } cases[] = {
        {KVFilter::EffectStretch, 1.0f, 18410080337693296302ull, 16501010633947337939ull},
        {KVFilter::EffectSinus, 1.0f, 12330342384323424498ull, 16501010633947337939ull},
        {KVFilter::EffectGamma, 2.5f, 99423407753753035ull, 16501010633947337939ull},
        {KVFilter::EffectInversGamma, 0.5f, 8817958081869771737ull, 16501010633947337939ull},
    };
    for (const auto& c : cases) {
        clsTerrain t = hills();
        PumpRecord pumps(t);
        float strength = c.strength;
        ASSERT_TRUE(KVFilter::ApplyFilter(c.code, t, strength, std::nullopt, 0, 0, -32768, 32768));
        EXPECT_EQ(terrainHash(t), c.heights) << "effect " << c.code;
        EXPECT_EQ(pumps.hash(), c.pumps) << "effect " << c.code << ", " << pumps.calls() << " calls";
    }
}

TEST(GoldenSmooth, SmoothingAndTheGeneratorGiveTheFrozenTerrain)
{
    {
        clsTerrain t = hills();
        PumpRecord pumps(t);
        float strength = 4;
        KVFilter::SmoothTerrain(t, strength, 70, 20, -5, -15000, 15000);
        EXPECT_EQ(terrainHash(t), 9940570116862685626ull);
        EXPECT_EQ(pumps.hash(), 7037023852824879327ull) << pumps.calls() << " calls";
    }
    kvGenerator::LayerPictures pictures;
    for (int k = 0; k < 5; ++k) {
        QImage img(140, 150, QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const int g = (x * (k + 3) + y * 11 + x * y / 23) & 255;
                img.setPixel(x, y, qRgb(g, 255 - g, g));
            }
        pictures[size_t(k)] = img;
    }
    clsTerrain t;
    t.Init(513);
    CurrentTerrain = &t;
    PumpRecord pumps(t);
    kvGenerator::GeneratorParams p;
    p.iteration = 7;
    // Refinement seeds from the clock: bilinear without roughness leaves it out.
    p.resizeMode = 1;
    p.roughness = 0;
    p.seed = QStringLiteral("123456");
    kvGenerator::GeneratePerlinTerrain(t, 512, pictures, p);
    CurrentTerrain = nullptr;
    EXPECT_EQ(terrainHash(t), 8016502677358489843ull);
    EXPECT_EQ(pumps.hash(), 17433740366619925760ull) << pumps.calls() << " calls";
}

TEST(GoldenSmooth, ASmoothingStartedWhileAnotherRunsLeavesBothAsAlone)
{
    const auto smoothed = [](clsTerrain t, int32_t x0) {
        float strength = 3;
        KVFilter::SmoothTerrain(t, strength, 60, x0, 0, -32768, 32768);
        return terrainHash(t);
    };
    const uint64_t outerAlone = smoothed(hills(), 0), innerAlone = smoothed(hills(), 50);
    clsTerrain outer = hills(), inner = hills();
    bool started = false;
    scriptedUi().onPumpAsked = [&] {
        if (started || outer.pProgress < 20) return;
        started = true;
        float strength = 3;
        KVFilter::SmoothTerrain(inner, strength, 60, 50, 0, -32768, 32768);
    };
    float strength = 3;
    KVFilter::SmoothTerrain(outer, strength, 60, 0, 0, -32768, 32768);
    scriptedUi().onPumpAsked = nullptr;
    ASSERT_TRUE(started);
    EXPECT_EQ(terrainHash(outer), outerAlone);
    EXPECT_EQ(terrainHash(inner), innerAlone);
}

} // namespace
