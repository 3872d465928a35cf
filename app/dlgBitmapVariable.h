#pragma once
// "Bitmap size": the side length in pixels of a bitmap export.

#include <QDialog>

#include <optional>

class QLineEdit;
class QPushButton;

class dlgBitmapVariable : public QDialog {
    Q_OBJECT
public:
    // Opens with the terrain's Size in Text1.
    explicit dlgBitmapVariable(int gridSize, QWidget* parent = nullptr);

    // The side in pixels; 0 when the dialog was cancelled or closed.
    int bitmapSize() const { return m_bitmapSize; }

    // Shows the dialog modally and returns bitmapSize().
    static int runBitmapVariable(int gridSize, QWidget* parent = nullptr);

    // The largest side accepted: a bigger picture would not fit in memory.
    static constexpr int MaxSide = 8192;
    // The side an entry gives (its leading number, halves to even), or nothing
    // when it lies outside 1 .. MaxSide.
    static std::optional<int> sizeFromText(const QString& text);

    QLineEdit* Text1 = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

private:
    void OKButton_Click();
    int m_bitmapSize = 0;
};
