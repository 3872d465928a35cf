// The elevator: reading and writing sets, the list of names, and the shift
// through the curve on small terrains worked out by hand.

#include "generate/Elevator.h"
#include "runtime/Ui.h"
#include "terrain/clsTerrain.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/NotAFile.h"
#include "tests/support/ScriptedUi.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

constexpr int32_t N = 256;

QByteArray record(const QByteArray& name, char curveByte)
{
    return name.leftJustified(20, ' ') + QByteArray(257, curveByte);
}

// The set the installed data brings: row k in column N - k, column 0 at row 255.
QByteArray linearRecord()
{
    QByteArray rec = QByteArray("Linear").leftJustified(20, ' ');
    for (int k = 0; k <= 256; ++k) rec.append(char(uint8_t(k < 256 ? k : 255)));
    return rec;
}

class ElevatorTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ElevatorGridSize = N;
        ElevatorFile = dir.filePath("Elevator.set");
        resetElevatorGrid();
    }
    void TearDown() override
    {
        ElevatorFile.clear();
        resetElevatorGrid();
    }
    void writeSetFile(const QByteArray& bytes)
    {
        QFile f(ElevatorFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray setFile() const
    {
        QFile f(ElevatorFile);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static bool onlyDiagonal()
    {
        for (int c = 0; c <= N; ++c)
            for (int r = 0; r <= N; ++r)
                if (elevatorCell(c, r) != (c == N - r ? 1 : 0)) return false;
        return true;
    }
    // Every column drawn at one row, as the mouse leaves it.
    static void drawFlat(int32_t row)
    {
        for (int c = 0; c <= N; ++c) {
            for (int r = 0; r <= N; ++r) elevatorCell(c, r) = 0;
            elevatorCell(c, row) = 1;
        }
    }
    QTemporaryDir dir;
};

// --- reading ---------------------------------------------------------------------

TEST_F(ElevatorTest, MissingFileKeepsTheStraightCurveAndSaysSo)
{
    QString error;
    EXPECT_EQ(ReadElevatorRecord(0, &error), QStringLiteral("nothing"));
    EXPECT_TRUE(onlyDiagonal());
    EXPECT_TRUE(error.contains(QStringLiteral("not found")));
}

// A folder, device or pipe used to read as a missing file, and a 100 GB file
// as one listing no sets, without a word. A save is refused before it could
// replace any of them.
TEST_F(ElevatorTest, WhatIsNoSetFileIsNamedByListLoadAndSave)
{
    const NotAFilePaths paths(dir.path());
    ASSERT_TRUE(paths.made());
    std::vector<NotAFilePaths::Case> cases = paths.cases();
    cases.push_back({paths.hugeFile(), QStringLiteral("too large")});
    for (const auto& [file, reason] : cases) {
        ElevatorFile = file;
        QString listError, loadError;
        EXPECT_TRUE(ElevatorSetNames(&listError).isEmpty());
        EXPECT_TRUE(listError.contains(reason)) << listError.toStdString();
        EXPECT_EQ(ReadElevatorRecord(0, &loadError), QStringLiteral("nothing"));
        EXPECT_TRUE(loadError.contains(reason)) << loadError.toStdString();
        EXPECT_TRUE(onlyDiagonal());
        QString saveError;
        EXPECT_FALSE(WriteElevatorRecord(QStringLiteral("One"), 0, &saveError));
        EXPECT_TRUE(saveError.contains(reason)) << saveError.toStdString();
    }
    EXPECT_FALSE(QFileInfo(paths.cases()[2].path).isFile());
    EXPECT_EQ(paths.pipeOpened(), 0);
}

TEST_F(ElevatorTest, ShortFileIsRefusedAndKeepsTheStraightCurve)
{
    writeSetFile(QByteArray(100, 'A'));
    QString error;
    EXPECT_EQ(ReadElevatorRecord(0, &error), QStringLiteral("nothing"));
    EXPECT_TRUE(onlyDiagonal());
    EXPECT_TRUE(error.contains(QStringLiteral("incomplete")));
}

TEST_F(ElevatorTest, WholeRecordMarksJustItsCurve)
{
    writeSetFile(record("Flat", char(200)));
    EXPECT_EQ(ReadElevatorRecord(0), QStringLiteral("Flat                "));
    EXPECT_EQ(elevatorCell(0, 200), 1);
    EXPECT_EQ(elevatorCell(256, 200), 1);
    EXPECT_EQ(elevatorCell(10, 246), 0);  // no diagonal beside it
    EXPECT_EQ(elevatorCell(10, 100), 0);
}

TEST_F(ElevatorTest, SetAtTheEndIsEmptyAndBeyondItNothing)
{
    writeSetFile(record("Flat", char(200)));
    EXPECT_EQ(ReadElevatorRecord(1), QString());
    EXPECT_TRUE(onlyDiagonal());
    EXPECT_EQ(ReadElevatorRecord(2), QStringLiteral("nothing"));
    EXPECT_EQ(ReadElevatorRecord(-1), QStringLiteral("nothing"));
}

TEST_F(ElevatorTest, NameEndsAtTheFirstNul)
{
    QByteArray rec = record("Ab", char(10));
    rec[2] = '\0';
    writeSetFile(rec);
    EXPECT_EQ(ReadElevatorRecord(0), QStringLiteral("Ab"));
}

// --- the list of sets ------------------------------------------------------------

TEST_F(ElevatorTest, ListHoldsEveryWholeSetUpToAnEmptyName)
{
    writeSetFile(record("One", 1) + record("Two", 2) + QByteArray(277, '\0') + record("Hidden", 3));
    EXPECT_EQ(ElevatorSetNames(), (QStringList{QStringLiteral("One").leftJustified(20), QStringLiteral("Two").leftJustified(20)}));
}

TEST_F(ElevatorTest, ListLeavesOutAnIncompleteLastSetAndSaysSo)
{
    writeSetFile(record("One", 1) + QByteArray(50, 'x'));
    QString error;
    EXPECT_EQ(ElevatorSetNames(&error).size(), 1);
    EXPECT_TRUE(error.contains(QStringLiteral("incomplete")));
}

TEST_F(ElevatorTest, ListOfAMissingFileIsEmpty)
{
    QString error;
    EXPECT_TRUE(ElevatorSetNames(&error).isEmpty());
    EXPECT_TRUE(error.isEmpty());
}

// --- writing ---------------------------------------------------------------------

TEST_F(ElevatorTest, CurveFileRoundTrip)
{
    drawFlat(200);
    ASSERT_TRUE(WriteElevatorRecord(QStringLiteral("Flat"), 0));
    drawFlat(7);
    ASSERT_TRUE(WriteElevatorRecord(QStringLiteral("Steep"), 1));
    const QByteArray bytes = setFile();
    ASSERT_EQ(bytes.size(), 2 * 277);
    EXPECT_EQ(bytes.left(20), QByteArray("Flat                "));
    EXPECT_EQ(bytes.mid(20, 257), QByteArray(257, char(200)));
    EXPECT_EQ(bytes.mid(277 + 20, 257), QByteArray(257, char(7)));

    EXPECT_EQ(ElevatorSetNames().size(), 2);
    EXPECT_EQ(ReadElevatorRecord(0), QStringLiteral("Flat").leftJustified(20));
    for (int c = 0; c <= N; ++c) EXPECT_EQ(elevatorCell(c, 200), 1) << c;
}

TEST_F(ElevatorTest, SavingALoadedSetKeepsWhatItDoes)
{
    writeSetFile(record("Flat", char(200)));
    ReadElevatorRecord(0);
    std::vector<std::optional<int32_t>> before;
    for (int32_t h = -32768; h <= 32767; h += 97) before.push_back(elevatedHeight(h));
    ASSERT_TRUE(WriteElevatorRecord(QStringLiteral("Flat"), 0));
    ReadElevatorRecord(0);
    size_t i = 0;
    for (int32_t h = -32768; h <= 32767; h += 97) EXPECT_EQ(elevatedHeight(h), before[i++]) << h;
}

TEST_F(ElevatorTest, CurveBelowTheDiagonalReloadsAsDrawnAndSavesAgainTheSame)
{
    // 40 rows below the diagonal, held to row 255, the lowest a byte stores.
    for (int32_t c = 0; c <= N; ++c) drawElevatorPoint(c, std::min(N - c + 40, 255));
    const std::vector<uint8_t> drawn = ElevatorGrid;
    ASSERT_TRUE(WriteElevatorRecord(QStringLiteral("Low"), 0));
    const QByteArray first = setFile();
    resetElevatorGrid();
    ReadElevatorRecord(0);
    EXPECT_TRUE(ElevatorGrid == drawn);  // so every height shifts as drawn
    ASSERT_TRUE(WriteElevatorRecord(QStringLiteral("Low"), 0));
    EXPECT_EQ(setFile(), first);
}

TEST_F(ElevatorTest, ColumnWithSeveralMarksStoresTheOneTheShiftUses)
{
    drawFlat(150);
    elevatorCell(100, 120) = 1;
    ASSERT_TRUE(WriteElevatorRecord(QStringLiteral("Two"), 0));
    EXPECT_EQ(uint8_t(setFile().at(20 + N - 100)), 120);
    EXPECT_EQ(uint8_t(setFile().at(20 + N - 101)), 150);
}

TEST_F(ElevatorTest, ColumnMarkedOnlyAtTheBottomStoresTheNearestRowNotAnEarlierSet)
{
    writeSetFile(record("Old", char(9)));
    ASSERT_EQ(ReadElevatorRecord(0), QStringLiteral("Old").leftJustified(20));
    resetElevatorGrid();  // column 0 holds only row N, which a byte cannot hold
    ASSERT_TRUE(WriteElevatorRecord(QStringLiteral("Straight"), 1));
    EXPECT_EQ(uint8_t(setFile().at(277 + 20 + N)), 255);
    EXPECT_EQ(uint8_t(setFile().at(277 + 20 + 10)), 10);
}

TEST_F(ElevatorTest, LongNameIsCutTo20Characters)
{
    ASSERT_TRUE(WriteElevatorRecord(QStringLiteral("A name of more than twenty"), 0));
    EXPECT_EQ(ElevatorSetNames(), QStringList{QStringLiteral("A name of more than ")});
}

TEST_F(ElevatorTest, EmptyNameWritesNothing)
{
    EXPECT_TRUE(WriteElevatorRecord(QString(), 0));
    EXPECT_FALSE(QFile::exists(ElevatorFile));
}

TEST_F(ElevatorTest, SetPastTheEndIsRefusedAndTheFileKept)
{
    writeSetFile(record("One", 1));
    QString error;
    EXPECT_FALSE(WriteElevatorRecord(QStringLiteral("Far"), 3, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(setFile(), record("One", 1));
}

TEST_F(ElevatorTest, NewSetReplacesAnIncompleteLastSet)
{
    writeSetFile(record("One", 1) + QByteArray(50, 'x'));
    ASSERT_TRUE(WriteElevatorRecord(QStringLiteral("Two"), 1));
    EXPECT_EQ(setFile().size(), 2 * 277);
    EXPECT_EQ(ElevatorSetNames().size(), 2);
}

TEST_F(ElevatorTest, AFailedSaveSaysTheSystemsReasonAndKeepsTheFile)
{
    writeSetFile(record("One", 1));
    QString error;
    {
        FileSizeLimit limit(300);
        if (!limit.active()) GTEST_SKIP() << "cannot limit the file size";
        EXPECT_FALSE(WriteElevatorRecord(QStringLiteral("Two"), 1, &error));
    }
    EXPECT_TRUE(error.contains(fileTooLarge())) << error.toStdString();
    EXPECT_EQ(setFile(), record("One", 1));
}

TEST_F(ElevatorTest, WhereTheFolderCannotBeWrittenSetsGoToTheUsersCopyWhichIsReadFirst)
{
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.filePath("config").toLocal8Bit());
    // A folder that is a plain file stops every user, root too.
    writeSetFile("not a folder");
    ElevatorFile = dir.filePath("Elevator.set/Elevator.set");

    QString error;
    EXPECT_TRUE(WriteElevatorRecord(QStringLiteral("Alps"), 0, &error)) << error.toStdString();
    drawFlat(10);
    EXPECT_TRUE(WriteElevatorRecord(QStringLiteral("Hills"), 1, &error)) << error.toStdString();
    const QString copy = dir.filePath("config/Kelvarinor/Elevator.set");
    EXPECT_EQ(QFileInfo(copy).size(), 2 * 277);
    EXPECT_EQ(ElevatorSetNames(), (QStringList{QStringLiteral("Alps").leftJustified(20),
                                               QStringLiteral("Hills").leftJustified(20)}));
    EXPECT_EQ(ReadElevatorRecord(1), QStringLiteral("Hills").leftJustified(20));
    EXPECT_EQ(elevatorCell(N, 10), 1);

    if (oldConfig.isNull()) qunsetenv("XDG_CONFIG_HOME");
    else qputenv("XDG_CONFIG_HOME", oldConfig);
}

// --- the shift -------------------------------------------------------------------

class ElevatorShiftTest : public ElevatorTest {
protected:
    // 3 x 3 points whose heights cover the whole raw range.
    void SetUp() override
    {
        ElevatorTest::SetUp();
        ter.Init(3);
        const int32_t h[9] = {-32768, -32513, -32257, -1, 0, 255, 256, 32511, 32767};
        for (int i = 0; i < 9; ++i) ter.SetPoint(i % 3, i / 3, h[i]);
    }
    void shift(int32_t zMin = -32768, int32_t zMax = 32768)
    {
        float strength = 5;
        ElevatorShift(ter, strength, std::nullopt, 0, 0, zMin, zMax);
    }
    clsTerrain ter;
};

TEST_F(ElevatorShiftTest, StraightCurveLeavesEveryHeightUnchanged)
{
    HeightArray before, after;
    ter.GetTerrain(before);
    elevatorCell(0, 0) = 1;
    shift(-40000, 40000);
    ter.GetTerrain(after);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(after(x, y), before(x, y)) << x << "," << y;
    EXPECT_EQ(scriptedUi().statusTexts.back(), QStringLiteral("Elevator shift..."));
    EXPECT_FALSE(rt::BusyFlag);
}

TEST_F(ElevatorShiftTest, InstalledLinearSetLeavesHeightsAboveItsFirstColumnUnchanged)
{
    writeSetFile(linearRecord());
    ReadElevatorRecord(0);
    EXPECT_EQ(elevatedHeight(-32256), -32256);
    EXPECT_EQ(elevatedHeight(0), 0);
    EXPECT_EQ(elevatedHeight(32767), 32767);
    // Column 0 cannot store its bottom row; it keeps the nearest, one column up.
    EXPECT_EQ(elevatedHeight(-32768), -32768 + 512);
}

TEST_F(ElevatorShiftTest, DrawnColumnMovesItsHeightsAndKeepsTheRemainder)
{
    // Column 64 (raw 0..511 above the middle) drawn at row 100: output column 156.
    elevatorCell(64, 100) = 1;
    EXPECT_EQ(elevatedHeight(0), 512 * 156 - 32768);
    EXPECT_EQ(elevatedHeight(255), 512 * 156 - 32768 + 255);
    EXPECT_EQ(elevatedHeight(-1), -1);  // column 63 keeps the diagonal
}

TEST_F(ElevatorShiftTest, DrawingBeyondColumn128HasNoEffect)
{
    for (int r = 0; r <= N; ++r) elevatorCell(200, r) = 1;
    for (int32_t h : {-32768, -1, 0, 32767}) EXPECT_EQ(elevatedHeight(h), h);
}

TEST_F(ElevatorShiftTest, OnlyHeightsInsideTheBandMove)
{
    for (int c = 1; c < N; ++c) elevatorCell(c, N - c - 1) = 1;  // every column one up
    elevatorCell(0, 0) = 1;
    shift(-1, 256);
    EXPECT_EQ(ter.GetPoint(0, 1), -1);    // on the lower bound
    EXPECT_EQ(ter.GetPoint(1, 1), 512);   // 0 -> 512
    EXPECT_EQ(ter.GetPoint(2, 1), 767);   // 255 -> 767
    EXPECT_EQ(ter.GetPoint(0, 2), 256);   // on the upper bound
    EXPECT_EQ(ter.GetPoint(0, 0), -32768);
}

TEST_F(ElevatorShiftTest, RunsOnlyAfterOkAndOnlyOnce)
{
    for (int c = 1; c < N; ++c) elevatorCell(c, N - c - 1) = 1;
    shift();
    EXPECT_EQ(ter.GetPoint(1, 1), 0);  // not accepted
    elevatorCell(0, 0) = 1;
    shift();
    EXPECT_EQ(ter.GetPoint(1, 1), 512);
    EXPECT_EQ(elevatorCell(0, 0), 0);
    shift();
    EXPECT_EQ(ter.GetPoint(1, 1), 512);  // the acceptance was used up
}

TEST_F(ElevatorShiftTest, WindowFarOffTheGridChangesNothing)
{
    HeightArray before, after;
    ter.GetTerrain(before);
    for (int c = 1; c < N; ++c) elevatorCell(c, N - c - 1) = 1;
    elevatorCell(0, 0) = 1;
    float strength = 0;
    ElevatorShift(ter, strength, 1000, 5000, -9000, -32768, 32768);
    ter.GetTerrain(after);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(after(x, y), before(x, y));
}

} // namespace
