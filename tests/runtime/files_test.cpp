#include "runtime/ByteIO.h"
#include "runtime/Files.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/NotAFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

void touch(const QString& path, const QByteArray& data = {})
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

} // namespace

TEST(ListFiles, MatchesWithoutRegardToCaseAndSortsByName)
{
    QTemporaryDir dir;
    touch(dir.filePath("b.ini"));
    touch(dir.filePath("A.INI"));
    touch(dir.filePath("c.Ini"));
    touch(dir.filePath("d.txt"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("e.ini"));
    EXPECT_EQ(rt::listFiles(dir.path(), "*.INI"), QStringList({"A.INI", "b.ini", "c.Ini"}));
}

TEST(ListFiles, MissingFolderGivesNothing)
{
    QTemporaryDir dir;
    EXPECT_TRUE(rt::listFiles(dir.filePath("none"), "*").isEmpty());
    EXPECT_TRUE(rt::listFiles(dir.path(), "*.ter").isEmpty());
}

TEST(FileLen, GivesBytesOrMinusOne)
{
    QTemporaryDir dir;
    touch(dir.filePath("x"), "12345");
    EXPECT_EQ(rt::FileLen(dir.filePath("x")), 5);
    EXPECT_EQ(rt::FileLen(dir.filePath("none")), -1);
    EXPECT_EQ(rt::FileLen(dir.path()), -1);
}

TEST(LeReader, ReadsLittleEndianAtOneBasedPositions)
{
    rt::LeWriter w;
    w.i16(-2);
    w.i32(0x01020304);
    w.f32(1.5f);
    rt::LeReader r(w.data());
    EXPECT_EQ(r.i16At(1), -2);
    EXPECT_EQ(r.i32At(3), 0x01020304);
    EXPECT_EQ(r.f32At(7), 1.5f);
    EXPECT_FALSE(r.wasShort());
}

TEST(LeReader, ShortReadsGiveNothingAndMarkTheReader)
{
    rt::LeReader r(QByteArray("\x01\x02\x03", 3));
    EXPECT_EQ(r.i16At(2), 0x0302);
    EXPECT_FALSE(r.wasShort());
    EXPECT_FALSE(r.i16At(3).has_value());
    EXPECT_TRUE(r.wasShort());
    rt::LeReader r2(QByteArray("\x01\x02\x03", 3));
    EXPECT_FALSE(r2.i32At(1).has_value());
    EXPECT_FALSE(r2.i16At(0).has_value());
    EXPECT_FALSE(r2.bytesAt(1, -1).has_value());
    EXPECT_FALSE(r2.bytesAt(INT64_MAX, 2).has_value());
    EXPECT_EQ(r2.bytesAt(4, 0), QByteArray());
}

TEST(LeWriter, FixedTextIsCutOrPaddedWithZeros)
{
    rt::LeWriter w;
    w.fixedText("ABCDEF", 4);
    w.fixedText("AB", 4);
    EXPECT_EQ(w.data(), QByteArray("ABCDAB\0\0", 8));
}

TEST(WriteFileAtomic, ReplacesTheFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("f.bin");
    touch(path, "old contents");
    ASSERT_TRUE(rt::writeFileAtomic(path, "new"));
    EXPECT_EQ(rt::readWholeFile(path), QByteArray("new"));
}

// Failures that hold for root too, who writes into read-only folders.
TEST(WriteFileAtomic, LeavesTheOldFileWhenTheDiskIsFull)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("f.bin");
    touch(path, "old contents");
    QString error;
    {
        FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.active());
        EXPECT_FALSE(rt::writeFileAtomic(path, QByteArray(10000, 'n'), &error));
    }
    EXPECT_EQ(error, fileTooLarge());
    EXPECT_EQ(rt::readWholeFile(path), QByteArray("old contents"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"f.bin"}));
}

TEST(AtomicFile, CommitFailsWhenTheRenameFails)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("f.bin");
    rt::AtomicFile f(path);
    f.write("new");
    ASSERT_TRUE(f.ok());
    // A folder now stands where the file goes: no rename replaces it.
    ASSERT_TRUE(QDir(dir.path()).mkdir("f.bin"));
    touch(dir.filePath("f.bin/inside"), "kept");
    QString error;
    EXPECT_FALSE(f.commit(&error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(rt::readWholeFile(dir.filePath("f.bin/inside")), QByteArray("kept"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST(ReadWholeFile, MissingFileGivesNothingAndAnError)
{
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(rt::readWholeFile(dir.filePath("none"), &error).has_value());
    EXPECT_FALSE(error.isEmpty());
}


TEST(AtomicFile, WhatIsNoFileIsNeverReplacedAndALinkIsWrittenThrough)
{
    QTemporaryDir dir;
    const NotAFilePaths paths(dir.path());
    ASSERT_TRUE(paths.made());
    // A device of our own behind a link (root only), so no test ever risks /dev.
    const QString device = dir.filePath("null"), deviceLink = dir.filePath("to-device");
    std::vector<NotAFilePaths::Case> cases = {paths.cases()[0], paths.cases()[2]};
    if (::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0600, ::makedev(1, 3)) == 0 &&
        QFile::link(device, deviceLink))
        cases.push_back({deviceLink, deviceLink + " is a device, not a file."});
    for (const auto& [path, reason] : cases) {
        QString error;
        EXPECT_FALSE(rt::writeFileAtomic(path, "new", &error)) << path.toStdString();
        EXPECT_EQ(error, reason);
        EXPECT_FALSE(QFileInfo(path).isFile()) << path.toStdString();
    }
    EXPECT_EQ(paths.pipeOpened(), 0);

    const QString target = dir.filePath("target"), link = dir.filePath("link");
    touch(target, "old");
    ASSERT_TRUE(QFile::link(target, link));
    ASSERT_TRUE(rt::writeFileAtomic(link, "new"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(rt::readWholeFile(target), QByteArray("new"));
}
