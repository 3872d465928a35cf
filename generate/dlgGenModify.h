#pragma once
// "Modify Terrain": how a generated terrain combines with the existing one.

#include <QDialog>

#include <array>
#include <cstdint>

class QPushButton;
class QRadioButton;

class dlgGenModify : public QDialog {
    Q_OBJECT
public:
    // Selects the option of mode; a mode without an option selects none.
    explicit dlgGenModify(int16_t mode, QWidget* parent = nullptr);

    // The first selected option's index (1..6), or the mode the dialog
    // opened with when none is selected or the dialog was cancelled.
    int16_t chosenMode() const { return m_mode; }

    // Shows the dialog modally and returns the combine mode to use.
    static int16_t runGenModify(int16_t mode, QWidget* parent = nullptr);

    std::array<QRadioButton*, 7> optModifyTerrain = {};  // 1..6; 0 unused
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

private:
    void OKButton_Click();
    int16_t m_mode;
};
