#include "app/frmPicResize.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

frmPicResize::frmPicResize(int pictureHeight, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPicResize"));
    setWindowTitle(QStringLiteral("Picture Resize"));
    auto* layout = new QVBoxLayout(this);
    auto* frame = new QGroupBox(QStringLiteral("Terrain Grid Points"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* options = new QVBoxLayout(frame);
    static const char* const captions[] = {"128x128", "256x256", "512x512", "1024x1024", "2048x2048"};
    for (int i = 0; i < int(Option1.size()); ++i) {
        auto* o = new QRadioButton(QString::fromLatin1(captions[i]), frame);
        o->setObjectName(QStringLiteral("Option1_%1").arg(i));
        options->addWidget(o);
        Option1[size_t(i)] = o;
    }
    Option1[size_t(preselectedIndex(pictureHeight))]->setChecked(true);
    layout->addWidget(frame);

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    layout->addLayout(buttons);

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
}

int frmPicResize::preselectedIndex(int h)
{
    if (h > 800) return 3;
    if (h > 400) return 2;
    if (h > 180) return 1;
    return 0;
}

int frmPicResize::pointsForIndex(int i)
{
    static const int points[] = {129, 257, 513, 1025, 2049};
    return i >= 0 && i < 5 ? points[i] : 0;
}

void frmPicResize::Command1_Click()
{
    for (int i = 0; i < int(Option1.size()); ++i)
        if (Option1[size_t(i)]->isChecked()) m_gridPoints = pointsForIndex(i);
    accept();
}

int frmPicResize::runPicResize(int pictureHeight, QWidget* parent)
{
    frmPicResize dialog(pictureHeight, parent ? parent : QApplication::activeWindow());
    dialog.exec();
    return dialog.gridPoints();
}
