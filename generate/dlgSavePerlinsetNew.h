#pragma once
// "Sichere Perlinset Neu": names the current terrain and saves it, rescaled to
// the full height range, as a perlin-set file (*.KPS).

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class dlgSavePerlinsetNew : public QDialog {
    Q_OBJECT
public:
    explicit dlgSavePerlinsetNew(QWidget* parent = nullptr);

    // A blank name does nothing; otherwise saves and closes (also when the
    // file dialog was cancelled).
    void OKButton_Click();

    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
};

// Asks for the file, rescales the current terrain and writes it under name.
// False when cancelled (terrain untouched) or when the write failed (said in
// a message; an older file of that name stays as it was).
bool SavePerlinSet(const QString& name);
