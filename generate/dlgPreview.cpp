#include "generate/dlgPreview.h"

#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The preview grid (129 or 257 points) shown at a size that is easy to look at.
constexpr int kShownSide = 400;

} // namespace

dlgPreview::dlgPreview(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgPreview"));
    setWindowTitle(QStringLiteral("Preview"));
    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFixedSize(kShownSide, kShownSide);
    Picture1->setScaledContents(true);
    Picture1->setStyleSheet(QStringLiteral("background: black"));
    Picture1->installEventFilter(this);
    OKButton = new QPushButton(QStringLiteral("&close"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    auto* v = new QVBoxLayout(this);
    v->addWidget(Picture1);
    v->addWidget(OKButton, 0, Qt::AlignHCenter);
}

void dlgPreview::setPicture(const QImage& picture)
{
    Picture1->setPixmap(QPixmap::fromImage(picture));
}

bool dlgPreview::eventFilter(QObject* watched, QEvent* event)
{
    // A click on the picture closes the preview, like the button.
    if (watched == Picture1 && event->type() == QEvent::MouseButtonRelease) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void dlgPreview::runPreview(const QImage& picture, QWidget* parent)
{
    dlgPreview dialog(parent);
    dialog.setPicture(picture);
    dialog.exec();
}
