// The object maker's setting and profile files: layout, round trip, and the
// files that are refused without changing anything.

#include "objects/ObjektMakerFiles.h"
#include "tests/support/NotAFile.h"
#include "tests/support/ScriptedUi.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ObjektMaker;

namespace {

int16_t le16(const QByteArray& d, qsizetype at)
{
    return int16_t(uint8_t(d[at]) | (uint8_t(d[at + 1]) << 8));
}

void putLe32(QByteArray& d, qsizetype at, int32_t v)
{
    for (int k = 0; k < 4; ++k) d[at + k] = char((uint32_t(v) >> (8 * k)) & 0xFF);
}

class ObjektMakerFilesTest : public testing::Test {
protected:
    ObjektMakerFilesTest()
    {
        state.ResultMode = ModeMax;
        state.SavedView3D = 1;
        state.XProfile[0] = 11;
        state.XProfile[356] = -32768;
        state.YProfile[256] = 256;
        state.ObjectGrid(1, 1) = 4321;  // a result cell the mask covers in the file
        state.ObjectGrid(256, 3) = 99;  // a result cell outside the mask
        controls.RotationX = 1;
        controls.YCross = 1;
        controls.Mask.setPixel(0, 0, qRgb(128, 128, 128));
        controls.Mask.setPixel(1, 1, qRgb(127, 127, 127));
        controls.Mask.setPixel(2, 1, qRgb(255, 255, 255));
        controls.Mask.setPixel(3, 1, qRgb(200, 200, 200));
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    void write(const QString& p, const QByteArray& data)
    {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }

    QTemporaryDir dir;
    State state;
    Controls controls;
};

TEST_F(ObjektMakerFilesTest, LayoutIsByteForByteWithTheMaskInTheGridBlock)
{
    const QByteArray d = settingFileBytes(state, controls);
    ASSERT_EQ(d.size(), SettingFileSize);
    EXPECT_EQ(d.left(12), QByteArray("OBJECTMAKER2"));
    EXPECT_EQ(d.mid(12, 6), QByteArray("RESMOD"));
    EXPECT_EQ(d.mid(55, 5), QByteArray("ARRAY"));
    EXPECT_EQ(le16(d, 60), 11);
    EXPECT_EQ(le16(d, 774 + 2 * 256), 256);
    const auto cell = [](int i, int j) { return 1488 + 2 * (i + 357 * j); };
    EXPECT_EQ(le16(d, cell(0, 0)), 129);  // grey 128 is stored as 129
    EXPECT_EQ(le16(d, cell(1, 1)), 127);
    EXPECT_EQ(le16(d, cell(2, 1)), 256);
    EXPECT_EQ(le16(d, cell(256, 3)), 99);
    // The result in memory stays the result.
    EXPECT_EQ(state.ObjectGrid(1, 1), 4321);
}

TEST_F(ObjektMakerFilesTest, SaveThenLoadGivesBackProfilesAndTheMaskUnchanged)
{
    ASSERT_TRUE(saveObjektMaker(path("a.omd"), state, controls));
    EXPECT_EQ(state.ResultModeIndex, ModeMax);
    State loaded;
    Controls back;
    ASSERT_EQ(LoadObjektMaker(path("a.omd"), loaded, back), LoadResult::Loaded);
    EXPECT_EQ(loaded.XProfile, state.XProfile);
    EXPECT_EQ(loaded.YProfile, state.YProfile);
    EXPECT_EQ(loaded.ResultMode, ModeMax);
    EXPECT_EQ(back.View3D, 1);
    EXPECT_EQ(loaded.RotationX, 1);
    EXPECT_EQ(back.YCross, 1);
    EXPECT_EQ(back.Mask.pixel(0, 0), qRgb(128, 128, 128));
    EXPECT_EQ(back.Mask.pixel(1, 1), qRgb(127, 127, 127));
    EXPECT_EQ(back.Mask.pixel(2, 1), qRgb(255, 255, 255));
    EXPECT_EQ(back.Mask.pixel(3, 1), qRgb(200, 200, 200));
    EXPECT_EQ(back.Mask.pixel(9, 9), qRgb(0, 0, 0));
}

TEST_F(ObjektMakerFilesTest, RotxZeroLeavesTheMaskAndCrossBoxesAlone)
{
    QByteArray d = settingFileBytes(state, controls);
    putLe32(d, 35, 0);  // ROTX
    putLe32(d, 43, 1);  // ROTM
    putLe32(d, 51, 0);  // ROTY
    Controls c;
    c.RotationX = 1;
    c.RotationMask = 0;
    c.YCross = 1;
    applySettingFile(*parseSettingFile(d), state, c);
    EXPECT_EQ(c.RotationX, 0);
    EXPECT_EQ(c.RotationMask, 0);
    EXPECT_EQ(c.YCross, 1);
}

TEST_F(ObjektMakerFilesTest, DamagedFilesAreRefusedWithAMessageAndChangeNothing)
{
    const QByteArray good = settingFileBytes(state, controls);
    QByteArray noTag = good;
    noTag.replace(22, 5, "VIEWX");
    QByteArray badMode = good;
    putLe32(badMode, 18, 9);
    QByteArray badCheck = good;
    putLe32(badCheck, 43, 2);
    QByteArray badView = good;
    putLe32(badView, 27, 2);
    const QByteArray shortData = good.left(SettingFileSize - 1);
    // "ARRAY" 60 bytes on, at offset 115, is beyond the 100 bytes searched,
    // though the file is long enough to hold what would follow it there.
    const QByteArray lateArray = good.left(55) + QByteArray(60, '-') + good.mid(55);

    for (const QByteArray& bad : {noTag, badMode, badCheck, badView, shortData, lateArray}) {
        write(path("bad.omd"), bad);
        State s;
        s.XProfile[7] = 70;
        Controls c;
        c.Mask.setPixel(5, 5, qRgb(9, 9, 9));
        scriptedUi().expectMsgBox(rt::vbOK);
        EXPECT_EQ(LoadObjektMaker(path("bad.omd"), s, c), LoadResult::Refused);
        EXPECT_EQ(s.XProfile[7], 70);
        EXPECT_EQ(c.Mask.pixel(5, 5), qRgb(9, 9, 9));
        EXPECT_EQ(c.RotationX, 0);
    }
    ASSERT_EQ(scriptedUi().messages.size(), 6u);
    EXPECT_EQ(scriptedUi().messages[0].title, QStringLiteral("ObjectMaker Settings load ..."));
    EXPECT_TRUE(scriptedUi().messages[1].text.contains(QStringLiteral("mode")));

    // At opening the same file is passed over quietly; a missing file always is.
    State s;
    Controls c;
    EXPECT_EQ(LoadObjektMaker(path("bad.omd"), s, c, LoadReport::Quiet), LoadResult::Refused);
    EXPECT_EQ(LoadObjektMaker(path("none.omd"), s, c), LoadResult::Missing);
    EXPECT_EQ(scriptedUi().messages.size(), 6u);
}

TEST_F(ObjektMakerFilesTest, WritingOverALongerFileLeavesNoTail)
{
    write(path("a.omd"), QByteArray(300000, 'x'));
    write(path("x.obs"), QByteArray(2000, 'x'));
    ASSERT_TRUE(saveObjektMaker(path("a.omd"), state, controls));
    ASSERT_TRUE(saveProfileFile(path("x.obs"), state.XProfile, QStringLiteral("Objects Setting save ...")));
    EXPECT_EQ(QFile(path("a.omd")).size(), SettingFileSize);
    EXPECT_EQ(QFile(path("x.obs")).size(), ProfileFileSize);
}

TEST_F(ObjektMakerFilesTest, AFailedWriteIsReported)
{
    const QString nowhere = path("missing-folder/a.omd");
    scriptedUi().expectMsgBox(rt::vbOK);
    EXPECT_FALSE(saveObjektMaker(nowhere, state, controls));
    scriptedUi().expectMsgBox(rt::vbOK);
    EXPECT_FALSE(savePictureFile(path("missing-folder/a.bmp"), controls.Mask, QStringLiteral("Mask save ...")));
    ASSERT_EQ(scriptedUi().messages.size(), 2u);
    EXPECT_EQ(scriptedUi().messages[0].title, QStringLiteral("ObjectMaker Settings Save ..."));
}

TEST_F(ObjektMakerFilesTest, ProfileFileSavedFromXLoadsIntoYAndShortOnesAreRefused)
{
    ASSERT_TRUE(saveProfileFile(path("x.obs"), state.XProfile, QStringLiteral("Objects Setting save ...")));
    Profile y{};
    ASSERT_TRUE(loadProfileFile(path("x.obs"), y));
    EXPECT_EQ(y, state.XProfile);  // -32768 at 356 is kept

    write(path("short.obs"), profileFileBytes(state.XProfile).left(716));
    Profile kept{};
    kept[1] = 42;
    scriptedUi().expectMsgBox(rt::vbOK);
    EXPECT_FALSE(loadProfileFile(path("short.obs"), kept));
    EXPECT_EQ(kept[1], 42);
    EXPECT_EQ(scriptedUi().messages.at(0).title, QStringLiteral("Object load ..."));
}

} // namespace

// A folder, device or pipe in a file's place is refused with what it is,
// where a folder used to pass as a missing file without a word; only a name
// that names nothing is passed over. The pipe is never opened.
TEST_F(ObjektMakerFilesTest, WhatIsNoFileIsRefusedWithWhatItIs)
{
    const NotAFilePaths paths(dir.path());
    ASSERT_TRUE(paths.made());
    for (const auto& [file, reason] : paths.cases()) {
        scriptedUi().messages.clear();
        scriptedUi().expectMsgBox(rt::vbOK);
        EXPECT_EQ(LoadObjektMaker(file, state, controls), LoadResult::Refused);
        scriptedUi().expectMsgBox(rt::vbOK);
        Profile kept{};
        kept[5] = 55;
        EXPECT_FALSE(loadProfileFile(file, kept));
        EXPECT_EQ(kept[5], 55);
        ASSERT_EQ(scriptedUi().messages.size(), 2u);
        EXPECT_TRUE(scriptedUi().messages[0].text.contains(reason)) << scriptedUi().messages[0].text.toStdString();
        EXPECT_TRUE(scriptedUi().messages[1].text.contains(reason)) << scriptedUi().messages[1].text.toStdString();
    }
    EXPECT_EQ(paths.pipeOpened(), 0);
}
