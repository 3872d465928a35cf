// Frozen results of the TER save and load and of the rescale: the saved bytes,
// the loaded grid with its min/max cache, and the progress at every DoEvents
// call must stay bit for bit what they are, however the routines are made faster.

#include "terrain/TerFile.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/clsTerrain.h"
#include "terrain/mTerLoad.h"
#include "tests/support/GoldenRecord.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// 257 points spanning more than 50000 steps (no refine question), a few
// beyond 16 bits that the file takes under wider units, spare rows and columns
// filled too.
clsTerrain pattern()
{
    clsTerrain t;
    t.Init(257);
    for (int32_t y = 0; y < t.allocatedSide(); ++y)
        for (int32_t x = 0; x < t.allocatedSide(); ++x)
            t.SetPoint(x, y, (x * 131 + y * 977 + x * y * 7) % 60001 - 30000 + (x == y) * 70000 - (x == 3) * 90000);
    t.setHeightScale(77);
    t.setBaseHeight(-3);
    return t;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class GoldenTer : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        saved = CurrentTerrain;
        CurrentTerrain = &current;
    }
    void TearDown() override { CurrentTerrain = saved; }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    clsTerrain current;
    clsTerrain* saved = nullptr;
};

TEST_F(GoldenTer, SaveWritesTheFrozenBytes)
{
    clsTerrain t = pattern();
    PumpRecord pumps(t);
    ASSERT_TRUE(t.SaveT(path("a.ter")));
    const QByteArray bytes = readFile(path("a.ter"));
    EXPECT_EQ(fnvAdd(kFnvStart, bytes.constData(), size_t(bytes.size())), 1039020607553521518ull);
    EXPECT_EQ(pumps.hash(), 17325362988412342153ull) << pumps.calls() << " calls";
    EXPECT_EQ(t.pProgress, 100);
}

TEST_F(GoldenTer, LoadGivesTheFrozenGrid)
{
    ASSERT_TRUE(pattern().SaveT(path("a.ter")));
    current.Init(300);
    current.Fill(555);
    PumpRecord pumps(current);
    ASSERT_TRUE(mTerLoad::LoadTerFile(path("a.ter")));
    EXPECT_EQ(terrainHash(current), 15571985527172746007ull);
    EXPECT_EQ(pumps.hash(), 6082024272624116885ull) << pumps.calls() << " calls";
}

TEST_F(GoldenTer, HeightsAtAnOddOffsetReadIntoAUsedTerrainGiveTheFrozenGrid)
{
    // One byte more before "ALTW" moves the heights to an odd offset.
    ASSERT_TRUE(pattern().SaveT(path("a.ter")));
    QByteArray d = readFile(path("a.ter"));
    d.insert(70, '\0');
    QFile f(path("odd.ter"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(d);
    f.close();
    clsTerrain t;
    t.Init(257);
    t.Fill(-777);
    ASSERT_TRUE(TerFile::read(path("odd.ter"), t).ok());
    EXPECT_EQ(t.row(258)[5], 0);  // the spare rows hold no file heights
    EXPECT_EQ(terrainHash(t), 15571985527172746007ull);
}

TEST(GoldenRescale, ScaleTerrainGivesTheFrozenGrid)
{
    const struct {
        bool fixHeight;
        int32_t range;
        uint64_t heights;
    } cases[] = {{false, 65534, 15645615007975108490ull}, {true, 65534, 18117217728104003158ull}};
    for (const auto& c : cases) {
        clsTerrain t = pattern();
        t.setFixHeight(c.fixHeight);
        EXPECT_EQ(t.ScaleTerrain(), c.range) << "FixHeight " << c.fixHeight;
        EXPECT_EQ(terrainHash(t), c.heights) << "FixHeight " << c.fixHeight;
    }
    // Heights taking fewer values than there are points, the spare column
    // (which Range does not read) beyond them.
    clsTerrain narrow;
    narrow.Init(257);
    for (int32_t y = 0; y < narrow.allocatedSide(); ++y)
        for (int32_t x = 0; x < narrow.allocatedSide(); ++x)
            narrow.SetPoint(x, y, (x * 131 + y * 977) % 20011 - 10000 + (x == 257) * 50000 * (y % 3 - 1));
    EXPECT_EQ(narrow.ScaleTerrain(), 65532);
    EXPECT_EQ(terrainHash(narrow), 5350486018619959243ull);
}

} // namespace
