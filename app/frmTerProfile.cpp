// The Z view beside the top view: overview picture, colour bar and the side
// profile of one row or column; and the Z-range sliders with their metre boxes.

#include "app/frmTer.h"

#include "app/Profile.h"
#include "app/frmTerView.h"
#include "runtime/FormControls.h"
#include "runtime/Numbers.h"
#include "runtime/Ui.h"
#include "terrain/Palette.h"
#include "terrain/TerrainGlobals.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <functional>

namespace {

// Hands the overview picture's mouse to the window: moves read out the point
// under the mouse, clicks rebuild the view.
class OverviewMouse : public QObject {
public:
    OverviewMouse(QObject* parent, std::function<void(QMouseEvent*)> move, std::function<void()> click)
        : QObject(parent), m_move(std::move(move)), m_click(std::move(click))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseMove) m_move(static_cast<QMouseEvent*>(event));
        else if (event->type() == QEvent::MouseButtonRelease) m_click();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(QMouseEvent*)> m_move;
    std::function<void()> m_click;
};

// Bars of the metres profile; the raw profile keeps colour 256.
constexpr QRgb kMetresBarColour = qRgb(40, 90, 40);
constexpr QRgb kRawBarColour = qRgb(0, 1, 0);

// The picture size of a label, also before its first layout.
QSize pictureSize(QLabel* label, QSize fallback)
{
    const QSize s = label->contentsRect().size();
    return (s.width() > 8 && s.height() > 8) ? s : fallback;
}

} // namespace

void frmTer::connectProfile()
{
    optZView->setEnabled(true);
    frmZView->setScaledContents(true);
    PicZView->setScaledContents(true);
    PicColor->setScaledContents(true);
    connect(optZView, &QRadioButton::clicked, this, &frmTer::optZView_Click);
    connect(sldXView, &QSlider::valueChanged, this, &frmTer::sldXView_Change);
    connect(SldYView, &QSlider::valueChanged, this, &frmTer::SldYView_Change);
    connect(chkRealViewZ, &QCheckBox::clicked, this, [this] {
        optZView_Click();
        if (PicZ->isVisible()) ZView(ViewAxis == Profile::AlongRow ? sldXView->value() : SldYView->value());
    });
    PicZView->setMouseTracking(true);
    PicZView->installEventFilter(new OverviewMouse(
        PicZView,
        [this](QMouseEvent* e) {
            // The overview has the top view's scale: its pixels stand for terrain points.
            const double k = double(CurrentTerrain->Size()) / std::max(PicZView->width(), 1);
            Picture1_MouseMove(e->buttons(), e->modifiers(), e->position() * k);
        },
        [this] { optZView_Click(); }));

    connect(sldZMin, &QSlider::valueChanged, this, &frmTer::sldZMin_Change);
    connect(sldZMax, &QSlider::valueChanged, this, &frmTer::sldZMax_Change);
    connect(cmdZrangeReset, &QPushButton::clicked, this, &frmTer::cmdZrangeReset_Click);
    connect(txtZMin, &QLineEdit::editingFinished, this, [this] { txtZ_EditingFinished(txtZMin, sldZMin); });
    connect(txtZmax, &QLineEdit::editingFinished, this, [this] { txtZ_EditingFinished(txtZmax, sldZMax); });
}

void frmTer::optZView_Click()
{
    if (TerrainEmpty) {
        rt::MsgBox(QStringLiteral("Terrain empty !"), rt::vbOKOnly, QStringLiteral("Z-View"));
        OptXYView_Click();
        return;
    }
    clsTerrain& t = *CurrentTerrain;
    // The raw heights refined for the raw profile; the header may change
    // with them, and the panel must show it before anything reads its metres.
    t.ScaleTerrain();
    ActualScreen();
    rt::DoEvents();
    // The overview from the map as it is shown.
    picback = Picture1->image();
    PicZView->setPixmap(QPixmap::fromImage(picback));
    frmZView->clear();
    // The profile takes the top view's place.
    Picture1->hide();
    PicZ->show();
    optZView->setChecked(true);
    if (PicZ->layout()) PicZ->layout()->activate();
    // Colour bar: the highest colour at the top.
    PicColor->setPixmap(QPixmap::fromImage(Profile::colourBar(QSize(20, 256), paletteRowClamped())));
    lblColTblMax->setText(txtMaxTerrain->text() + QStringLiteral(" m"));
    lblColTblMin->setText(txtMinTerrain->text() + QStringLiteral(" m"));
    // The profile sliders reach the last full line; setting them must not draw yet.
    {
        const QSignalBlocker bx(sldXView);
        const QSignalBlocker by(SldYView);
        sldXView->setMaximum(std::max(t.Size() - 1, 0));
        SldYView->setMaximum(std::max(t.Size() - 1, 0));
    }
    // No tool stays active in the Z view.
    DeactEdit();
}

void frmTer::sldXView_Change()
{
    ViewAxis = Profile::AlongRow;
    ZView(sldXView->value());
}

void frmTer::SldYView_Change()
{
    ViewAxis = Profile::AlongColumn;
    ZView(SldYView->value());
}

void frmTer::ZView(int position)
{
    clsTerrain& t = *CurrentTerrain;
    lblZhigh->setText(txtMaxTerrain->text() + QStringLiteral(" m"));
    lblZlow->setText(txtMinTerrain->text() + QStringLiteral(" m"));
    lblColTblMax->setText(lblZhigh->text());
    lblColTblMin->setText(lblZlow->text());
    const QSize picture = pictureSize(frmZView, QSize(PicZ->width() - 12, 260));
    if (chkRealViewZ->isChecked()) {
        // Metres with true proportions.
        const Profile::Bars bars = Profile::metresProfile(t, position, ViewAxis, picture);
        lblZhigh->setText(rt::Format(bars.scaleHeight, QStringLiteral("##### m")));
        frmZView->setPixmap(QPixmap::fromImage(Profile::drawBars(bars, picture, kMetresBarColour)));
    } else {
        const auto bars = Profile::rawProfile(t, position, ViewAxis);
        if (!bars) {
            rt::MsgBox(QStringLiteral("Terrain flat"), rt::vbOKOnly, QStringLiteral("Z-view"));
            OptXYView_Click();
            return;
        }
        frmZView->setPixmap(QPixmap::fromImage(Profile::drawBars(*bars, picture, kRawBarColour)));
    }
    lblViewFrom->setText(ViewAxis == Profile::AlongRow ? QStringLiteral("X") : QStringLiteral("Y"));
}

// --- Z range --------------------------------------------------------------------

namespace {

void setSliderQuietly(QSlider* s, int value)
{
    const QSignalBlocker block(s);
    s->setValue(value);
}

} // namespace

void frmTer::sldZMin_Change()
{
    const auto r = Profile::afterMinChange({sldZMin->value(), sldZMax->value()}, sldZMin->maximum());
    setSliderQuietly(sldZMin, r.min);
    setSliderQuietly(sldZMax, r.max);
    showZBand();
}

void frmTer::sldZMax_Change()
{
    const auto r = Profile::afterMaxChange({sldZMin->value(), sldZMax->value()}, sldZMax->maximum());
    setSliderQuietly(sldZMin, r.min);
    setSliderQuietly(sldZMax, r.max);
    showZBand();
}

void frmTer::cmdZrangeReset_Click()
{
    setSliderQuietly(sldZMin, 0);
    setSliderQuietly(sldZMax, sldZMax->maximum());
    showZBand();
}

void frmTer::showZBand()
{
    rt::showText(txtZMin, Profile::metresText(*CurrentTerrain, sldZMin->value()));
    rt::showText(txtZmax, Profile::metresText(*CurrentTerrain, sldZMax->value()));
}

// Metres typed into a box move its slider; anything else is refused and the
// box shows the slider's value again, so the band never changes by accident.
void frmTer::txtZ_EditingFinished(QLineEdit* box, QSlider* slider)
{
    if (!rt::userEdited(box)) return;
    const auto value = Profile::sliderFromMetres(*CurrentTerrain, box->text(), slider->maximum());
    if (!value) {
        rt::MsgBox(QStringLiteral("Please enter a height in metres."), rt::vbOKOnly | rt::vbExclamation,
                   QStringLiteral("Z range"));
        showZBand();
        return;
    }
    if (slider->value() == *value) showZBand();
    else slider->setValue(*value);
}
