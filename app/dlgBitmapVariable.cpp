#include "app/dlgBitmapVariable.h"

#include "runtime/FormControls.h"
#include "runtime/Numbers.h"
#include "runtime/Ui.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

dlgBitmapVariable::dlgBitmapVariable(int gridSize, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgBitmapVariable"));
    setWindowTitle(QStringLiteral("Bitmap size"));
    auto* grid = new QGridLayout(this);
    auto* label1 = new QLabel(QStringLiteral("Size X/Y"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    Text1 = new QLineEdit(QString::number(gridSize), this);
    Text1->setObjectName(QStringLiteral("Text1"));
    auto* label2 = new QLabel(QStringLiteral("Pixel in square"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    grid->addWidget(label1, 0, 0);
    grid->addWidget(Text1, 0, 1);
    grid->addWidget(label2, 0, 2);

    grid->addLayout(rt::okCancelRow(this, OKButton, QStringLiteral("Save"), CancelButton, QStringLiteral("Cancel")), 1,
                    0, 1, 3);
    OKButton->setDefault(true);

    connect(OKButton, &QPushButton::clicked, this, [this] { OKButton_Click(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<int> dlgBitmapVariable::sizeFromText(const QString& text)
{
    const double v = rt::Val(text);
    if (!(v >= 0.5) || v > MaxSide + 0.5) return std::nullopt;
    const auto side = rt::roundHalfEven(v);
    if (side < 1 || side > MaxSide) return std::nullopt;
    return int(side);
}

void dlgBitmapVariable::OKButton_Click()
{
    const std::optional<int> side = sizeFromText(Text1->text());
    if (!side) {
        // Nonsense stays in the box for the user to correct.
        rt::MsgBox(QStringLiteral("Please enter a size from 1 to %1 pixels.").arg(MaxSide),
                   rt::vbOKOnly | rt::vbExclamation, QStringLiteral("Bitmap size"));
        return;
    }
    m_bitmapSize = *side;
    accept();
}

int dlgBitmapVariable::runBitmapVariable(int gridSize, QWidget* parent)
{
    dlgBitmapVariable dialog(gridSize, parent ? parent : QApplication::activeWindow());
    dialog.exec();
    return dialog.bitmapSize();
}
