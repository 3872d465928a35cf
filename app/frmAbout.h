#pragma once
// The about box, also shown as the splash at start: it closes itself after
// three seconds or at the first click on the form, the picture or the title.

#include <QDialog>
#include <QPixmap>

class QLabel;
class QTimer;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    // "1.0  Rev.1": each number formatted "##", so a 0 gives no digits.
    static QString versionText(int major, int minor, int revision);

    QTimer* timer() const { return Timer1; }
    // The product picture, also the windows' icon.
    static QPixmap productPicture();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void closeSplash();

    QLabel* Image1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblversion = nullptr;
    QTimer* Timer1 = nullptr;
};
