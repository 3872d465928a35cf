#pragma once
// "Mask Picture": the current terrain as a black-and-white mask, decided point
// by point by its view colour or by a band of raw heights, saved as a bitmap.

#include "terrain/clsTerrain.h"

#include <QDialog>
#include <QImage>

#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

namespace MaskPicture {

enum class Rule { White = 0, Black = 1, Range = 2 };

// The mask of ter, one pixel per point (XPoints x YPoints), each exactly white
// or black. view holds the view colours one pixel per point; points outside it
// count as black. progress gets 100 * y / height per row (may be empty).
// White: colour above RGB(250, 250, 250) or height above 32760.
// Black: colour below 5 or height below -32760 is black, the rest white.
// Range: from < height < to (both exclusive) is white.
QImage makeMask(const clsTerrain& ter, const QImage& view, Rule rule, int32_t from, int32_t to,
                const std::function<void(int)>& progress = {});

} // namespace MaskPicture

class dlgMaskColor : public QDialog {
    Q_OBJECT
public:
    explicit dlgMaskColor(QWidget* parent = nullptr);

    void OKButton_Click();
    void cmdSave_Click();
    void sldFrom_Change();
    void sldTo_Change();

    const QImage& mask() const { return m_mask; }

    std::array<QRadioButton*, 3> optColorMask = {};
    QSlider* sldFrom = nullptr;
    QSlider* sldTo = nullptr;
    QLineEdit* txtFrom = nullptr;
    QLineEdit* txtTo = nullptr;
    QLabel* pcColor = nullptr;
    QLabel* mPicture = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* CancelButton = nullptr;

private:
    MaskPicture::Rule chosenRule() const;
    void showMetres();
    void setButtonsEnabled(bool enabled);
    QImage m_mask;
};
