#include "generate/dlgGenModify.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const char* const kCaptions[] = {"Add", "Subtraction", "Multiplication", "Division", "highest", "lowest"};

} // namespace

dlgGenModify::dlgGenModify(int16_t mode, QWidget* parent) : QDialog(parent), m_mode(mode)
{
    setObjectName(QStringLiteral("dlgGenModify"));
    setWindowTitle(QStringLiteral("Modify Terrain"));
    auto* options = new QGroupBox(QStringLiteral("Options"), this);
    options->setObjectName(QStringLiteral("Frame1"));
    auto* ov = new QVBoxLayout(options);
    // Exclusive by hand: an exclusive group could not show "none selected"
    // for a mode without an option.
    auto* group = new QButtonGroup(this);
    group->setExclusive(false);
    for (int i = 1; i <= 6; ++i) {
        auto* o = new QRadioButton(QString::fromLatin1(kCaptions[i - 1]), options);
        o->setObjectName(QStringLiteral("optModifyTerrain_%1").arg(i));
        o->setAutoExclusive(false);
        // Multiplication and Division are offered greyed.
        o->setEnabled(i != 3 && i != 4);
        o->setChecked(i == mode);
        connect(o, &QRadioButton::clicked, this, [this, i] {
            for (int k = 1; k <= 6; ++k) optModifyTerrain[size_t(k)]->setChecked(k == i);
        });
        group->addButton(o, i);
        ov->addWidget(o);
        optModifyTerrain[size_t(i)] = o;
    }
    auto* info = new QGroupBox(QStringLiteral("Info"), this);
    info->setObjectName(QStringLiteral("Frame2"));
    auto* iv = new QVBoxLayout(info);
    auto* text = new QLabel(QStringLiteral("Setting the option to the calculation the overlaying terrain"), info);
    text->setWordWrap(true);
    iv->addWidget(text);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    connect(OKButton, &QPushButton::clicked, this, &dlgGenModify::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    buttons->addStretch();
    auto* left = new QVBoxLayout;
    left->addWidget(options);
    left->addWidget(info);
    auto* top = new QHBoxLayout(this);
    top->addLayout(left);
    top->addLayout(buttons);
}

void dlgGenModify::OKButton_Click()
{
    for (int i = 1; i <= 6; ++i) {
        if (optModifyTerrain[size_t(i)]->isChecked()) {
            m_mode = int16_t(i);
            break;
        }
    }
    accept();
}

int16_t dlgGenModify::runGenModify(int16_t mode, QWidget* parent)
{
    dlgGenModify dialog(mode, parent);
    dialog.exec();
    return dialog.chosenMode();
}
