#pragma once
// frmElevator, "Elevator shift": the user draws the elevator curve with the
// mouse and keeps named curves in the elevator set file.

#include <QDialog>
#include <QWidget>

#include <functional>
#include <optional>

class QListWidget;
class QPushButton;

// The drawing box: grid coordinates 0..N in both directions, row 0 at the top.
class ElevatorBox : public QWidget {
public:
    explicit ElevatorBox(QWidget* parent = nullptr);
    // Grid point under a position in the box, kept to 0..N.
    QPoint gridPoint(QPointF pos) const;
    std::function<void(Qt::MouseButton, QPoint)> mouseDown;
    std::function<void(Qt::MouseButtons, QPoint)> mouseMove;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

class frmElevator : public QDialog {
public:
    explicit frmElevator(QWidget* parent = nullptr);

    ElevatorBox* PicElevator = nullptr;
    QListWidget* List1 = nullptr;
    QPushButton* cmdAddElevatorSet = nullptr;
    QPushButton* cmdElevatorSave = nullptr;
    QPushButton* cmdReset = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

    // Asks for a text (prompt, title); nullopt when cancelled. Tests replace it.
    static std::function<std::optional<QString>(const QString&, const QString&)> InputBox;

    void Form_Load();
    void RedrawLine();
    void PicElevator_MouseDown(Qt::MouseButton button, QPoint p);
    void PicElevator_MouseMove(Qt::MouseButtons buttons, QPoint p);
    void List1_Click();
    void cmdAddElevatorSet_Click();
    void cmdElevatorSave_Click();
    void cmdReset_Click();
    void OKButton_Click();
    void CancelButton_Click();

private:
    // Loads set n into the grid; a refused set is reported.
    void loadSet(int n);
};

// Opens frmElevator from the effects panel's button.
void installElevatorDialog(QWidget* mainWindow, QPushButton* cmdElevatorPar);
