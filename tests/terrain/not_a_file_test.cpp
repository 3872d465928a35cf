// A folder, a device or a pipe given to the terrain readers (TER, HGT, the
// backup): each says what it was given and keeps the terrain; none opens the
// pipe, which would block the window for good.

#include "terrain/clsTerrain.h"
#include "terrain/mHgt.h"
#include "terrain/mTerLoad.h"
#include "tests/support/NotAFile.h"
#include "tests/support/ScriptedUi.h"
#include "tests/terrain/CurrentTerrainFixture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class NotAFile : public CurrentTerrainFixture {
protected:
    void expectTerrainKept()
    {
        EXPECT_EQ(current.Size(), 128);
        EXPECT_EQ(current.GetPoint(5, 5), 4242);
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(NotAFile, TerHgtAndBackupSayWhatTheyWereGiven)
{
    const NotAFilePaths paths(dir.path());
    ASSERT_TRUE(paths.made());
    current.Init(129);
    current.SetPoint(5, 5, 4242);
    for (const auto& [path, reason] : paths.cases()) {
        scriptedUi().messages.clear();
        scriptedUi().expectMsgBox(rt::vbOK);
        EXPECT_FALSE(mTerLoad::LoadTerFile(path));
        scriptedUi().expectMsgBox(rt::vbOK);
        EXPECT_FALSE(mTerLoad::LoadHgtFile(path));
        ASSERT_EQ(scriptedUi().messages.size(), 2u);
        for (const auto& shown : scriptedUi().messages) EXPECT_TRUE(shown.text.contains(reason)) << shown.text.toStdString();
        QString error;
        EXPECT_FALSE(current.LoadBackup(path, &error));
        EXPECT_EQ(error, reason);
        expectTerrainKept();
    }
    EXPECT_EQ(paths.pipeOpened(), 0);
}
