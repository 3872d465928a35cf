#pragma once
// "Options": grid size of a new terrain, resize mode, colour scheme, the main
// window's back colour, the three folders, and the link of *.ter files to the
// editor in the desktop's file-type database.

#include <QDialog>
#include <QRgb>
#include <QString>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace Options {

// The values the dialog edits, as the settings file holds them.
struct Values {
    int optTer = 1;       // 0..4: 128 .. 2048
    int resizeMode = 1;   // 1 bilinear, 2 pixel repetition
    int paletteRow = 0;   // colour scheme, 0..7
};

// [Start] OptTer, optzoom and color; values that are no number or lie outside
// the choices fall back to 257 points, bilinear and the first scheme.
Values readValues();
// Writes [Start] OptTer, optzoom, color and BackColor (red + 256 green +
// 65536 blue), numbers with a blank before them.
void writeValues(const Values& v, QRgb backColour);

// One folder row: the browser's title, the key in [directory].
struct FolderRow {
    const char* title;
    const char* key;
};
extern const FolderRow FolderRows[3];

// Lets the user choose the row's folder; writes it under its key and returns
// it, or returns "" (nothing written) when cancelled.
QString chooseFolder(int row);

// Links *.ter files to the program for the current user: a shared-mime-info
// package for the type and a desktop entry that opens the file, under
// dataHome (normally ~/.local/share); then asks the desktop databases to
// update when their tools exist. False with the reason in *error.
bool registerTerFiles(const QString& dataHome, const QString& program, QString* error = nullptr);
QString defaultDataHome();

// The desktop entry's Exec value for program with one file argument.
QString desktopExec(const QString& program);

} // namespace Options

class dlgOptions : public QDialog {
    Q_OBJECT
public:
    // backTarget: the main window's widget whose back colour the dialog edits.
    explicit dlgOptions(QWidget* backTarget, QWidget* parent = nullptr);

    void OKButton_Click();
    void CancelButton_Click();
    void cmdSelectColor_Click();
    void browse_Click(int row);  // 0 command1, 1 Command2, 2 Command3
    void chkRegTERFile_Click();
    // Escape and the window's close button cancel like the Cancel button.
    void reject() override;

    std::array<QRadioButton*, 5> Option1 = {};
    std::array<QRadioButton*, 3> Option2 = {};  // indices 1 and 2
    QListWidget* List1 = nullptr;
    QLabel* shColor = nullptr;
    QPushButton* cmdSelectColor = nullptr;
    std::array<QLineEdit*, 3> folderText = {};        // Text1, Text2, Text3
    std::array<QPushButton*, 3> folderButton = {};    // command1, Command2, Command3
    QCheckBox* chkRegTERFile = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QTabWidget* ssTabOptions = nullptr;

private:
    QRgb backColour() const;
    void setBackColour(QRgb c);
    QWidget* m_backTarget;
    QRgb m_swatch;
};
