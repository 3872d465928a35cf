#include "terrain/mHgt.h"

#include "terrain/TerrainGlobals.h"
#include "terrain/clsTerrain.h"
#include "runtime/Ui.h"
#include "tests/support/ScriptedUi.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

// A 3 x 3 grid maps onto 1025 points as columns/rows 0..256 -> 0,
// 257..767 -> 1, 768..1024 -> 2 (x * 2 / 1024, halves to even).
constexpr int kFirst = 100;
constexpr int kMiddle = 500;
constexpr int kLast = 1000;

class HgtTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        m_oldCurrent = CurrentTerrain;
        CurrentTerrain = &terrain;
        rt::setAppPath(dir.path());
        terrain.Init(129);
        terrain.SetPoint(3, 4, 1234);
    }
    void TearDown() override { CurrentTerrain = m_oldCurrent; }

    QString writeBytes(const QByteArray& bytes)
    {
        const QString path = dir.filePath(QStringLiteral("test.hgt"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    // Samples row by row, each big-endian.
    QString writeGrid(const std::vector<int>& samples)
    {
        QByteArray b;
        for (int v : samples) {
            const auto u = static_cast<uint16_t>(static_cast<int16_t>(v));
            b.append(char(u >> 8));
            b.append(char(u & 0xFF));
        }
        return writeBytes(b);
    }

    double metresAt(int x, int y) const { return terrain.GetPointMeters(x, y); }

    void expectTerrainUntouched()
    {
        EXPECT_EQ(terrain.XPoints(), 129);
        EXPECT_EQ(terrain.GetPoint(3, 4), 1234);
        EXPECT_FLOAT_EQ(terrain.CRAD(), 6370.0f);
        EXPECT_FALSE(rt::BusyFlag);
    }

    QTemporaryDir dir;
    clsTerrain terrain;

private:
    clsTerrain* m_oldCurrent = nullptr;
};

} // namespace

TEST(HgtGrid, SideFollowsFromTheFileLength)
{
    EXPECT_EQ(mTerLoad::hgtGridSide(8), 2);
    EXPECT_EQ(mTerLoad::hgtGridSide(18), 3);
    EXPECT_EQ(mTerLoad::hgtGridSide(2LL * 3601 * 3601), 3601);
    EXPECT_EQ(mTerLoad::hgtGridSide(0), 0);
    EXPECT_EQ(mTerLoad::hgtGridSide(2), 0);   // one sample: below 8 bytes
    EXPECT_EQ(mTerLoad::hgtGridSide(10), 0);  // five samples
    EXPECT_EQ(mTerLoad::hgtGridSide(19), 0);  // odd length
}

TEST(HgtGrid, SamplesAreSignedBigEndian)
{
    const QByteArray b("\x01\x02\xFF\xFE\x80\x00", 6);
    EXPECT_EQ(mTerLoad::readHgtSample(b, 0), 258);
    EXPECT_EQ(mTerLoad::readHgtSample(b, 1), -2);
    EXPECT_EQ(mTerLoad::readHgtSample(b, 2), -32768);
}

TEST_F(HgtTest, ImportResamplesToA1025PointTenMetreGrid)
{
    // rows: r0, r1, r2
    const QString path = writeGrid({kFirst, 200, 300, 400, kMiddle, 600, 700, 800, kLast});
    ASSERT_TRUE(mTerLoad::LoadHgtFile(path));
    EXPECT_EQ(terrain.XPoints(), 1025);
    EXPECT_FLOAT_EQ(terrain.ScaleT(), 10.0f);
    EXPECT_FLOAT_EQ(terrain.CRAD(), 6340.0f);
    EXPECT_EQ(terrain.CRVM(), 0);
    // 100..1000 m are 10..100 TU.
    EXPECT_EQ(terrain.MinTU(), 10);
    EXPECT_EQ(terrain.MaxTU(), 100);
    EXPECT_EQ(terrain.pProgress, 100);
    EXPECT_FALSE(rt::BusyFlag);
    // Metres come back within one raw step's rounding.
    EXPECT_NEAR(metresAt(0, 0), kFirst, 1.0);
    EXPECT_NEAR(metresAt(256, 0), kFirst, 1.0);
    EXPECT_NEAR(metresAt(257, 0), 200, 1.0);   // column 1
    EXPECT_NEAR(metresAt(0, 257), 400, 1.0);   // row 1
    EXPECT_NEAR(metresAt(512, 512), kMiddle, 1.0);
    EXPECT_NEAR(metresAt(1024, 1024), kLast, 1.0);  // the last sample
    EXPECT_NEAR(metresAt(1024, 0), 300, 1.0);
}

TEST_F(HgtTest, LandBelowSeaLevelKeepsItsHeight)
{
    const QString path = writeGrid({-50, -1, 0, 30});  // -1 is a height, not a void
    ASSERT_TRUE(mTerLoad::LoadHgtFile(path));
    EXPECT_TRUE(scriptedUi().messages.empty());
    EXPECT_EQ(terrain.MinTU(), -5);
    EXPECT_EQ(terrain.MaxTU(), 3);
    EXPECT_NEAR(metresAt(0, 0), -50, 1.0);
    EXPECT_NEAR(metresAt(1024, 0), -1, 1.0);
    EXPECT_NEAR(metresAt(1024, 1024), 30, 1.0);
}

TEST_F(HgtTest, MetresStayWithinOneRawStepAndSeaLevelIsNotRaised)
{
    // -6..163 m, raw metres under HeightScale 65536 / 10, spread over the raw
    // range: HeightScale 6553.6 x 170 / 65535 = 17.0003, BaseHeight 7.85
    // (78.5 m, midway), a raw step 17.0003 / 65536 x 10 m.
    ASSERT_TRUE(mTerLoad::LoadHgtFile(writeGrid({-6, 0, 163, -1})));
    EXPECT_NEAR(terrain.HeightScale(), 6553.6 * 170 / 65535, 1e-9);
    EXPECT_NEAR(terrain.BaseHeight(), 7.85, 1e-9);
    const double step = 6553.6 * 170 / 65535 / 65536 * 10;
    EXPECT_NEAR(metresAt(0, 0), -6, step);
    EXPECT_NEAR(metresAt(0, 1024), 163, step);
    EXPECT_NEAR(metresAt(1024, 0), 0, step);
    EXPECT_NEAR(metresAt(1024, 1024), -1, step);
    EXPECT_LT(metresAt(1024, 1024), 0.0);
}

TEST_F(HgtTest, NineThousandMetresIsAHeightNotAnError)
{
    const QString path = writeGrid({0, 9000, 10, 20});
    ASSERT_TRUE(mTerLoad::LoadHgtFile(path));
    EXPECT_TRUE(scriptedUi().messages.empty());
    EXPECT_NEAR(metresAt(1024, 0), 9000, 10.0);
}

TEST_F(HgtTest, RepairedErrorsTakeThePreviousHeight)
{
    // Loop order: x outer, y inner; the void at row 1 of column 0 follows 300 m,
    // the 9001 at row 1 of column 1 follows 100 m.
    const QString path = writeGrid({300, 100, -32768, 9001});
    scriptedUi().expectMsgBox(rt::vbYes);
    ASSERT_TRUE(mTerLoad::LoadHgtFile(path));
    ASSERT_EQ(scriptedUi().messages.size(), 1u);  // asked once per file
    EXPECT_EQ(scriptedUi().messages[0].text,
              QStringLiteral("Errors in the height markings are in the file. Shall I try to correct these errors?"));
    EXPECT_EQ(scriptedUi().messages[0].title, QStringLiteral("Load HGT-File"));
    EXPECT_EQ(scriptedUi().messages[0].style, rt::vbYesNo);
    EXPECT_NEAR(metresAt(0, 1024), 300, 1.0);
    EXPECT_NEAR(metresAt(1024, 1024), 100, 1.0);
    EXPECT_FALSE(rt::BusyFlag);
}

TEST_F(HgtTest, DeclinedRepairMakesErrorsZero)
{
    const QString path = writeGrid({300, 100, -32768, 9001});
    scriptedUi().expectMsgBox(rt::vbNo);
    ASSERT_TRUE(mTerLoad::LoadHgtFile(path));
    EXPECT_EQ(terrain.MinTU(), 0);
    EXPECT_NEAR(metresAt(0, 1024), 0, 1.0);
    EXPECT_NEAR(metresAt(1024, 1024), 0, 1.0);
    EXPECT_NEAR(metresAt(0, 0), 300, 1.0);
}

TEST_F(HgtTest, FlatFileGivesAFlatTerrainAtItsHeight)
{
    const QString path = writeGrid({400, 400, 400, 400});
    ASSERT_TRUE(mTerLoad::LoadHgtFile(path));
    EXPECT_EQ(terrain.Range(), 0);
    EXPECT_NEAR(metresAt(500, 500), 400, 10.0);
}

TEST_F(HgtTest, FixedHeightRangeDoesNotStopTheImportFromSettingItsRange)
{
    terrain.setFixHeight(true);
    const QString path = writeGrid({0, 100, 200, 300});
    ASSERT_TRUE(mTerLoad::LoadHgtFile(path));
    EXPECT_TRUE(terrain.FixHeight());
    EXPECT_NEAR(metresAt(1024, 1024), 300, 1.0);
    EXPECT_NEAR(metresAt(0, 0), 0, 1.0);
}

TEST_F(HgtTest, FileShorterThanEightBytesIsRefusedAndTheTerrainKept)
{
    const QString path = writeGrid({1, 2, 3});
    scriptedUi().expectMsgBox(rt::vbOK);
    EXPECT_FALSE(mTerLoad::LoadHgtFile(path));
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(scriptedUi().messages[0].title, QStringLiteral("Load HGT-File"));
    expectTerrainUntouched();
}

TEST_F(HgtTest, LengthThatIsNotTwiceASquareIsRefused)
{
    const QString path = writeGrid({1, 2, 3, 4, 5});
    scriptedUi().expectMsgBox(rt::vbOK);
    EXPECT_FALSE(mTerLoad::LoadHgtFile(path));
    expectTerrainUntouched();
}

// Sparse files: their length is refused before a byte is read.
TEST_F(HgtTest, HugeOrTooFineGridsAreRefusedByTheirLength)
{
    for (const qint64 length : {100LL << 30, 2LL * 3602 * 3602}) {
        const QString path = writeBytes(QByteArray());
        ASSERT_TRUE(QFile::resize(path, length));
        scriptedUi().expectMsgBox(rt::vbOK);
        EXPECT_FALSE(mTerLoad::LoadHgtFile(path));
        ASSERT_EQ(scriptedUi().messages.size(), 1u);
        EXPECT_TRUE(scriptedUi().messages[0].text.contains(QString::number(length)));
        scriptedUi().messages.clear();
        expectTerrainUntouched();
    }
}

TEST_F(HgtTest, OddLengthIsRefused)
{
    const QString path = writeBytes(QByteArray(19, '\0'));
    scriptedUi().expectMsgBox(rt::vbOK);
    EXPECT_FALSE(mTerLoad::LoadHgtFile(path));
    expectTerrainUntouched();
}

TEST_F(HgtTest, MissingFileIsReportedAndTheTerrainKept)
{
    scriptedUi().expectMsgBox(rt::vbOK);
    EXPECT_FALSE(mTerLoad::LoadHgtFile(dir.filePath(QStringLiteral("none.hgt"))));
    expectTerrainUntouched();
}
