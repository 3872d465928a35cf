#include "app/dlgPrint.h"

#include "app/AppState.h"
#include "runtime/ByteIO.h"
#include "runtime/FormControls.h"
#include "runtime/Numbers.h"
#include "runtime/Ui.h"
#include "terrain/TerrainGlobals.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

#include "app/frmTer.h"
#include "app/frmTerView.h"

namespace PrintSheet {

QStringList settingsLines(const QString& terrainFileName, int yPoints, float scaleT)
{
    const ProgramVersion v = programVersion();
    const QString rule(53, QLatin1Char('_'));
    return {
        QStringLiteral("Kelvarinor V%1.%2.%3").arg(v.major).arg(v.minor).arg(v.revision),
        rule,
        QStringLiteral("  "),
        QStringLiteral("                              Settings on Terrain"),
        QStringLiteral("    "),
        QStringLiteral("Name :") + terrainFileName,
        QStringLiteral("    "),
        QStringLiteral("Size           :") + rt::Str(yPoints) + QStringLiteral(" x ") + rt::Str(yPoints) +
            QStringLiteral(" Pixel"),
        QStringLiteral("Height Scale   : ") + rt::Str(scaleT) + QStringLiteral(" m"),
        QStringLiteral("Landscape Area : ") + rt::Format(double(yPoints - 1) * double(scaleT), QStringLiteral("####### m")),
        QStringLiteral("    "),
        QStringLiteral("Note    "),
        rule,
        rule,
    };
}

namespace {

double twips(const QPagedPaintDevice& device, double t)
{
    return t * device.logicalDpiY() / 1440.0;
}

void printPage(QPainter& painter, QPagedPaintDevice& device, const Content& content, const QStringList& lines,
               const QImage& view)
{
    // The page's printable area, moved by the scale origin (-900, -300) twips.
    const double left = twips(device, 900);
    const double top = twips(device, 300);
    double y = top;
    if (content.settings) {
        QFont font(QStringLiteral("Arial"));
        font.setPointSizeF(8);
        for (qsizetype k = 0; k < lines.size(); ++k) {
            painter.setFont(font);
            const QFontMetricsF metrics(font, &device);
            painter.drawText(QPointF(left, y + metrics.ascent()), lines[k]);
            y += metrics.height();
            if (k == 0) font.setPointSizeF(12);
        }
    }
    if (content.terrain && !view.isNull()) {
        const QRectF page = device.pageLayout().paintRectPixels(device.logicalDpiY());
        // Screen size: one pixel is 15 twips.
        QSizeF size(twips(device, 15.0 * view.width()), twips(device, 15.0 * view.height()));
        // A quarter page down from the shifted origin; a font with tall lines
        // pushes it further down, so it never covers the settings lines.
        const double pictureTop = std::max(top + page.height() / 4, y);
        const double pictureLeft = left + twips(device, 20);
        // A picture larger than the rest of the page shrinks to fit it.
        const QSizeF room(std::max(page.width() - pictureLeft, 0.0), std::max(page.height() - pictureTop, 0.0));
        if (size.width() > room.width() || size.height() > room.height()) size.scale(room, Qt::KeepAspectRatio);
        painter.drawImage(QRectF(QPointF(pictureLeft, pictureTop), size), view);
    }
}

bool paintSheet(QPagedPaintDevice& device, const Content& content, int copies, const QStringList& lines,
                const QImage& view)
{
    QPainter painter;
    if (!painter.begin(&device)) return false;
    for (int copy = 0; copy < copies; ++copy) {
        if (copy > 0 && !device.newPage()) return false;
        printPage(painter, device, content, lines, view);
    }
    return painter.end();
}

// The PDF the printer would write, made in memory with the printer's page.
std::optional<QByteArray> pdfSheet(const QPrinter& printer, const Content& content, int copies,
                                   const QStringList& lines, const QImage& view)
{
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(printer.resolution());
    writer.setPageLayout(printer.pageLayout());
    writer.setTitle(printer.docName());
    writer.setCreator(printer.creator());
    if (!paintSheet(writer, content, copies, lines, view)) return std::nullopt;
    return pdf;
}

} // namespace

bool printsToFile(const QPrinter& printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
}

bool printSheet(QPrinter& printer, const Content& content, int copies, const QStringList& lines, const QImage& view,
                QString* error)
{
    if (!printsToFile(printer)) {
        if (paintSheet(printer, content, copies, lines, view)) return true;
        if (error) *error = QStringLiteral("The printer could not be started.");
        return false;
    }
    // Written whole through a temporary file: a full disk keeps the old file.
    const auto pdf = pdfSheet(printer, content, copies, lines, view);
    if (!pdf) {
        if (error) *error = QStringLiteral("The sheet could not be drawn.");
        return false;
    }
    return rt::writeFileAtomic(printer.outputFileName(), *pdf, error);
}

} // namespace PrintSheet

dlgPrint::dlgPrint(QWidget* parent) : QDialog(parent), m_printer(std::make_unique<QPrinter>())
{
    setObjectName(QStringLiteral("dlgPrint"));
    setWindowTitle(QStringLiteral("Print"));
    printerDialog = [this](QPrinter& p) {
        QPrintDialog dialog(&p, this);
        dialog.setWindowTitle(QStringLiteral("Setting Printer"));
        return dialog.exec() == QDialog::Accepted;
    };

    Label1 = new QLabel(QStringLiteral("Print Terrain and Setting "), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    const std::pair<int, const char*> boxes[] = {{0, "Terrain"}, {1, "Terrain Settings"}, {3, "fit to Papersize"}};
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    for (const auto& [index, caption] : boxes) {
        auto* box = new QCheckBox(QString::fromLatin1(caption), this);
        box->setObjectName(QStringLiteral("Check1_%1").arg(index));
        box->setChecked(index != 3);
        Check1[size_t(index)] = box;
        layout->addWidget(box);
    }
    // The picture keeps its screen size unless that would leave the page.
    Check1[3]->setEnabled(false);
    Label2 = new QLabel(QStringLiteral("kein"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    cmdPrinter = new QPushButton(QStringLiteral("Printer..."), this);
    cmdPrinter->setObjectName(QStringLiteral("cmdPrinter"));
    auto* printerRow = new QHBoxLayout;
    printerRow->addWidget(Label2, 1);
    printerRow->addWidget(cmdPrinter);
    layout->addLayout(printerRow);
    layout->addLayout(
        rt::okCancelRow(this, OKButton, QStringLiteral("&Print"), CancelButton, QStringLiteral("&Cancel")));

    connect(cmdPrinter, &QPushButton::clicked, this, [this] { cmdPrinter_Click(); });
    connect(OKButton, &QPushButton::clicked, this, [this] { OKButton_Click(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    showPrinterName();
}

dlgPrint::~dlgPrint() = default;

void dlgPrint::showPrinterName()
{
    const QString name = m_printer->outputFormat() == QPrinter::PdfFormat ? m_printer->outputFileName()
                                                                         : m_printer->printerName();
    Label2->setText(name.isEmpty() ? QStringLiteral("kein") : name);
}

void dlgPrint::cmdPrinter_Click()
{
    if (printerDialog && printerDialog(*m_printer)) showPrinterName();
}

void dlgPrint::OKButton_Click()
{
    // The printer makes the copies itself only when asked; here each copy is a page of its own.
    const int copies = std::max(m_printer->copyCount(), 1);
    m_printer->setCopyCount(1);
    PrintSheet::Content content;
    content.terrain = Check1[0]->isChecked();
    content.settings = Check1[1]->isChecked();
    QImage view;
    if (auto* main = qobject_cast<frmTer*>(parentWidget())) view = main->Picture1->image();
    const QStringList lines =
        PrintSheet::settingsLines(TerrainFileName, CurrentTerrain->YPoints(), CurrentTerrain->ScaleT());
    QString error;
    if (PrintSheet::printSheet(*m_printer, content, copies, lines, view, &error)) {
        accept();
        return;
    }
    if (PrintSheet::printsToFile(*m_printer)) {
        rt::MsgBox(QStringLiteral("The sheet could not be printed to %1: %2\nChoose another file or a printer with "
                                  "\"Printer...\".")
                       .arg(QDir::toNativeSeparators(m_printer->outputFileName()), error),
                   rt::vbOKOnly | rt::vbExclamation, QStringLiteral("Print"));
        return;
    }
    rt::MsgBox(QStringLiteral("The printer could not print the sheet. Choose a printer with \"Printer...\"."),
               rt::vbOKOnly | rt::vbExclamation, QStringLiteral("Print"));
    renewPrinter();
}

void dlgPrint::renewPrinter()
{
    // A printer that failed to start stays active and refuses every later
    // change, so the next choice is made on a fresh one with the same page.
    auto fresh = std::make_unique<QPrinter>();
    fresh->setPageLayout(m_printer->pageLayout());
    m_printer = std::move(fresh);
    showPrinterName();
}
