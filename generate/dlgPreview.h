#pragma once
// "Preview": shows a generated terrain picture until closed.

#include <QDialog>
#include <QImage>

class QLabel;
class QPushButton;

class dlgPreview : public QDialog {
    Q_OBJECT
public:
    explicit dlgPreview(QWidget* parent = nullptr);

    // The picture shown in Picture1.
    void setPicture(const QImage& picture);

    // Shows picture modally.
    static void runPreview(const QImage& picture, QWidget* parent = nullptr);

    QLabel* Picture1 = nullptr;
    QPushButton* OKButton = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
