#pragma once
// "Print": the terrain view and a short sheet of the terrain's settings on
// the printer.

#include <QDialog>
#include <QImage>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QPrinter;
class QPushButton;

namespace PrintSheet {

// The sheet's lines in order; the first is printed at 8 points, the rest at 12.
QStringList settingsLines(const QString& terrainFileName, int yPoints, float scaleT);

struct Content {
    bool terrain = true;    // the view picture
    bool settings = true;   // the settings lines
};

// True when the printer writes a PDF file rather than printing.
bool printsToFile(const QPrinter& printer);

// Prints copies pages, each with the chosen content: the lines from 900
// twips left and 300 twips down, the picture at a quarter of the page height
// at its screen size, shrunk (aspect kept) where it would leave the page.
// A PDF file is written whole or not at all, so a failure keeps an older file.
// False, with the reason in *error, when the printer could not be started or
// the file could not be written.
bool printSheet(QPrinter& printer, const Content& content, int copies, const QStringList& lines,
                const QImage& view, QString* error = nullptr);

} // namespace PrintSheet

class dlgPrint : public QDialog {
    Q_OBJECT
public:
    explicit dlgPrint(QWidget* parent = nullptr);
    ~dlgPrint() override;

    void cmdPrinter_Click();
    void OKButton_Click();

    // The printer used; tests point it at a PDF file.
    QPrinter& printer() { return *m_printer; }
    // Shows the printer choice; true when confirmed. Tests replace it.
    std::function<bool(QPrinter&)> printerDialog;

    QLabel* Label1 = nullptr;
    std::array<QCheckBox*, 4> Check1 = {};  // indices 0, 1 and 3
    QLabel* Label2 = nullptr;
    QPushButton* cmdPrinter = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

private:
    void showPrinterName();
    void renewPrinter();
    std::unique_ptr<QPrinter> m_printer;
};
