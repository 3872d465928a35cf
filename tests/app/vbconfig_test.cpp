// Settings file access, perlin-set definitions and where written files go.

#include "app/vbConfig.h"
#include "runtime/Files.h"
#include "runtime/Ui.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using vbConfig::PerlinSetTable;

namespace {

void writeText(const QString& path, const QByteArray& text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(text);
}

QByteArray setDefinition(const QByteArray& name, const QByteArray& prefix)
{
    QByteArray t = "[SET]\nNAME=" + name + "\n[PERLIN]\n";
    for (int k = 1; k <= 5; ++k) t += "0" + QByteArray::number(k) + "=" + prefix + QByteArray::number(k) + ".png\n";
    return t;
}

QStringList names()
{
    QStringList out;
    for (const auto& set : PerlinSetTable) out << set.name;
    return out;
}

class SettingsFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        m_saved = vbConfig::SettingsFile;
        vbConfig::SettingsFile = tmp.filePath(QStringLiteral("Kelvarinor.ini"));
    }
    void TearDown() override { vbConfig::SettingsFile = m_saved; }
    QTemporaryDir tmp;

private:
    QString m_saved;
};

class PerlinSetTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        ASSERT_TRUE(QDir(tmp.path()).mkdir(QStringLiteral("PS")));
        ps = tmp.filePath(QStringLiteral("PS"));
        PerlinSetTable.clear();
    }
    void TearDown() override { PerlinSetTable.clear(); }
    void add(const QString& file, const QByteArray& text) { writeText(QDir(ps).filePath(file), text); }
    QTemporaryDir tmp;
    QString ps;
};

} // namespace

// --- settings -------------------------------------------------------------------

TEST(StripNull, CutsAtTheFirstZeroAndTrimsBlanks)
{
    EXPECT_EQ(vbConfig::StripNull(QStringLiteral("  value  ")), QStringLiteral("value"));
    EXPECT_EQ(vbConfig::StripNull(QString::fromUtf16(u"ab \0cd", 6)), QStringLiteral("ab"));
    EXPECT_EQ(vbConfig::StripNull(QString(QChar(u'\0'))), QString());
    EXPECT_EQ(vbConfig::StripNull(QStringLiteral("a b")), QStringLiteral("a b"));
    EXPECT_EQ(vbConfig::StripNull(QString()), QString());
}

TEST_F(SettingsFileTest, MissingFileSectionOrKeyReadsEmpty)
{
    EXPECT_EQ(vbConfig::ReadIni(QStringLiteral("Start"), QStringLiteral("OptTer")), QString());
    writeText(vbConfig::SettingsFile, "[Start]\nCOLOR=3\n");
    EXPECT_EQ(vbConfig::ReadIni(QStringLiteral("Start"), QStringLiteral("OptTer")), QString());
    EXPECT_EQ(vbConfig::ReadIni(QStringLiteral("Directory"), QStringLiteral("COLOR")), QString());
    EXPECT_EQ(vbConfig::ReadIni(QStringLiteral("Start"), QStringLiteral("COLOR")), QStringLiteral("3"));
}

TEST_F(SettingsFileTest, WrittenValuesReadBackAndOthersStay)
{
    vbConfig::WriteIni(QStringLiteral("Start"), QStringLiteral("OptTer"), QStringLiteral("2"));
    vbConfig::WriteIni(QStringLiteral("Directory"), QStringLiteral("Terrain"), QStringLiteral("/home/u/terrains"));
    vbConfig::WriteIni(QStringLiteral("Start"), QStringLiteral("OptTer"), QStringLiteral("4"));

    EXPECT_EQ(vbConfig::ReadIni(QStringLiteral("Start"), QStringLiteral("OptTer")), QStringLiteral("4"));
    EXPECT_EQ(vbConfig::ReadIni(QStringLiteral("Directory"), QStringLiteral("Terrain")), QStringLiteral("/home/u/terrains"));
}

TEST_F(SettingsFileTest, LongValuesAreCutTo511Characters)
{
    const QString longValue(600, QChar(u'x'));
    vbConfig::WriteIni(QStringLiteral("Directory"), QStringLiteral("Objects"), longValue);
    EXPECT_EQ(vbConfig::ReadIni(QStringLiteral("Directory"), QStringLiteral("Objects")), longValue.left(511));
}

TEST_F(SettingsFileTest, WritingIntoAMissingFolderLosesNothingAndDoesNotCrash)
{
    vbConfig::SettingsFile = tmp.filePath(QStringLiteral("no/such/folder/Kelvarinor.ini"));
    vbConfig::WriteIni(QStringLiteral("Start"), QStringLiteral("COLOR"), QStringLiteral("1"));
    EXPECT_EQ(vbConfig::ReadIni(QStringLiteral("Start"), QStringLiteral("COLOR")), QString());
}

// --- perlin sets ----------------------------------------------------------------

TEST_F(PerlinSetTest, DefinitionFilesOfAnyCaseInSortedOrder)
{
    add(QStringLiteral("b.ini"), setDefinition("Bravo", "b"));
    add(QStringLiteral("A.INI"), setDefinition("Alpha", "a"));
    add(QStringLiteral("c.Ini"), setDefinition("Charlie", "c"));
    add(QStringLiteral("readme.txt"), setDefinition("NotASet", "x"));
    add(QStringLiteral("old.ini.bak"), setDefinition("NotASetEither", "y"));

    vbConfig::LoadPerlinSets(ps);

    EXPECT_EQ(names(), (QStringList{"Alpha", "Bravo", "Charlie"}));
    ASSERT_EQ(PerlinSetTable.size(), 3u);
    EXPECT_EQ(PerlinSetTable[1].layers[0], QStringLiteral("b1.png"));
    EXPECT_EQ(PerlinSetTable[1].layers[4], QStringLiteral("b5.png"));
}

TEST_F(PerlinSetTest, FolderNameMatchesWithoutRegardToCase)
{
    add(QStringLiteral("a.ini"), setDefinition("Alpha", "a"));
    vbConfig::LoadPerlinSets(tmp.filePath(QStringLiteral("ps")));
    EXPECT_EQ(names(), QStringList{"Alpha"});
}

TEST_F(PerlinSetTest, FileWithoutSetSectionGivesAnUnnamedRowWithItsLayers)
{
    add(QStringLiteral("a.ini"), "[PERLIN]\n01=p1.bmp\n02=p2.bmp\n03=p3.bmp\n04=p4.bmp\n05=p5.bmp\n");
    vbConfig::LoadPerlinSets(ps);
    ASSERT_EQ(PerlinSetTable.size(), 1u);
    EXPECT_EQ(PerlinSetTable[0].name, QString());
    EXPECT_EQ(PerlinSetTable[0].layers[2], QStringLiteral("p3.bmp"));
}

TEST_F(PerlinSetTest, NamesAndLayersLoseSurroundingBlanks)
{
    add(QStringLiteral("a.ini"), "[SET]\nNAME=  Spaced Out  \n[PERLIN]\n01= p1.png \n02=p2\n03=p3\n04=p4\n05=p5\n");
    vbConfig::LoadPerlinSets(ps);
    ASSERT_EQ(PerlinSetTable.size(), 1u);
    EXPECT_EQ(PerlinSetTable[0].name, QStringLiteral("Spaced Out"));
    EXPECT_EQ(PerlinSetTable[0].layers[0], QStringLiteral("p1.png"));
}

TEST_F(PerlinSetTest, EmptyOrMissingFolderLeavesTheTableAsItWas)
{
    PerlinSetTable.push_back({QStringLiteral("Kept"), {}});
    vbConfig::LoadPerlinSets(ps);
    EXPECT_EQ(names(), QStringList{"Kept"});
    vbConfig::LoadPerlinSets(tmp.filePath(QStringLiteral("missing")));
    EXPECT_EQ(names(), QStringList{"Kept"});
}

TEST_F(PerlinSetTest, FolderWithFilesButNoUsableSetEmptiesTheTable)
{
    PerlinSetTable.push_back({QStringLiteral("Old"), {}});
    add(QStringLiteral("picture.png"), "not a set");
    add(QStringLiteral("nolayers.ini"), "[SET]\nNAME=No layers\n");
    add(QStringLiteral("four.ini"), "[SET]\nNAME=Four\n[PERLIN]\n01=a\n02=b\n03=c\n04=d\n");
    add(QStringLiteral("garbage.ini"), QByteArray("\x01\x02\xff binary", 11));

    vbConfig::LoadPerlinSets(ps);

    EXPECT_TRUE(PerlinSetTable.empty());
}

TEST_F(PerlinSetTest, AtMost33SetsTheFirstInOrder)
{
    for (int i = 0; i < 40; ++i)
        add(QStringLiteral("set%1.ini").arg(i, 2, 10, QChar(u'0')), setDefinition("S" + QByteArray::number(i), "p"));
    vbConfig::LoadPerlinSets(ps);
    ASSERT_EQ(PerlinSetTable.size(), size_t(vbConfig::MaxPerlinSets));
    EXPECT_EQ(PerlinSetTable.front().name, QStringLiteral("S0"));
    EXPECT_EQ(PerlinSetTable.back().name, QStringLiteral("S32"));
}

// --- where written files go -----------------------------------------------------

class WritableDataPathTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        m_config = qgetenv("XDG_CONFIG_HOME");
        m_state = qgetenv("XDG_STATE_HOME");
        m_home = qgetenv("HOME");
        qputenv("XDG_CONFIG_HOME", tmp.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_STATE_HOME", tmp.filePath(QStringLiteral("state")).toLocal8Bit());
    }
    void TearDown() override
    {
        rt::setAppPath(QString());
        restore("XDG_CONFIG_HOME", m_config);
        restore("XDG_STATE_HOME", m_state);
        restore("HOME", m_home);
    }
    static void restore(const char* name, const QByteArray& value)
    {
        if (value.isNull()) qunsetenv(name);
        else qputenv(name, value);
    }
    QTemporaryDir tmp;

private:
    QByteArray m_config;
    QByteArray m_state;
    QByteArray m_home;
};

TEST_F(WritableDataPathTest, WritableProgramFolderHoldsBothFiles)
{
    rt::setAppPath(tmp.path());
    EXPECT_EQ(rt::writableDataPath(QStringLiteral("Kelvarinor.ini"), true), tmp.filePath(QStringLiteral("Kelvarinor.ini")));
    EXPECT_EQ(rt::writableDataPath(QStringLiteral("Backup.kvt"), false), tmp.filePath(QStringLiteral("Backup.kvt")));
}

TEST_F(WritableDataPathTest, OtherwiseSettingsGoToConfigAndTheBackupToState)
{
    rt::setAppPath(tmp.filePath(QStringLiteral("no-program-folder")));

    const QString settings = rt::writableDataPath(QStringLiteral("Kelvarinor.ini"), true);
    const QString backup = rt::writableDataPath(QStringLiteral("Backup.kvt"), false);

    EXPECT_EQ(settings, tmp.filePath(QStringLiteral("config/Kelvarinor/Kelvarinor.ini")));
    EXPECT_EQ(backup, tmp.filePath(QStringLiteral("state/Kelvarinor/Backup.kvt")));
    EXPECT_TRUE(QDir(tmp.filePath(QStringLiteral("config/Kelvarinor"))).exists());
    EXPECT_TRUE(QDir(tmp.filePath(QStringLiteral("state/Kelvarinor"))).exists());
}

TEST_F(WritableDataPathTest, RelativeXdgValuesAreIgnored)
{
    rt::setAppPath(tmp.filePath(QStringLiteral("no-program-folder")));
    qputenv("XDG_CONFIG_HOME", "relative/config");
    qputenv("HOME", tmp.filePath(QStringLiteral("home")).toLocal8Bit());
    const QString settings = rt::writableDataPath(QStringLiteral("Kelvarinor.ini"), true);
    EXPECT_EQ(settings, tmp.filePath(QStringLiteral("home/.config/Kelvarinor/Kelvarinor.ini")));
}
