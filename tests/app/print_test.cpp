#include "app/dlgPrint.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/FileSizeLimit.h"

#include <QCheckBox>
#include <QLabel>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
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

// The first page of a PDF as the reader sees it, at 72 dpi: one pixel a point.
QImage renderFirstPage(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
                                         QStringLiteral("-singlefile"), pdf, pdf});
    EXPECT_TRUE(p.waitForFinished(60000)) << "pdftoppm (poppler-utils) renders the printed page";
    return QImage(pdf + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

TEST(PrintSheetPdf, TerrainPictureStandsAQuarterPageBelowTheShiftedOriginAndCoversNoText)
{
    QTemporaryDir dir;
    const QStringList lines = PrintSheet::settingsLines(QStringLiteral("noname"), 257, 30.0f);
    QImage view(257, 257, QImage::Format_RGB32);
    view.fill(qRgb(0, 255, 255));
    auto print = [&](const QString& name, const PrintSheet::Content& content) {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(name));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        EXPECT_TRUE(PrintSheet::printSheet(printer, content, 1, lines, view));
        return renderFirstPage(dir.filePath(name));
    };
    const QImage text = print(QStringLiteral("text.pdf"), {false, true});
    const QImage sheet = print(QStringLiteral("sheet.pdf"), {true, true});
    const QImage picture = print(QStringLiteral("picture.pdf"), {true, false});
    ASSERT_EQ(text.size(), QSize(595, 842));
    ASSERT_EQ(sheet.size(), text.size());

    // Every inked pixel of the text is still ink with the picture on the page.
    int ink = 0, covered = 0;
    for (int y = 0; y < text.height(); ++y)
        for (int x = 0; x < text.width(); ++x)
            if (qGray(text.pixel(x, y)) < 100) {
                ++ink;
                if (qGray(sheet.pixel(x, y)) >= 100) ++covered;
            }
    EXPECT_GT(ink, 1000);
    EXPECT_EQ(covered, 0);

    // Margin 10 mm = 28.3 pt, plus the origin's 300 twips = 15 pt, plus a
    // quarter of the 277 mm printable height = 196.3 pt: row 239.6. Left:
    // 28.3 + 45 + 1 pt = 74.3. 257 pixels at 15 twips = 192.75 pt wide.
    const QRgb cyan = qRgb(0, 255, 255);
    EXPECT_EQ(picture.pixel(76, 242), cyan);
    EXPECT_NE(picture.pixel(76, 237), cyan);
    EXPECT_NE(picture.pixel(72, 242), cyan);
    EXPECT_EQ(picture.pixel(265, 430), cyan);
    EXPECT_NE(picture.pixel(270, 437), cyan);
    int cyanOnSheet = 0;
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x) cyanOnSheet += sheet.pixel(x, y) == cyan;
    EXPECT_GE(cyanOnSheet, 191 * 191) << "the whole picture is on the sheet";
}

TEST(PrintSheetPdf, ATerrainLargerThanTheRestOfThePageShrinksToItKeepingItsShape)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("big.pdf"));
    QImage view(1025, 1025, QImage::Format_RGB32);
    view.fill(qRgb(0, 255, 255));
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    ASSERT_TRUE(PrintSheet::printSheet(printer, {true, false}, 1, {}, view));
    const QImage page = renderFirstPage(pdf);
    ASSERT_EQ(page.size(), QSize(595, 842));

    // 1025 pixels at 15 twips would be 768.75 pt. The room: from 74.3 pt to
    // the right margin at 566.9 pt is 492.6 pt wide, from 239.6 pt to the
    // bottom margin at 813.5 pt is 573.9 pt high; the width rules, so the
    // picture is a 492.6 pt square from (74.3, 239.6) to (566.9, 732.2).
    const QRgb cyan = qRgb(0, 255, 255);
    EXPECT_EQ(page.pixel(76, 242), cyan);
    EXPECT_EQ(page.pixel(565, 242), cyan);
    EXPECT_EQ(page.pixel(76, 730), cyan);
    EXPECT_EQ(page.pixel(565, 730), cyan);
    EXPECT_NE(page.pixel(569, 400), cyan) << "nothing beyond the right margin";
    EXPECT_NE(page.pixel(300, 735), cyan) << "square: the bottom stays above the margin";
}

TEST(PrintSheetPdf, AFileThatCannotBeWrittenWholeKeepsTheOldOneAndSaysWhy)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    const QByteArray old = printToPdf(pdf, {true, true}, 1);
    ASSERT_TRUE(old.contains("%%EOF"));
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    QImage view(300, 300, QImage::Format_RGB32);
    view.fill(qRgb(200, 0, 0));
    QString error;
    {
        FileSizeLimit limit(1024);
        if (!limit.active()) GTEST_SKIP() << "cannot limit the file size";
        EXPECT_FALSE(PrintSheet::printSheet(printer, {true, true}, 2,
                                            PrintSheet::settingsLines(QStringLiteral("x.ter"), 129, 5.0f), view,
                                            &error));
    }
    EXPECT_TRUE(error.contains(fileTooLarge())) << error.toStdString();
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), old);
}

// "Printer..." answered with "Print to File (PDF)" and pdf.
void choosePdfFile(dlgPrint& dlg, const QString& pdf)
{
    dlg.printerDialog = [pdf](QPrinter& p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
        return true;
    };
    dlg.cmdPrinter_Click();
    EXPECT_EQ(dlg.Label2->text(), pdf);
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
    choosePdfFile(dlg, pdf);
    // The sheet shows the current terrain, not a default one.
    CurrentTerrain->Init(129);
    CurrentTerrain->setScaleT(12.5f);
    TerrainFileName = QStringLiteral("hills.ter");
    dlg.OKButton_Click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(60000)) << "pdftotext (poppler-utils) reads the printed sheet";
    // The reader joins the blanks; line order and every value must be on the page.
    const ProgramVersion v = programVersion();
    const QString rule(53, QLatin1Char('_'));
    EXPECT_EQ(QString::fromUtf8(text.readAllStandardOutput()).simplified(),
              QStringLiteral("Kelvarinor V%1.%2.%3 %4 Settings on Terrain Name :hills.ter Size : 129 x 129 Pixel "
                             "Height Scale : 12.5 m Landscape Area : 1600 m Note %4 %4")
                  .arg(v.major)
                  .arg(v.minor)
                  .arg(v.revision)
                  .arg(rule));
}

TEST_F(MainWindowTest, FailedPrintsSayWhyAndTheSameDialogThenPrintsToAFile)
{
    installPerlinSets();
    start();
    ASSERT_NE(window, nullptr);
    dlgPrint dlg(&w());
    dlg.printer().setOutputFormat(QPrinter::PdfFormat);
    dlg.printer().setOutputFileName(programDir.filePath(QStringLiteral("no/such/folder/x.pdf")));
    scriptedUi().expectMsgBox(rt::vbOK);
    dlg.OKButton_Click();
    // What a machine without a printer offers: PDF output without a file.
    dlg.printer().setOutputFileName(QString());
    scriptedUi().expectMsgBox(rt::vbOK);
    dlg.OKButton_Click();
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    ASSERT_EQ(scriptedUi().messages.size(), 2u);
    EXPECT_TRUE(scriptedUi().messages[0].text.contains(QStringLiteral("No such file or directory")))
        << scriptedUi().messages[0].text.toStdString();
    EXPECT_TRUE(scriptedUi().messages[1].text.contains(QStringLiteral("Choose a printer")))
        << scriptedUi().messages[1].text.toStdString();

    const QString pdf = programDir.filePath(QStringLiteral("sheet.pdf"));
    choosePdfFile(dlg, pdf);
    dlg.OKButton_Click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("%PDF"));
}

} // namespace
