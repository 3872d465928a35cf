#include "app/frmAbout.h"

#include "app/AppState.h"
#include "runtime/Numbers.h"
#include "terrain/Palette.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include <cmath>

// A small landscape picture: layered hills in the woodland colours.
QPixmap frmAbout::productPicture()
{
    QPixmap pm(112, 112);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 112);
    sky.setColorAt(0, QColor(0x9C, 0xC8, 0xF0));
    sky.setColorAt(1, QColor(0xE8, 0xF2, 0xFC));
    QPainterPath frame;
    frame.addRoundedRect(QRectF(2, 2, 108, 108), 12, 12);
    p.fillPath(frame, sky);
    p.setClipPath(frame);
    const QColor layers[] = {QColor(0x80, 0x80, 0x7D), QColor(0x49, 0x92, 0x38), QColor(0x1F, 0x5D, 0x09)};
    const double base[] = {58, 74, 90};
    for (int l = 0; l < 3; ++l) {
        QPainterPath hill;
        hill.moveTo(0, 112);
        for (int x = 0; x <= 112; x += 4) {
            const double y = base[l] - 16.0 * std::sin((x + 30 * l) / (14.0 + 5 * l)) - 8.0 * std::sin(x / 7.0 + l);
            hill.lineTo(x, y);
        }
        hill.lineTo(112, 112);
        hill.closeSubpath();
        p.fillPath(hill, layers[l]);
    }
    p.setClipping(false);
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.5));
    p.drawPath(frame);
    return pm;
}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setModal(true);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(productPicture());

    Label2 = new QLabel(QStringLiteral("Kelvarinor"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont big = Label2->font();
    big.setPointSizeF(big.pointSizeF() * 2.2);
    big.setBold(true);
    Label2->setFont(big);

    Label1 = new QLabel(QStringLiteral("Version"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    lblversion = new QLabel(this);
    lblversion->setObjectName(QStringLiteral("lblversion"));

    auto* Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);

    auto* subtitle = new QLabel(QStringLiteral("Terrain editor for height fields"), this);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(20, 20, 24, 20);
    grid->setHorizontalSpacing(20);
    grid->addWidget(Image1, 0, 0, 4, 1, Qt::AlignTop);
    grid->addWidget(Label2, 0, 1, 1, 2);
    grid->addWidget(subtitle, 1, 1, 1, 2);
    grid->addWidget(Line1, 2, 1, 1, 2);
    grid->addWidget(Label1, 3, 1, Qt::AlignTop);
    grid->addWidget(lblversion, 3, 2, Qt::AlignTop);
    grid->setColumnStretch(2, 1);

    for (QWidget* w : {static_cast<QWidget*>(Image1), static_cast<QWidget*>(Label2)}) w->installEventFilter(this);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(3000);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &frmAbout::closeSplash);

    Form_Load();
}

QString frmAbout::versionText(int major, int minor, int revision)
{
    const QString f = QStringLiteral("##");
    return rt::Format(major, f) + QStringLiteral(".") + rt::Format(minor, f) + QStringLiteral("  Rev.") +
           rt::Format(revision, f);
}

void frmAbout::Form_Load()
{
    const ProgramVersion v = programVersion();
    lblversion->setText(versionText(v.major, v.minor, v.revision));
    Timer1->start();
}

void frmAbout::closeSplash()
{
    Timer1->stop();
    accept();
}

void frmAbout::mousePressEvent(QMouseEvent* event)
{
    QDialog::mousePressEvent(event);
    closeSplash();
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress && (watched == Image1 || watched == Label2)) {
        closeSplash();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
