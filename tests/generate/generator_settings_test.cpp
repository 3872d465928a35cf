#include "generate/GeneratorSettings.h"
#include "runtime/Ini.h"
#include "tests/support/NotAFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace GeneratorSettings;

namespace {

class SettingsFile : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const char* name = "gen.par") const { return dir.filePath(QLatin1String(name)); }
    void writeText(const QByteArray& text, const char* name = "gen.par") const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QByteArray readText(const char* name = "gen.par") const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
};

TEST_F(SettingsFile, DefaultsAreWrittenWithTheirKeysAndLeadingBlanks)
{
    ASSERT_TRUE(WriteSettings(path(), PanelValues{}));
    const QByteArray text = readText();
    EXPECT_TRUE(text.startsWith("[Generator]"));
    for (const char* line : {"Perlin=-1", "Iteration= 1", "Height= 100", "Structure= 2", "RNDSeed=0", "modify= 1",
                             "highres= 0", "rougness= 0"})
        EXPECT_TRUE(text.contains(line)) << line;
}

TEST_F(SettingsFile, RoundTripGivesBackEveryValue)
{
    PanelValues v;
    v.perlin = 2;
    v.iteration = 11;
    v.height = 37;
    v.structure = 0;
    v.seed = QStringLiteral("000042");
    v.modify = 6;
    v.highRes = 1;
    v.roughness = 10;
    ASSERT_TRUE(WriteSettings(path(), v));
    const LoadedValues r = ReadSettings(path(), 3);
    EXPECT_TRUE(r.anyKey);
    EXPECT_TRUE(r.refused.isEmpty()) << r.refused.join(",").toStdString();
    EXPECT_EQ(r.perlin, 2);
    EXPECT_EQ(r.iteration, 11);
    EXPECT_EQ(r.height, 37);
    EXPECT_EQ(r.structure, 0);
    EXPECT_EQ(r.seed, QStringLiteral("000042"));
    EXPECT_EQ(r.modify, 6);
    EXPECT_EQ(r.highRes, 1);
    EXPECT_EQ(r.roughness, 10);
}

TEST_F(SettingsFile, SavingKeepsOtherSectionsOfTheFile)
{
    writeText("[Erosion]\r\nDrops=500\r\n");
    ASSERT_TRUE(WriteSettings(path(), PanelValues{}));
    EXPECT_EQ(rt::GetPrivateProfileString("Erosion", "Drops", "", path()), QStringLiteral("500"));
    EXPECT_EQ(ReadSettings(path(), 1).iteration, 1);
}

TEST_F(SettingsFile, WriteIntoAMissingFolderFailsWithTheSystemsReasonAndWritesNothing)
{
    QString error;
    EXPECT_FALSE(WriteSettings(dir.filePath("no/such/folder/gen.par"), PanelValues{}, &error));
    EXPECT_FALSE(QFile::exists(dir.filePath("no/such/folder/gen.par")));
    EXPECT_TRUE(error.contains(QStringLiteral("No such file or directory"))) << error.toStdString();
}

TEST_F(SettingsFile, KeysWrittenByHandInAnotherCaseAreRead)
{
    writeText("[GENERATOR]\nPERLIN=1\nITERATION=5\nheight=  20\nstructure=3\nrndseed=999\nMODIFY=2\nhighres=1\n"
              "ROUGNESS=4\n");
    const LoadedValues r = ReadSettings(path(), 2);
    EXPECT_TRUE(r.refused.isEmpty());
    EXPECT_EQ(r.perlin, 1);
    EXPECT_EQ(r.iteration, 5);
    EXPECT_EQ(r.height, 20);
    EXPECT_EQ(r.structure, 3);
    EXPECT_EQ(r.seed, QStringLiteral("999"));
    EXPECT_EQ(r.modify, 2);
    EXPECT_EQ(r.highRes, 1);
    EXPECT_EQ(r.roughness, 4);
}

TEST_F(SettingsFile, NonsenseValuesAreRefusedOneByOne)
{
    writeText("[Generator]\nPerlin=7\nIteration=abc\nHeight=500\nStructure=-1\nRNDSeed=12ab\nmodify=9\n"
              "highres=2\nrougness=1e400\n");
    const LoadedValues r = ReadSettings(path(), 3);
    EXPECT_TRUE(r.anyKey);
    EXPECT_FALSE(r.perlin || r.iteration || r.height || r.structure || r.seed || r.modify || r.highRes ||
                 r.roughness);
    EXPECT_EQ(r.refused.size(), 8);
    EXPECT_TRUE(refusedMessage(r).contains(QStringLiteral("iteration")));
}

TEST_F(SettingsFile, AnEmptySeedAsAnEmptiedBoxSavesItIsLoaded)
{
    writeText("[Generator]\nRNDSeed=\n");
    const LoadedValues r = ReadSettings(path(), 3);
    EXPECT_EQ(r.seed, QString());
    EXPECT_TRUE(r.refused.isEmpty());
}

TEST_F(SettingsFile, MissingKeysLeaveTheirControls)
{
    writeText("[Generator]\nHeight= 55\n");
    const LoadedValues r = ReadSettings(path(), 3);
    EXPECT_TRUE(r.anyKey);
    EXPECT_EQ(r.height, 55);
    EXPECT_FALSE(r.perlin || r.iteration || r.structure || r.seed || r.modify || r.highRes || r.roughness);
    EXPECT_TRUE(r.refused.isEmpty());
    EXPECT_TRUE(refusedMessage(r).isEmpty());
}

TEST_F(SettingsFile, FileWithoutTheSectionHoldsNoSettings)
{
    writeText("[Erosion]\nIteration=5\n");
    EXPECT_FALSE(ReadSettings(path(), 3).anyKey);
    EXPECT_EQ(nothingLoadedMessage(path(), ReadSettings(path(), 3)), path() + " holds no generator settings.");
    writeText("[Generator]\nIteration=5\n");
    EXPECT_EQ(nothingLoadedMessage(path(), ReadSettings(path(), 3)), QString());
}

// A file that cannot be read is not called one without settings: the
// message says why it was not read.
TEST_F(SettingsFile, UnreadableFileSaysWhy)
{
    const NotAFilePaths paths(dir.path());
    ASSERT_TRUE(paths.made());
    std::vector<NotAFilePaths::Case> cases = paths.cases();
    cases.push_back({paths.hugeFile(), QStringLiteral("too large")});
    cases.push_back({path("missing.par"), path("missing.par") + " does not exist."});
    for (const auto& [file, reason] : cases) {
        const LoadedValues r = ReadSettings(file, 3);
        EXPECT_FALSE(r.anyKey);
        const QString message = nothingLoadedMessage(file, r);
        EXPECT_TRUE(message.startsWith("The generator settings cannot be read:\n")) << message.toStdString();
        EXPECT_TRUE(message.contains(reason)) << message.toStdString();
    }
    EXPECT_EQ(paths.pipeOpened(), 0);
}

TEST_F(SettingsFile, NoSetSelectedIsKeptAsMinusOneAndFractionsRound)
{
    writeText("[Generator]\nPerlin=-1\nIteration= 2.5\nStructure= 3.5\n");
    const LoadedValues r = ReadSettings(path(), 0);
    EXPECT_EQ(r.perlin, -1);
    EXPECT_EQ(r.iteration, 2);  // halves to even
    EXPECT_EQ(r.structure, 4);
}

} // namespace
