#pragma once
// "Save as": the choice between a TER file and the two kinds of bitmap.

#include <QDialog>

class QPushButton;

namespace rt {
class QtUi;
}

class dlgSaveAs : public QDialog {
    Q_OBJECT
public:
    explicit dlgSaveAs(QWidget* parent = nullptr);

    // The chosen FileCommands::SaveTypes value; 0 until a choice is made, so
    // Cancel, Escape and the title bar's close button all give 0.
    int saveType() const { return m_saveType; }

    // Shows the dialog modally and returns the chosen save type.
    static int runSaveAs(QWidget* parent = nullptr);

    QPushButton* OKButton = nullptr;
    QPushButton* cmdBMP = nullptr;
    QPushButton* cmdBMPvariable = nullptr;
    QPushButton* CancelButton = nullptr;

private:
    void choose(int type);
    int m_saveType = 0;
};

// Makes the service's save-type, bitmap-size and picture-resize questions
// show dlgSaveAs, dlgBitmapVariable and frmPicResize. The program calls it
// once at start, before the first command.
void installFileCommandDialogs(rt::QtUi& ui);
