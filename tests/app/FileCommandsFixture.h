#pragma once
// Shared set-up of the file-command tests: a test-owned current terrain, a
// temporary program folder with its settings file, scripted questions and a
// main view that counts what the commands ask of it.

#include "app/AppState.h"
#include "app/FileCommands.h"
#include "app/MainView.h"
#include "app/vbConfig.h"
#include "runtime/Ui.h"
#include "terrain/Palette.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/clsTerrain.h"
#include "tests/support/ScriptedUi.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>

class FakeMainView : public MainView {
public:
    void ActualScreen() override { ++actualScreen; }
    void redrawTerrain() override { ++redraws; }
    void ResizePic() override { ++resizes; }
    void mergePlacedObjects() override { ++merges; }
    int actualScreen = 0;
    int redraws = 0;
    int resizes = 0;
    int merges = 0;
};

class FileCommandsTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        m_oldCurrent = CurrentTerrain;
        CurrentTerrain = &terrain;
        rt::setAppPath(dir.path());
        vbConfig::SettingsFile = dir.filePath(QStringLiteral("Kelvarinor.ini"));
        TerrainEmpty = false;
        TerrainSaved = false;
        TerrainFileName = QStringLiteral("noname");
        BackupExists = false;
        LastDirectory = dir.path();
        FileDialogFolder.clear();
        ZoomFactor = 1.0;
        LoadPalette();
        PaletteRow = 0;
        makeRamp(129);
    }

    void TearDown() override
    {
        CurrentTerrain = m_oldCurrent;
        EXPECT_TRUE(scriptedUi().allAnswersUsed());
        EXPECT_FALSE(rt::BusyFlag) << "a command left the busy flag set";
    }

    // Heights rising along x over the whole raw range, so loaders ask nothing.
    void makeRamp(int points)
    {
        terrain.Init(points);
        for (int x = 0; x < points; ++x)
            for (int y = 0; y < points; ++y)
                terrain.SetPoint(x, y, -32767 + int(int64_t(x) * 65534 / (points - 1)) + (y % 2));
        terrain.Range();
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    static rt::FileDialogResult chosen(const QString& fileName, int filterIndex = 1)
    {
        return {true, fileName, filterIndex};
    }
    static rt::FileDialogResult cancelled() { return {}; }

    QString iniValue(const QString& section, const QString& key) const
    {
        return vbConfig::ReadIni(section, key);
    }

    static QByteArray fileBytes(const QString& fileName)
    {
        QFile f(fileName);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static void writeBytes(const QString& fileName, const QByteArray& bytes)
    {
        QFile f(fileName);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QTemporaryDir dir;
    clsTerrain terrain;
    FakeMainView view;
    // The scripted service's answers to the program's own questions, and what they were asked with.
    std::deque<int>& saveTypes = scriptedUi().saveTypeAnswers;
    std::deque<int>& bitmapSizes = scriptedUi().bitmapSizeAnswers;
    std::deque<int>& pictureGridPoints = scriptedUi().pictureGridPointsAnswers;
    const std::vector<int>& bitmapDialogSizes = scriptedUi().bitmapSizeGridSizes;
    const std::vector<int>& pictureHeights = scriptedUi().pictureGridPointsHeights;

private:
    clsTerrain* m_oldCurrent = nullptr;
};
