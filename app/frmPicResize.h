#pragma once
// "Picture Resize": the grid size a picture of another height is imported at.

#include <QDialog>

#include <array>

class QPushButton;
class QRadioButton;

class frmPicResize : public QDialog {
    Q_OBJECT
public:
    // Preselects the grid size nearest to a picture of this height.
    explicit frmPicResize(int pictureHeight, QWidget* parent = nullptr);

    // Grid points chosen (129 .. 2049); 0 when cancelled or closed.
    int gridPoints() const { return m_gridPoints; }

    // Shows the dialog modally and returns gridPoints().
    static int runPicResize(int pictureHeight, QWidget* parent = nullptr);

    // Option index preselected for a picture of height h.
    static int preselectedIndex(int h);
    // Grid points of option index i: 129, 257, 513, 1025, 2049.
    static int pointsForIndex(int i);

    std::array<QRadioButton*, 5> Option1 = {};
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;

private:
    void Command1_Click();
    int m_gridPoints = 0;
};
