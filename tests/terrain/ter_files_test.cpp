#include "terrain/TerrainGlobals.h"
#include "terrain/clsTerrain.h"
#include "terrain/mTerLoad.h"

#include "runtime/Ui.h"
#include "tests/support/ScriptedUi.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <limits>

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

int16_t i16At(const QByteArray& d, qsizetype offset)
{
    return qFromLittleEndian<int16_t>(d.constData() + offset);
}

void putI16(QByteArray& d, qsizetype offset, int16_t v)
{
    qToLittleEndian<int16_t>(v, d.data() + offset);
}

// Heights that differ everywhere and span more than 50000 steps, so loading
// asks no question.
void fillPattern(clsTerrain& t)
{
    const int n = t.Size();
    for (int y = 0; y <= n + 2; ++y)
        for (int x = 0; x <= n + 2; ++x) t.SetPoint(x, y, (x * 131 + y * 977) % 60001 - 30000);
}

// The current terrain is a local one; every test gets a fresh folder.
class TerFiles : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        saved = CurrentTerrain;
        CurrentTerrain = &current;
    }
    void TearDown() override
    {
        CurrentTerrain = saved;
        EXPECT_FALSE(rt::BusyFlag);
        EXPECT_TRUE(scriptedUi().allAnswersUsed());
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    // A saved 257-point terrain with recognisable values.
    QByteArray savedPattern(const QString& file)
    {
        clsTerrain t;
        fillPattern(t);
        t.setHeightScale(77);
        t.setBaseHeight(-3);
        t.setCRVM(1);
        t.setCRAD(1234.5f);
        t.setScaleT(12.5f);
        EXPECT_TRUE(t.SaveT(file));
        return readFile(file);
    }

    // Expects a refusal with one message box and the current terrain as before.
    void expectRefused(const QString& file, const QString& textPart)
    {
        current.Init(129);
        current.SetPoint(5, 5, 4242);
        current.setHeightScale(321);
        scriptedUi().expectMsgBox(rt::vbOK);
        EXPECT_FALSE(mTerLoad::LoadTerFile(file));
        ASSERT_EQ(scriptedUi().messages.size(), size_t(1));
        EXPECT_TRUE(scriptedUi().messages[0].text.contains(textPart)) << scriptedUi().messages[0].text.toStdString();
        EXPECT_EQ(scriptedUi().messages[0].title, QStringLiteral("Load Terrain"));
        EXPECT_EQ(current.Size(), 128);
        EXPECT_EQ(current.GetPoint(5, 5), 4242);
        EXPECT_EQ(current.HeightScale(), 321);
    }

    QTemporaryDir dir;
    clsTerrain current;
    clsTerrain* saved = nullptr;
};

const QString kRefineText = QStringLiteral(
    "Terrain doesn't use the maximum extension of 65538 steps. Shall it be refined?\n\r"
    "(Attention: Other height value could arise than in the original file!)");

} // namespace

TEST_F(TerFiles, SavedTerrainHasTheTerLayout)
{
    clsTerrain t;
    fillPattern(t);
    t.SetPoint(0, 256, 1111);
    t.SetPoint(1, 256, -2222);
    t.SetPoint(0, 0, 3333);
    ASSERT_TRUE(t.SaveT(path("a.ter")));
    EXPECT_EQ(t.pProgress, 100);
    const QByteArray d = readFile(path("a.ter"));
    ASSERT_EQ(d.size(), 80 + 2 * 257 * 257 + 4);
    EXPECT_EQ(d.left(20), QByteArray("TERRAGENTERRAIN SIZE"));
    EXPECT_EQ(i16At(d, 20), 256);
    EXPECT_EQ(d.mid(22, 6), QByteArray("\0\0XPTS", 6));
    EXPECT_EQ(i16At(d, 28), 257);
    EXPECT_EQ(d.mid(30, 6), QByteArray("\0\0YPTS", 6));
    EXPECT_EQ(d.mid(38, 6), QByteArray("\0\0SCAL", 6));
    EXPECT_EQ(d.mid(56, 4), QByteArray("CRAD"));
    EXPECT_EQ(d.mid(64, 4), QByteArray("CRVM"));
    EXPECT_EQ(d.mid(70, 6), QByteArray("\0\0ALTW", 6));
    EXPECT_EQ(i16At(d, 76), 30);
    EXPECT_EQ(i16At(d, 78), 5);
    EXPECT_EQ(i16At(d, 80), 1111);  // x 0 of row 256 comes first
    EXPECT_EQ(i16At(d, 82), -2222);
    EXPECT_EQ(i16At(d, 80 + 2 * 257 * 256), 3333);  // the last file row is row 0
    EXPECT_EQ(d.right(4), QByteArray("EOF\0", 4));
}

TEST_F(TerFiles, HeightsAFileCannotHoldAsTheyAreGetTheFinestHeaderAndTheirNearestRawHeight)
{
    // Under HeightScale 30, BaseHeight 5 the heights 40000, -40000, 65536 and
    // 0 lie at 23.3105, -13.3105, 35 and 5 TU, 48.31 units apart. HeightScale
    // 48 reaches 24 units above BaseHeight and 24.0004 below: no whole
    // BaseHeight takes both ends. 49 with BaseHeight 11 does, and each point
    // takes its nearest raw height, (TU - 11) x 65536 / 49. The terrain then
    // holds what the file holds.
    clsTerrain t;
    t.SetPoint(0, 256, 40000);
    t.SetPoint(1, 256, -40000);
    t.SetPoint(2, 256, 65536);
    ASSERT_TRUE(t.SaveT(path("a.ter")));
    const QByteArray d = readFile(path("a.ter"));
    EXPECT_EQ(i16At(d, 76), 49);
    EXPECT_EQ(i16At(d, 78), 11);
    const int16_t expected[] = {16465, -32515, 32099, -8025};  // 16464.98, -32514.61, 32099.27, -8024.82
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(i16At(d, 80 + 2 * i), expected[i]) << i;
        EXPECT_EQ(t.GetPoint(i, 256), expected[i]) << i;
    }
    EXPECT_EQ(t.HeightScale(), 49);
    EXPECT_EQ(t.BaseHeight(), 11);

    // Saved again unchanged, the file is the same to the byte.
    ASSERT_TRUE(t.SaveT(path("b.ter")));
    EXPECT_EQ(readFile(path("b.ter")), d);
}

TEST_F(TerFiles, HeightsFarUpOrDownAreHeldWithBaseHeightAtItsLimit)
{
    // Raw 0 and 65536 under HeightScale 1000 span 1000 units from BaseHeight.
    // 33000..34000: BaseHeight stops at 32767, so HeightScale must reach 1233
    // units above it: 1233 x 65536 / 32767.5 = 2466.07, so 2467.
    // -34000..-33000: BaseHeight -32768, 1232 units below it: 2463.9, so 2464.
    struct Row {
        double base;
        int32_t top;
        int16_t heightScale, baseHeight, rawPoint, rawRest;
    };
    // 1233 x 65536 / 2467 = 32754.72 and 233 x 65536 / 2467 = 6189.66; -1232 x 65536 / 2464 = -32768.
    for (const Row& r : {Row{33000, 65536, 2467, 32767, 32755, 6190}, Row{-33000, -65536, 2464, -32768, -32768, -6171}}) {
        clsTerrain t;
        t.Init(129);
        t.setHeightScale(1000);
        t.setBaseHeight(r.base);
        t.SetPoint(0, 128, r.top);
        ASSERT_TRUE(t.SaveT(path("far.ter")));
        const QByteArray d = readFile(path("far.ter"));
        EXPECT_EQ(i16At(d, 76), r.heightScale) << r.base;
        EXPECT_EQ(i16At(d, 78), r.baseHeight) << r.base;
        EXPECT_EQ(i16At(d, 80), r.rawPoint) << r.base;
        EXPECT_EQ(i16At(d, 82), r.rawRest) << r.base;
    }
}

TEST_F(TerFiles, SaveReplacesALongerOldFileWhole)
{
    writeFile(path("a.ter"), QByteArray(400000, 'x'));
    clsTerrain t;
    ASSERT_TRUE(t.SaveT(path("a.ter")));
    EXPECT_EQ(readFile(path("a.ter")).size(), 80 + 2 * 257 * 257 + 4);
}

TEST_F(TerFiles, SaveIntoAMissingFolderReportsFailure)
{
    clsTerrain t;
    QString error;
    EXPECT_FALSE(t.SaveT(path("missing/a.ter"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(t.SaveBackup(path("missing/b.kvt"), &error));
}

TEST_F(TerFiles, SaveAndLoadGiveBackHeightsAndHeader)
{
    savedPattern(path("a.ter"));
    ASSERT_TRUE(mTerLoad::LoadTerFile(path("a.ter")));
    clsTerrain expected;
    fillPattern(expected);
    EXPECT_EQ(current.Size(), 256);
    for (int y = 0; y <= 256; ++y)
        for (int x = 0; x <= 256; ++x) ASSERT_EQ(current.GetPoint(x, y), expected.GetPoint(x, y)) << x << "," << y;
    EXPECT_EQ(current.GetPoint(257, 0), 0);  // spare rows start empty
    EXPECT_EQ(current.HeightScale(), 77);
    EXPECT_EQ(current.BaseHeight(), -3);
    EXPECT_EQ(current.CRVM(), 1);
    EXPECT_FLOAT_EQ(current.CRAD(), 1234.5f);
    EXPECT_FLOAT_EQ(current.ScaleT(), 12.5f);
    expected.Range();
    EXPECT_EQ(current.min(), expected.min());
    EXPECT_EQ(current.max(), expected.max());
    EXPECT_TRUE(scriptedUi().statusTexts.contains(QStringLiteral("load Terrain.......")));
}

TEST_F(TerFiles, LoadKeepsFixHeightAndProgressOfTheCurrentTerrain)
{
    savedPattern(path("a.ter"));
    current.setFixHeight(true);
    ASSERT_TRUE(mTerLoad::LoadTerFile(path("a.ter")));
    EXPECT_TRUE(current.FixHeight());
}

TEST_F(TerFiles, NarrowTerrainBringsTheRefineQuestion)
{
    clsTerrain t;
    t.Init(129);
    t.Fill(500);
    t.SetPoint(3, 3, 600);
    ASSERT_TRUE(t.SaveT(path("a.ter")));

    scriptedUi().expectMsgBox(rt::vbNo);
    ASSERT_TRUE(mTerLoad::LoadTerFile(path("a.ter")));
    ASSERT_EQ(scriptedUi().messages.size(), size_t(1));
    EXPECT_EQ(scriptedUi().messages[0].text, kRefineText);
    EXPECT_EQ(scriptedUi().messages[0].style, 36);
    EXPECT_EQ(scriptedUi().messages[0].title, QStringLiteral("load terrain ...."));
    EXPECT_EQ(current.GetPoint(3, 3), 600);

    scriptedUi().expectMsgBox(rt::vbYes);
    ASSERT_TRUE(mTerLoad::LoadTerFile(path("a.ter")));
    // r = 100 round 550: 600 and 500 go to +-32443 and keep their 5.2747
    // and 5.2289 TU (5 + 30 x h / 65536).
    EXPECT_EQ(current.GetPoint(3, 3), 32443);
    EXPECT_EQ(current.GetPoint(0, 0), -32443);
    EXPECT_NEAR(current.GetPointTU(3, 3), 5.274658203125, 1e-6);
    EXPECT_NEAR(current.GetPointTU(0, 0), 5.228881835937, 1e-6);
    EXPECT_TRUE(scriptedUi().statusTexts.contains(QStringLiteral("Scale Terrain...")));
}

TEST_F(TerFiles, FlatTerrainStaysFlatWhenRefined)
{
    clsTerrain t;
    t.Init(129);
    t.Fill(77);
    ASSERT_TRUE(t.SaveT(path("a.ter")));
    scriptedUi().expectMsgBox(rt::vbYes);
    ASSERT_TRUE(mTerLoad::LoadTerFile(path("a.ter")));
    EXPECT_EQ(current.GetPoint(64, 64), 77);
    EXPECT_EQ(current.Range(), 0);
}

TEST_F(TerFiles, LargestSizeLoads)
{
    QByteArray d = savedPattern(path("a.ter")).left(80);
    putI16(d, 20, 2049);
    putI16(d, 28, 2050);
    putI16(d, 36, 2050);
    d.append(QByteArray(2 * 2050 * 2050, '\0'));
    d.append("EOF", 4);
    writeFile(path("big.ter"), d);
    scriptedUi().expectMsgBox(rt::vbNo);  // flat: the refine question
    ASSERT_TRUE(mTerLoad::LoadTerFile(path("big.ter")));
    EXPECT_EQ(current.Size(), 2049);
    EXPECT_EQ(current.allocatedSide(), 2052);
}

TEST_F(TerFiles, TooBigTerrainIsRefusedWithItsMessage)
{
    QByteArray d = savedPattern(path("a.ter"));
    putI16(d, 20, 2050);
    writeFile(path("big.ter"), d);
    expectRefused(path("big.ter"), QStringLiteral("Terrain to big"));
    EXPECT_EQ(scriptedUi().messages[0].text, QStringLiteral("Terrain to big"));
    EXPECT_EQ(scriptedUi().messages[0].style, 0);
}

TEST_F(TerFiles, WrongMagicIsRefusedWithoutTheRefineQuestion)
{
    QByteArray d = savedPattern(path("a.ter"));
    d[0] = 'X';
    writeFile(path("bad.ter"), d);
    expectRefused(path("bad.ter"), QStringLiteral("not a Terragen terrain file"));
}

TEST_F(TerFiles, MissingFileIsRefused)
{
    expectRefused(path("none.ter"), QStringLiteral("could not be read"));
}

TEST_F(TerFiles, ShortFileIsReadAsFarAsItGoesAndRefused)
{
    const QByteArray d = savedPattern(path("a.ter"));
    writeFile(path("short.ter"), d.left(60));  // magic, size, points, no heights
    expectRefused(path("short.ter"), QStringLiteral("cut short"));
}

TEST_F(TerFiles, MagicOnlyFileIsRefused)
{
    writeFile(path("tiny.ter"), QByteArray("TERRAGENTERRAIN "));
    expectRefused(path("tiny.ter"), QStringLiteral("no size"));
}

TEST_F(TerFiles, HeightsCutShortAreRefused)
{
    const QByteArray d = savedPattern(path("a.ter"));
    writeFile(path("cut.ter"), d.left(80 + 2 * 257 * 257 - 2));
    expectRefused(path("cut.ter"), QStringLiteral("cut short"));
}

TEST_F(TerFiles, FileEndingAtItsLastHeightWithoutEofLoads)
{
    const QByteArray d = savedPattern(path("a.ter"));
    writeFile(path("noeof.ter"), d.left(80 + 2 * 257 * 257));
    ASSERT_TRUE(mTerLoad::LoadTerFile(path("noeof.ter")));
    clsTerrain expected;
    fillPattern(expected);
    EXPECT_EQ(current.GetPoint(0, 256), expected.GetPoint(0, 256));
    EXPECT_EQ(current.GetPoint(256, 0), expected.GetPoint(256, 0));  // the file's last height
}

TEST_F(TerFiles, SizesThatDisagreeAreRefused)
{
    QByteArray d = savedPattern(path("a.ter"));
    putI16(d, 28, 258);  // XPTS
    putI16(d, 36, 258);  // YPTS
    writeFile(path("x.ter"), d);
    expectRefused(path("x.ter"), QStringLiteral("inconsistent"));
}

TEST_F(TerFiles, TerrainThatIsNotSquareIsRefusedAsSuch)
{
    QByteArray d = savedPattern(path("a.ter"));
    putI16(d, 36, 200);  // YPTS
    writeFile(path("y.ter"), d);
    expectRefused(path("y.ter"), QStringLiteral("is not square: it has 257 x 200 points"));
}

TEST_F(TerFiles, HeaderThatMakesNoSenseIsRefused)
{
    const QByteArray good = savedPattern(path("a.ter"));
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    // ScaleZ at offset 52, CRAD at 60.
    const std::pair<qsizetype, float> bad[] = {{52, 0.0f}, {52, -30.0f}, {52, inf}, {52, nan}, {60, inf}, {60, nan}};
    for (const auto& [offset, value] : bad) {
        QByteArray d = good;
        qToLittleEndian<float>(value, d.data() + offset);
        writeFile(path("h.ter"), d);
        expectRefused(path("h.ter"), offset == 52 ? QStringLiteral("invalid point spacing (SCAL)")
                                                  : QStringLiteral("invalid planet radius (CRAD)"));
        scriptedUi().messages.clear();
    }
}

// A sparse file of 100 GB costs no disk; reading it whole would end the program.
TEST_F(TerFiles, HugeFilesAreRefusedBeforeTheyAreRead)
{
    const qint64 huge = 100LL << 30;
    writeFile(path("zeros.ter"), QByteArray());
    ASSERT_TRUE(QFile::resize(path("zeros.ter"), huge));
    expectRefused(path("zeros.ter"), QStringLiteral("not a Terragen terrain file"));
    scriptedUi().messages.clear();

    writeFile(path("long.ter"), savedPattern(path("a.ter")).left(100));
    ASSERT_TRUE(QFile::resize(path("long.ter"), huge));
    expectRefused(path("long.ter"), QStringLiteral("far longer than its 257 x 257 points need"));

    clsTerrain t;
    t.Init(129);
    ASSERT_TRUE(t.SaveBackup(path("Backup.kvt")));
    ASSERT_TRUE(QFile::resize(path("Backup.kvt"), huge));
    QString error;
    EXPECT_FALSE(t.LoadBackup(path("Backup.kvt"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("wrong length"))) << error.toStdString();
}

// The message gives SIZE as the file has it, not a point count made from it.
TEST_F(TerFiles, SizeBelowTwoPointsIsRefused)
{
    QByteArray d = savedPattern(path("a.ter"));
    putI16(d, 20, 0);
    writeFile(path("z.ter"), d);
    expectRefused(path("z.ter"), QStringLiteral("has an invalid size: SIZE is 0, it must be 1 or more."));
    scriptedUi().messages.clear();
    putI16(d, 20, -5);
    writeFile(path("z.ter"), d);
    expectRefused(path("z.ter"), QStringLiteral("has an invalid size: SIZE is -5, it must be 1 or more."));
}

TEST_F(TerFiles, MissingMarkersGiveTheDefaults)
{
    QByteArray d = savedPattern(path("a.ter"));
    d.replace(40, 4, "scal");
    d.replace(56, 4, "crad");
    d.replace(72, 4, "altw");
    writeFile(path("m.ter"), d);
    ASSERT_TRUE(mTerLoad::LoadTerFile(path("m.ter")));
    EXPECT_FLOAT_EQ(current.ScaleT(), 30.0f);
    EXPECT_FLOAT_EQ(current.CRAD(), 6370.0f);
    EXPECT_EQ(current.BaseHeight(), 5);
    EXPECT_EQ(current.HeightScale(), 30);
    clsTerrain expected;
    fillPattern(expected);
    EXPECT_EQ(current.GetPoint(17, 33), expected.GetPoint(17, 33));
}

TEST_F(TerFiles, CurvatureModeCarriesOverToFilesWithoutIt)
{
    QByteArray d = savedPattern(path("a.ter"));  // CRVM 1
    ASSERT_TRUE(mTerLoad::LoadTerFile(path("a.ter")));
    d.replace(64, 4, "crvm");
    writeFile(path("n.ter"), d);
    current.setCRVM(0);
    ASSERT_TRUE(mTerLoad::LoadTerFile(path("n.ter")));
    EXPECT_EQ(current.CRVM(), 1);
}

TEST_F(TerFiles, BackupRoundTripKeepsSpareRows)
{
    clsTerrain t;
    t.Init(129);
    fillPattern(t);
    t.SetPoint(130, 130, 99999);  // spare, beyond 16 bits
    t.setHeightScale(55);
    ASSERT_TRUE(t.SaveBackup(path("Backup.kvt")));
    EXPECT_EQ(readFile(path("Backup.kvt")).size(), 80 + 4 * 131 * 131);

    clsTerrain u;
    ASSERT_TRUE(u.LoadBackup(path("Backup.kvt")));
    EXPECT_EQ(u.Size(), 128);
    EXPECT_EQ(u.HeightScale(), 55);
    for (int y = 0; y <= 130; ++y)
        for (int x = 0; x <= 130; ++x) ASSERT_EQ(u.row(y)[x], t.row(y)[x]);
    EXPECT_EQ(u.min(), 400000);  // the caller rescans
    EXPECT_EQ(u.Range(), t.Range());
}

TEST_F(TerFiles, BadBackupsAreRefusedAndLeaveTheTerrain)
{
    clsTerrain t;
    t.Init(129);
    ASSERT_TRUE(t.SaveBackup(path("Backup.kvt")));
    const QByteArray good = readFile(path("Backup.kvt"));

    QByteArray wrongSize = good;
    putI16(wrongSize, 20, 2050);
    writeFile(path("size.kvt"), wrongSize);
    QByteArray zeroSize = good;
    putI16(zeroSize, 20, 0);
    writeFile(path("zero.kvt"), zeroSize);
    writeFile(path("cut.kvt"), good.left(good.size() - 4));
    writeFile(path("long.kvt"), good + QByteArray(4, '\0'));
    writeFile(path("head.kvt"), good.left(40));
    // Twenty bytes after the heights that would be sound units, but without their tag.
    const double units[2] = {30.0, 5.0};
    writeFile(path("tag.kvt"), good + "ALTx" + QByteArray(reinterpret_cast<const char*>(units), 16));

    for (const char* name : {"none.kvt", "size.kvt", "zero.kvt", "cut.kvt", "long.kvt", "head.kvt", "tag.kvt"}) {
        clsTerrain u;
        u.SetPoint(7, 7, 777);
        QString error;
        EXPECT_FALSE(u.LoadBackup(path(name), &error)) << name;
        EXPECT_FALSE(error.isEmpty()) << name;
        EXPECT_EQ(u.Size(), 256) << name;
        EXPECT_EQ(u.GetPoint(7, 7), 777) << name;
    }
}

TEST_F(TerFiles, LoadReadsTheFileRowsBottomUp)
{
    QByteArray d = savedPattern(path("a.ter"));
    putI16(d, 80, 12345);                       // the file's first row is row Size
    putI16(d, 80 + 2 * 2, -31000);
    putI16(d, 80 + 2 * 257 * 256, 31000);       // its last row is row 0
    writeFile(path("b.ter"), d);
    ASSERT_TRUE(mTerLoad::LoadTerFile(path("b.ter")));
    EXPECT_EQ(current.GetPoint(0, 256), 12345);
    EXPECT_EQ(current.GetPoint(2, 256), -31000);
    EXPECT_EQ(current.GetPoint(0, 0), 31000);
    EXPECT_EQ(current.min(), -31000);
    EXPECT_EQ(current.max(), 31000);
}
