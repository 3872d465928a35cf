#pragma once
// A started main window in a program folder of its own, for window tests.

#include "app/AppState.h"
#include "app/frmTer.h"
#include "app/frmTerMain.h"
#include "app/vbConfig.h"
#include "runtime/Ui.h"
#include "terrain/TerrainGlobals.h"
#include "tests/support/ScriptedUi.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>


inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

inline QByteArray perlinSetIni(const char* name)
{
    return QByteArray("[SET]\r\nNAME=") + name +
           "\r\n[PERLIN]\r\n01=a.bmp\r\n02=b.bmp\r\n03=c.bmp\r\n04=d.bmp\r\n05=e.bmp\r\n";
}

// A program folder of its own for every test: settings, PS folder and backup
// live there, so nothing leaks between tests or into the user's folders.
class MainWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(programDir.isValid());
        rt::setAppPath(programDir.path());
        vbConfig::PerlinSetTable.clear();
    }
    void TearDown() override
    {
        if (window) {
            TerrainSaved = true;  // close without the question
            window->close();
            window.reset();
        }
        KVTools2::releaseTerrains();
        rt::setAppPath(QString());
        if (m_stateMoved) qputenv("XDG_STATE_HOME", m_oldState);
    }
    // As for a user who may not write into the program folder (root may
    // write anywhere, so the folder is missing). Returns the per-user state
    // folder that takes the program's files instead.
    QString programFolderNotWritable()
    {
        m_oldState = qgetenv("XDG_STATE_HOME");
        m_stateMoved = true;
        qputenv("XDG_STATE_HOME", programDir.filePath("state").toLocal8Bit());
        rt::setAppPath(programDir.filePath("not-writable"));
        return programDir.filePath("state/Kelvarinor");
    }
    void installPerlinSets()
    {
        writeFile(programDir.filePath("PS/Alps.ini"), perlinSetIni("Alps"));
        writeFile(programDir.filePath("PS/Dunes.ini"), perlinSetIni("Dunes"));
    }
    void start(const QString& commandLine = QString())
    {
        KVTools2::StartOptions o;
        o.commandLine = commandLine;
        o.showSplash = false;
        window = KVTools2::Main(o);
    }
    frmTer& w() { return *window; }
    QAction* button(int position) { return window->toolbarButton(position); }

    QTemporaryDir programDir;
    std::unique_ptr<frmTer> window;

private:
    QByteArray m_oldState;
    bool m_stateMoved = false;
};

// The main window started with two perlin sets installed, as most window tests
// want it. A derived SetUp wraps this one in ASSERT_NO_FATAL_FAILURE, so a
// window that did not start ends the test there.
class StartedMainWindowTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        installPerlinSets();
        start();
        ASSERT_NE(window, nullptr);
    }
};
