#include "runtime/Ini.h"
#include "tests/support/FifoWatch.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class IniFile : public testing::Test {
protected:
    QString path() const { return dir.filePath("test.ini"); }
    void writeRaw(const QByteArray& data)
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    QByteArray readRaw() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString get(const QString& section, const QString& key, const QString& def = "?") const
    {
        return rt::GetPrivateProfileString(section, key, def, path());
    }
    bool put(const QString& section, const QString& key, const QString& value)
    {
        return rt::WritePrivateProfileString(section, key, value, path());
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(IniFile, MissingFileSectionOrKeyGivesTheDefault)
{
    EXPECT_EQ(get("Start", "OptTer", "dflt"), "dflt");
    writeRaw("[Start]\r\nOptTer=1\r\n");
    EXPECT_EQ(get("Directory", "OptTer", "dflt"), "dflt");
    EXPECT_EQ(get("Start", "OptZoom", "dflt"), "dflt");
    EXPECT_EQ(get("Start", "OptTer", "dflt"), "1");
}

TEST_F(IniFile, SectionsAndKeysMatchWithoutRegardToCaseOrBlanks)
{
    writeRaw("[ Generator ]\nRNDSeed=42\n  highres = 1\n");
    EXPECT_EQ(get("generator", "RndSeed"), "42");
    EXPECT_EQ(get("GENERATOR", "HighRes"), "1");
}

TEST_F(IniFile, ReadTrimsBlanksAndSurroundingQuotes)
{
    writeRaw("[S]\na=  spaced out  \nb=\"quoted\"\nc=\"\ne=\n");
    EXPECT_EQ(get("S", "a"), "spaced out");
    EXPECT_EQ(get("S", "b"), "quoted");
    EXPECT_EQ(get("S", "c"), "\"");
    EXPECT_EQ(get("S", "e"), "");
}

TEST_F(IniFile, ByteOrderMarkBeforeTheFirstSectionIsIgnored)
{
    writeRaw("\xEF\xBB\xBF[Start]\r\nOptTer=2\r\n");
    EXPECT_EQ(get("Start", "OptTer"), "2");
    ASSERT_TRUE(put("Start", "OptTer", "3"));
    EXPECT_EQ(readRaw(), "\xEF\xBB\xBF[Start]\r\nOptTer=3\r\n");
}

TEST_F(IniFile, KeysOfOtherSectionsAreNotFound)
{
    writeRaw("[A]\nk=1\n[B]\nother=2\n");
    EXPECT_EQ(get("B", "k"), "?");
}

TEST_F(IniFile, ValuesAreWrittenVerbatim)
{
    ASSERT_TRUE(put("Erosion", "DropCount", " 10000"));
    EXPECT_EQ(readRaw(), "[Erosion]\r\nDropCount= 10000\r\n");
    EXPECT_EQ(get("Erosion", "DropCount"), "10000");
}

TEST_F(IniFile, ValueEndsAtNulAndStaysOnOneLine)
{
    ASSERT_TRUE(put("Generator", "Height", QString(" 100") + QChar(0) + "junk"));
    ASSERT_TRUE(put("Generator", "Seed", "1\r\n[Evil]\nx=2"));
    EXPECT_EQ(get("Generator", "Height"), "100");
    EXPECT_EQ(get("Evil", "x"), "?");
}

TEST_F(IniFile, WritingKeepsEveryOtherLineAndTheLineEnds)
{
    writeRaw("; comment\n[Start]\nOptTer=1\n  junk line\n\n[Directory]\nTerrain=/t\n");
    ASSERT_TRUE(put("start", "OPTTER", "3"));
    EXPECT_EQ(readRaw(), "; comment\n[Start]\nOPTTER=3\n  junk line\n\n[Directory]\nTerrain=/t\n");
}

TEST_F(IniFile, NewKeyGoesAfterTheSectionsLastEntry)
{
    writeRaw("[Start]\r\nOptTer=1\r\n\r\n[Directory]\r\nTerrain=/t\r\n");
    ASSERT_TRUE(put("Start", "COLOR", "2"));
    EXPECT_EQ(readRaw(), "[Start]\r\nOptTer=1\r\nCOLOR=2\r\n\r\n[Directory]\r\nTerrain=/t\r\n");
}

TEST_F(IniFile, NewSectionIsAppendedAtTheEnd)
{
    writeRaw("[Start]\nOptTer=1");
    ASSERT_TRUE(put("ELEVATOR", "Name", "flat"));
    EXPECT_EQ(readRaw(), "[Start]\nOptTer=1\n[ELEVATOR]\nName=flat\n");
}

TEST_F(IniFile, LastLineWithoutLineEndGetsOneBeforeAnAddedLine)
{
    writeRaw("[Start]\r\nOptTer=1");
    ASSERT_TRUE(put("Start", "OptZoom", "2"));
    EXPECT_EQ(readRaw(), "[Start]\r\nOptTer=1\r\nOptZoom=2\r\n");
}

TEST_F(IniFile, ValuesAreCutAt511Characters)
{
    const QString longValue(600, 'x');
    ASSERT_TRUE(put("S", "k", longValue));
    EXPECT_EQ(get("S", "k"), QString(511, 'x'));
}

TEST_F(IniFile, WriteFailsWithoutFolderAndLeavesNothing)
{
    const QString missing = dir.filePath("nofolder/test.ini");
    EXPECT_FALSE(rt::WritePrivateProfileString("S", "k", "v", missing));
    EXPECT_FALSE(QFile::exists(missing));
}

TEST_F(IniFile, ReadsWhatWasWrittenForManyKeys)
{
    ASSERT_TRUE(put("Generator", "Perlin", "-1"));
    ASSERT_TRUE(put("Generator", "Iteration", " 1"));
    ASSERT_TRUE(put("Erosion", "Dropwith", " 1"));
    ASSERT_TRUE(put("Generator", "Iteration", " 11"));
    EXPECT_EQ(get("Generator", "Perlin"), "-1");
    EXPECT_EQ(get("Generator", "iteration"), "11");
    EXPECT_EQ(get("Erosion", "Dropwith"), "1");
    EXPECT_EQ(readRaw(), "[Generator]\r\nPerlin=-1\r\nIteration= 11\r\n[Erosion]\r\nDropwith= 1\r\n");
}

TEST_F(IniFile, OneReadServesEveryKeyAsTheFileWasThen)
{
    writeRaw("[A]\r\nx=1\r\n[B]\r\nx=2\r\n[a]\r\ny=\"3\"\r\n");
    const rt::IniFile ini(path());
    writeRaw("[A]\r\nx=9\r\n");
    EXPECT_EQ(ini.value("a", "X", "?"), "1");
    EXPECT_EQ(ini.value("B", "x", "?"), "2");
    EXPECT_EQ(ini.value("A", "y", "?"), "3");  // a section named twice holds both parts
    EXPECT_EQ(ini.value("C", "x", "?"), "?");
}

// A sparse file of 100 GB costs no disk; read whole it would end the program.
TEST_F(IniFile, HugeFileReadsAsEmptyAndIsNotWritten)
{
    writeRaw("[S]\r\nk=v\r\n");
    ASSERT_TRUE(QFile::resize(path(), 100LL << 30));
    EXPECT_EQ(get("S", "k"), "?");
    EXPECT_FALSE(put("S", "k", "w"));
    EXPECT_EQ(QFileInfo(path()).size(), 100LL << 30);
}

// A settings file that is a pipe reads as empty with its reason, without
// being opened; a written value is refused rather than blocking on it.
TEST_F(IniFile, PipeReadsAsUnreadableAndIsNotWritten)
{
    FifoWatch fifo(path());
    ASSERT_TRUE(fifo.made());
    const rt::IniFile ini(path());
    EXPECT_EQ(ini.error(), path() + " is a pipe, not a file.");
    EXPECT_EQ(ini.value("Start", "OptTer", "dflt"), "dflt");
    EXPECT_FALSE(put("Start", "OptTer", "1"));
    EXPECT_EQ(fifo.timesOpened(), 0);
}

