#include "app/view3DWidget.h"

#include "app/Ansicht3D.h"
#include "runtime/Ui.h"
#include "terrain/TerrainGlobals.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>

namespace {

constexpr QRgb PictureBack = qRgb(212, 208, 200);

// A colour swatch that reports clicks.
class SwatchLabel : public QLabel {
public:
    SwatchLabel(QRgb colour, std::function<void()> onClick, QWidget* parent)
        : QLabel(parent), m_onClick(std::move(onClick))
    {
        setFixedSize(24, 24);
        setFrameShape(QFrame::Box);
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, QColor::fromRgb(colour));
        setPalette(p);
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && m_onClick) m_onClick();
    }

private:
    std::function<void()> m_onClick;
};

} // namespace

QRgb view3DSwatchColour(int index)
{
    switch (index) {
    case 1: return qRgb(0, 192, 0);
    case 2: return qRgb(255, 0, 0);
    case 3: return qRgb(0, 192, 192);
    case 4: return qRgb(255, 255, 0);
    default: return qRgb(250, 250, 250);
    }
}

view3D::view3D(QWidget* parent)
    : QDialog(parent), FillColour(qRgb(250, 250, 250)), LineColour(qRgb(50, 50, 50))
{
    setObjectName(QStringLiteral("view3D"));
    setWindowTitle(QStringLiteral("3dView"));
    m_picture = QImage(PictureWidth, PictureHeight, QImage::Format_RGB32);
    m_picture.fill(PictureBack);

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFixedSize(PictureWidth, PictureHeight);

    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdlinks = new QPushButton(QStringLiteral("Redraw"), this);
    cmdlinks->setObjectName(QStringLiteral("cmdlinks"));
    cmdRechts = new QPushButton(QStringLiteral("Flip"), this);
    cmdRechts->setObjectName(QStringLiteral("cmdRechts"));
    for (auto* b : {cmdClose, cmdlinks, cmdRechts}) b->setAutoDefault(false);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdlinks, &QPushButton::clicked, this, [this] { cmdlinks_Click(); });
    connect(cmdRechts, &QPushButton::clicked, this, [this] { cmdRechts_Click(); });

    auto* buttons = new QHBoxLayout;
    for (int k = 1; k <= 5; ++k) {
        auto* label = new SwatchLabel(view3DSwatchColour(k), [this, k] { swatch_Click(k); }, this);
        label->setObjectName(QStringLiteral("Label%1").arg(k));
        Labels[k - 1] = label;
        buttons->addWidget(label);
    }
    buttons->addStretch(1);
    buttons->addWidget(cmdlinks);
    buttons->addWidget(cmdRechts);
    buttons->addWidget(cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Picture1);
    layout->addLayout(buttons);
    showPicture();
}

void view3D::setVisible(bool visible)
{
    // The load pumps events; a window pumped while it is being shown can
    // keep a stunted size, so it shows only once the picture is drawn.
    if (visible && !m_loaded) Form_Load();
    QDialog::setVisible(visible);
}

void view3D::Form_Load()
{
    m_loaded = true;
    FillColour = qRgb(250, 250, 250);
    LineColour = qRgb(50, 50, 50);
    // Sizes other than 128..2048 get a fractional step, so the picture still
    // spans the whole terrain in 128 cells.
    SampleStep = Ansicht3D::SampleStepFor(CurrentTerrain->Size());
    m_picture.fill(PictureBack);
    m_picture.setPixel(0, 0, qRgb(0, 0, 0));
    showPicture();
    rt::DoEvents();
    cmdlinks_Click();
}

void view3D::zeichne()
{
    Heights = Ansicht3D::SampleTerrain3D(*CurrentTerrain, SampleStep, [] { rt::DoEvents(); });
    ZeichneTerrain();
}

void view3D::ZeichneTerrain()
{
    m_picture.fill(PictureBack);
    const int32_t n = Ansicht3D::ViewCells;
    Ansicht3D::DrawTerrain3D(m_picture, 1, 60, 2, 2, n, n, FillColour, LineColour, Heights, 20.0);
    showPicture();
}

void view3D::cmdRechts_Click()
{
    Ansicht3D::FlipHeights180(Heights);
    ZeichneTerrain();
}

void view3D::swatch_Click(int index)
{
    FillColour = view3DSwatchColour(index);
    ZeichneTerrain();
}

void view3D::showPicture()
{
    Picture1->setPixmap(QPixmap::fromImage(m_picture));
}
