#include "app/dlgPrint.h"
#include "tests/app/MainWindowFixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QPrinter>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

TEST(PrintSheetLines, A257PointTerrainWithThirtyMetreSpacing)
{
    const QStringList lines = PrintSheet::settingsLines(QStringLiteral("noname"), 257, 30.0f);
    ASSERT_EQ(lines.size(), 14);
    const ProgramVersion v = programVersion();
    EXPECT_EQ(lines[0], QStringLiteral("Kelvarinor V%1.%2.%3").arg(v.major).arg(v.minor).arg(v.revision));
    EXPECT_EQ(lines[1], QString(53, QLatin1Char('_')));
    EXPECT_EQ(lines[3], QStringLiteral("                              Settings on Terrain"));
    EXPECT_EQ(lines[5], QStringLiteral("Name :noname"));
    EXPECT_EQ(lines[7], QStringLiteral("Size           : 257 x  257 Pixel"));
    EXPECT_EQ(lines[8], QStringLiteral("Height Scale   :  30 m"));
    EXPECT_EQ(lines[9], QStringLiteral("Landscape Area : 7680 m"));
    EXPECT_EQ(lines[11], QStringLiteral("Note    "));
    EXPECT_EQ(lines[12], lines[1]);
    EXPECT_EQ(lines[13], lines[1]);
}

TEST(PrintSheetLines, FractionalSpacingKeepsItsDecimals)
{
    const QStringList lines = PrintSheet::settingsLines(QStringLiteral("a.ter"), 129, 2.5f);
    EXPECT_EQ(lines[8], QStringLiteral("Height Scale   :  2.5 m"));
    EXPECT_EQ(lines[9], QStringLiteral("Landscape Area : 320 m"));
}

QByteArray printToPdf(const QString& path, const PrintSheet::Content& content, int copies)
{
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    QImage view(40, 30, QImage::Format_RGB32);
    view.fill(qRgb(0, 128, 0));
    EXPECT_TRUE(PrintSheet::printSheet(printer, content, copies,
                                       PrintSheet::settingsLines(QStringLiteral("noname"), 257, 30.0f), view));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

TEST(PrintSheetPdf, EveryCopyIsAPageAndAnEmptyChoiceStillEndsTheDocument)
{
    QTemporaryDir dir;
    const QByteArray two = printToPdf(dir.filePath(QStringLiteral("two.pdf")), {true, true}, 2);
    EXPECT_TRUE(two.startsWith("%PDF"));
    EXPECT_TRUE(two.contains("/Count 2"));
    const QByteArray empty = printToPdf(dir.filePath(QStringLiteral("empty.pdf")), {false, false}, 1);
    EXPECT_TRUE(empty.startsWith("%PDF"));
    EXPECT_TRUE(empty.contains("/Count 1"));
    EXPECT_LT(empty.size(), two.size());
}

TEST_F(MainWindowTest, PrintDialogPrintsTheMainWindowsSheet)
{
    installPerlinSets();
    start();
    ASSERT_NE(window, nullptr);
    auto* action = w().Toolbar1->findChild<QAction*>(QStringLiteral("Print"));
    ASSERT_NE(action, nullptr);
    EXPECT_FALSE(action->isEnabled());  // nothing to print yet
    markTerrainChanged();
    w().ActualScreen();
    EXPECT_TRUE(action->isEnabled());

    const QString pdf = programDir.filePath(QStringLiteral("sheet.pdf"));
    dlgPrint dlg(&w());
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Print"));
    dlg.printerDialog = [&pdf](QPrinter& p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
        return true;
    };
    dlg.cmdPrinter_Click();
    EXPECT_EQ(dlg.Label2->text(), pdf);
    dlg.OKButton_Click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("%PDF"));
}

TEST_F(MainWindowTest, APrinterThatCannotStartIsReported)
{
    installPerlinSets();
    start();
    ASSERT_NE(window, nullptr);
    dlgPrint dlg(&w());
    dlg.printer().setOutputFormat(QPrinter::PdfFormat);
    dlg.printer().setOutputFileName(programDir.filePath(QStringLiteral("no/such/folder/x.pdf")));
    scriptedUi().expectMsgBox(rt::vbOK);
    dlg.OKButton_Click();
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(scriptedUi().messages.size(), 1u);
}

} // namespace
