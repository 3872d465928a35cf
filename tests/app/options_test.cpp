#include "app/MainWindowLogic.h"
#include "app/dlgOptions.h"
#include "terrain/Palette.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/FileSizeLimit.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

class OptionsTest : public StartedMainWindowTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartedMainWindowTest::SetUp());
        m_resizeMode = ResizeMode;
        m_paletteRow = PaletteRow;
    }
    void TearDown() override
    {
        ResizeMode = m_resizeMode;
        PaletteRow = m_paletteRow;
        MainWindowTest::TearDown();
    }
    int16_t m_resizeMode = 0;
    int m_paletteRow = 0;
    QWidget* back() { return w().centralWidget(); }
    QRgb backNow() { return back()->palette().color(QPalette::Window).rgb(); }
    QString ini(const char* section, const char* key)
    {
        return vbConfig::ReadIni(QString::fromLatin1(section), QString::fromLatin1(key));
    }
};

TEST_F(OptionsTest, ChoicesRoundTripThroughTheSettingsFileAndTheStartReader)
{
    {
        dlgOptions dlg(back(), &w());
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Options"));
        dlg.Option1[3]->setChecked(true);
        dlg.Option2[2]->setChecked(true);
        dlg.List1->setCurrentRow(5);
        scriptedUi().expectColorDialog(QColor(10, 20, 30));
        dlg.cmdSelectColor_Click();
        EXPECT_EQ(backNow(), qRgb(10, 20, 30));
        dlg.OKButton_Click();
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    EXPECT_EQ(ini("Start", "OptTer"), QStringLiteral("3"));
    EXPECT_EQ(ini("Start", "optzoom"), QStringLiteral("2"));
    EXPECT_EQ(ini("Start", "color"), QStringLiteral("5"));
    EXPECT_EQ(ini("Start", "BackColor"), QString::number(10 + 256 * 20 + 65536 * 30));
    QFile file(vbConfig::SettingsFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("OptTer= 3"));
    EXPECT_EQ(ResizeMode, 2);
    EXPECT_EQ(PaletteRow, 5);

    const auto s = MainWindowLogic::readStartSettings(vbConfig::ReadIni);
    EXPECT_EQ(s.gridPoints, 1025);
    EXPECT_EQ(s.resizeMode, 2);
    EXPECT_EQ(s.paletteRow, 5);
    ASSERT_TRUE(s.backColor.has_value());
    EXPECT_EQ(*s.backColor, qRgb(10, 20, 30));

    dlgOptions again(back(), &w());
    EXPECT_TRUE(again.Option1[3]->isChecked());
    EXPECT_TRUE(again.Option2[2]->isChecked());
    EXPECT_EQ(again.List1->currentRow(), 5);
}

TEST_F(OptionsTest, NonsenseInTheSettingsFileShowsTheDefaults)
{
    vbConfig::WriteIni(QStringLiteral("Start"), QStringLiteral("OptTer"), QStringLiteral("big"));
    ResizeMode = 0;
    PaletteRow = 99;
    dlgOptions dlg(back(), &w());
    EXPECT_TRUE(dlg.Option1[1]->isChecked());
    EXPECT_TRUE(dlg.Option2[1]->isChecked());
    EXPECT_EQ(dlg.List1->currentRow(), PaletteSchemes - 1);
}

TEST_F(OptionsTest, CancelRestoresTheBackColourButKeepsChosenFolders)
{
    const QRgb before = backNow();
    const QString folder = programDir.filePath(QStringLiteral("objs"));
    QDir().mkpath(folder);
    {
        dlgOptions dlg(back(), &w());
        scriptedUi().expectColorDialog(QColor(200, 0, 0));
        dlg.cmdSelectColor_Click();
        scriptedUi().expectFolderDialog(folder);
        dlg.browse_Click(1);
        EXPECT_EQ(dlg.folderText[1]->text(), folder);
        EXPECT_TRUE(dlg.folderText[1]->isReadOnly());
        scriptedUi().expectFolderDialog(QString());  // cancelled: nothing written
        dlg.browse_Click(2);
        dlg.CancelButton_Click();
    }
    EXPECT_EQ(backNow(), before);
    EXPECT_EQ(scriptedUi().folderTitles,
              (QStringList{QStringLiteral("Select Folder Of Objects :"), QStringLiteral("Select Folder Of terrains :")}));
    EXPECT_EQ(ini("directory", "Objects"), folder);
    EXPECT_EQ(ObjectDirectory, folder);
    EXPECT_EQ(ini("directory", "Terrain"), QString());
    EXPECT_EQ(ini("Start", "OptTer"), QString());
}

TEST_F(OptionsTest, EscapeOrClosingTheWindowIsACancelAndRestoresTheBackColour)
{
    const QRgb before = backNow();
    for (const bool escape : {true, false}) {
        dlgOptions dlg(back(), &w());
        dlg.show();
        scriptedUi().expectColorDialog(QColor(0, 0, 200));
        dlg.cmdSelectColor_Click();
        ASSERT_EQ(backNow(), qRgb(0, 0, 200));
        if (escape) QTest::keyClick(&dlg, Qt::Key_Escape);
        else dlg.close();
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_EQ(backNow(), before) << (escape ? "Escape" : "close");
    }
    EXPECT_EQ(ini("Start", "BackColor"), QString());
}

TEST(TerRegistration, WritesTheMimePackageAndADesktopEntryThatOpensTheFile)
{
    QTemporaryDir home;
    QString error;
    ASSERT_TRUE(Options::registerTerFiles(home.path(), QStringLiteral("/opt/kv/kelvarinor"), &error)) << error.toStdString();
    QFile mime(home.filePath(QStringLiteral("mime/packages/kelvarinor-ter.xml")));
    ASSERT_TRUE(mime.open(QIODevice::ReadOnly));
    const QByteArray m = mime.readAll();
    EXPECT_TRUE(m.contains("<glob pattern=\"*.ter\"/>"));
    EXPECT_TRUE(m.contains("type=\"application/x-kelvarinor-terrain\""));
    QFile desktop(home.filePath(QStringLiteral("applications/kelvarinor.desktop")));
    ASSERT_TRUE(desktop.open(QIODevice::ReadOnly));
    const QByteArray d = desktop.readAll();
    EXPECT_TRUE(d.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(d.contains("\nExec=\"/opt/kv/kelvarinor\" %f\n"));
    EXPECT_TRUE(d.contains("\nMimeType=application/x-kelvarinor-terrain;\n"));
}

TEST(TerRegistration, ProgramPathsWithSpecialCharactersAreQuoted)
{
    EXPECT_EQ(Options::desktopExec(QStringLiteral("/a b/k\"v$")), QStringLiteral("\"/a b/k\\\\\"v\\\\$\" %f"));
    EXPECT_EQ(Options::desktopExec(QStringLiteral("/x/100%")), QStringLiteral("\"/x/100%%\" %f"));
}

TEST(TerRegistration, AFolderThatCannotBeMadeIsAFailure)
{
    QTemporaryDir home;
    QFile blocker(home.filePath(QStringLiteral("mime")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QString error;
    EXPECT_FALSE(Options::registerTerFiles(home.path(), QStringLiteral("/k"), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(OptionsTest, PropertiesButtonOpensTheDialog)
{
    auto* action = w().Toolbar1->findChild<QAction*>(QStringLiteral("Eigenschaften"));
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(action->isEnabled());
    QString seen;
    QTimer::singleShot(0, [&seen] {
        if (QWidget* d = QApplication::activeModalWidget()) {
            seen = d->objectName();
            d->close();
        }
    });
    action->trigger();
    EXPECT_EQ(seen, QStringLiteral("dlgOptions"));
}

} // namespace

TEST_F(OptionsTest, SettingsThatCannotBeWrittenAreReportedAndStillApply)
{
    // A settings file beyond the reader's limit is never written over.
    writeFile(vbConfig::SettingsFile, QByteArray(2 * 1024 * 1024, ';'));
    dlgOptions dlg(back(), &w());
    dlg.List1->setCurrentRow(4);
    scriptedUi().expectMsgBox(rt::vbOK);
    dlg.OKButton_Click();
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_TRUE(scriptedUi().messages[0].text.startsWith(QStringLiteral("The settings could not be written")));
    EXPECT_EQ(PaletteRow, 4);
    EXPECT_EQ(QFileInfo(vbConfig::SettingsFile).size(), 2 * 1024 * 1024);
}

TEST_F(OptionsTest, ASettingsWriteCutShortNamesTheSystemsReason)
{
    QFile f(vbConfig::SettingsFile);
    const QByteArray old = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    f.close();
    dlgOptions dlg(back(), &w());
    dlg.List1->setCurrentRow(3);
    scriptedUi().expectMsgBox(rt::vbOK);
    {
        FileSizeLimit limit(8);
        if (!limit.active()) GTEST_SKIP() << "cannot limit the file size";
        dlg.OKButton_Click();
    }
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_TRUE(scriptedUi().messages[0].text.contains(fileTooLarge()))
        << scriptedUi().messages[0].text.toStdString();
    EXPECT_EQ(PaletteRow, 3);
    QFile after(vbConfig::SettingsFile);
    EXPECT_EQ(after.open(QIODevice::ReadOnly) ? after.readAll() : QByteArray(), old);
}
