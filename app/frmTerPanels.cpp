// The Global tab (planet and landscape boxes, presets, grid resize), the
// brush-height read-outs of the Edit tab, the tab change and the Effects tab.

#include "app/frmTer.h"

#include "app/AppState.h"
#include "app/Panels.h"
#include "runtime/FormControls.h"
#include "runtime/Numbers.h"
#include "runtime/Ui.h"
#include "terrain/Palette.h"
#include "terrain/STDIO.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/clsTerrain.h"

#include <QCheckBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>

#include <algorithm>
#include <functional>
#include <utility>

namespace {

// The character code a key press types: 8 backspace, 13 Enter, 0 for keys
// that type nothing (arrows, Delete, shortcuts), which always pass.
int typedAscii(const QKeyEvent& e)
{
    if (e.key() == Qt::Key_Backspace) return 8;
    if (e.key() == Qt::Key_Return || e.key() == Qt::Key_Enter) return 13;
    if (e.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return 0;
    const QString t = e.text();
    if (t.isEmpty() || t.at(0).unicode() < 32) return 0;
    return t.at(0).unicode();
}

// Drops the keys the numeric key filter refuses; the radius box also clamps
// its text before each key.
class NumericKeys : public QObject {
public:
    NumericKeys(QObject* parent, bool clampRadius) : QObject(parent), m_clampRadius(clampRadius) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) return false;
        auto* box = qobject_cast<QLineEdit*>(watched);
        const int ascii = typedAscii(*static_cast<QKeyEvent*>(event));
        if (!box || ascii == 0) return false;
        const bool passes = STDIO::IsNumericKey(box->text(), ascii);
        if (m_clampRadius) {
            QString text = box->text();
            STDIO::ClampTextBox(text, Panels::kMinRadius, Panels::kMaxRadius);
            if (text != box->text()) box->setText(text);
        }
        return !passes;
    }

private:
    bool m_clampRadius;
};

// Runs apply when the box is left or Enter is pressed in it, and only if the
// user edited its text: the program's own text is the value rounded for
// show, and writing it back would move the terrain.
void applyWhenEdited(QLineEdit* box, std::function<void()> apply)
{
    QObject::connect(box, &QLineEdit::editingFinished, box, [box, apply = std::move(apply)] {
        if (rt::userEdited(box)) apply();
    });
}

} // namespace

void frmTer::connectPanelControls()
{
    // Global tab.
    for (QLineEdit* box : {txtMinTerrain, txtMaxTerrain, txtTerSizeMeters})
        box->installEventFilter(new NumericKeys(box, false));
    txtPlanetRadius->installEventFilter(new NumericKeys(txtPlanetRadius, true));
    applyWhenEdited(txtMinTerrain, [this] { txtMinTerrain_Validate(); });
    applyWhenEdited(txtMaxTerrain, [this] { txtMaxTerrain_Validate(); });
    applyWhenEdited(txtTerSizeMeters, [this] {
        txtTerSizeMeters_Validate();
        txtTerSizeMeters_LostFocus();
    });
    // The radius reaches the terrain with a toolbar command; here its text is only held in range.
    applyWhenEdited(txtPlanetRadius, [this] { txtPlanetRadius_Validate(); });
    connect(cmdMars, &QPushButton::clicked, this, [this] { planetPreset_Click(int(Panels::Planet::Mars)); });
    connect(cmdMoon, &QPushButton::clicked, this, [this] { planetPreset_Click(int(Panels::Planet::Moon)); });
    connect(cmdEarth, &QPushButton::clicked, this, [this] { planetPreset_Click(int(Panels::Planet::Earth)); });
    connect(cmdPlanetRender, &QPushButton::clicked, this,
            [this] { planetPreset_Click(int(Panels::Planet::Complete)); });
    connect(chkCurved, &QCheckBox::clicked, this, &frmTer::chkCurved_Click);
    connect(CmdResize, &QPushButton::clicked, this, &frmTer::CmdResize_Click);
    connect(SSTab1, &QTabWidget::currentChanged, this, &frmTer::SSTab1_Click);
    // Edit tab.
    connect(sliderFineHeight, &QSlider::valueChanged, this, &frmTer::sliderFineHeight_Change);
    connect(cmdResetFineHeight, &QPushButton::clicked, this, &frmTer::cmdResetFineHeight_Click);
    // Effects tab.
    for (size_t i = 0; i < optFilter.size(); ++i)
        connect(optFilter[i], &QRadioButton::clicked, this, [this, i] { optFilter_Click(int(i)); });
    connect(sldEffectFactor, &QSlider::valueChanged, this, &frmTer::sldEffectFactor_Change);
    connect(cmdStartEffects, &QPushButton::clicked, this, &frmTer::cmdStartEffects_Click);
}

// --- Global tab ---------------------------------------------------------------------

void frmTer::txtMinTerrain_Validate()
{
    // Text without a number gets the terrain's own value back.
    Panels::setHeightFromMetres(*CurrentTerrain, txtMinTerrain->text(), false);
    ActualScreen();
}

void frmTer::txtMaxTerrain_Validate()
{
    Panels::setHeightFromMetres(*CurrentTerrain, txtMaxTerrain->text(), true);
    ActualScreen();
}

void frmTer::txtPlanetRadius_Validate()
{
    // The toolbar commands read the radius from the box: keep it a radius.
    QString text = txtPlanetRadius->text();
    STDIO::ClampTextBox(text, Panels::kMinRadius, Panels::kMaxRadius);
    if (text != txtPlanetRadius->text()) txtPlanetRadius->setText(text);
}

void frmTer::txtTerSizeMeters_Validate()
{
    const double m = Panels::clampedSideLength(txtTerSizeMeters->text(), CurrentTerrain->Size());
    txtTerSizeMeters->setText(rt::Format(m, QStringLiteral("#####")));
}

void frmTer::txtTerSizeMeters_LostFocus()
{
    clsTerrain& t = *CurrentTerrain;
    // The typed length, held to what the grid allows.
    const double m = Panels::clampedSideLength(txtTerSizeMeters->text(), t.Size());
    txtTerSizeMeters->setText(rt::Format(m, QStringLiteral("######")));
    bool keepUnits = false;
    // Asked only when the length held to the grid still differs from the one shown.
    if (rt::userEdited(txtTerSizeMeters))
        keepUnits = rt::MsgBox(QStringLiteral("The size was changed. Shall the Terrain height also be adjusted?"),
                               rt::vbYesNo, QStringLiteral("Change Value")) == rt::vbYes;
    // The new point spacing; Yes keeps the units, so the heights scale with the side.
    Panels::applySideLength(t, m, keepUnits);
    ActualScreen();
}

void frmTer::planetPreset_Click(int planet)
{
    Panels::applyPlanetPreset(*CurrentTerrain, Panels::Planet(planet));
    ActualScreen();
}

void frmTer::chkCurved_Click()
{
    CurrentTerrain->setCRVM(chkCurved->isChecked() ? 1 : 0);
}

void frmTer::SSTab1_Click()
{
    OptXYView_Click();
    // "color white" lives on another tab than the Pen: after Pen it must stay
    // usable there, until a tool button changes the tool.
    const bool colorWhiteUsable = Command1->isEnabled();
    DeactEdit();
    Command1->setEnabled(colorWhiteUsable);
    setSwatch(Picture2, Palette[128][paletteRowClamped()]);
    Label39->setText(QString::number(Slider1->value()));
    ActualScreen();
}

void frmTer::CmdResize_Click()
{
    runTerrainCommand(QStringLiteral("Resize Terrain..."), [this] {
        rt::DoEvents();
        OptXYView_Click();
        int32_t target = CurrentTerrain->Size();
        for (const QRadioButton* o : optTerSize)
            if (o->isChecked()) target = o->property("tag").toString().toInt();
        clsTerrain& t = *CurrentTerrain;
        if (TerrainEmpty) {
            // An empty terrain stays empty: nothing to save.
            Panels::newFlatGrid(t, target);
            ResizePic(t.Size(), std::nullopt);
            return TerrainChange::None;
        }
        if (t.Size() != target && !Panels::resizeReaches(t.Size(), target)) {
            // A grid that is not a power of two would end at neither size.
            rt::MsgBox(QStringLiteral("A terrain of %1 x %1 points cannot be resized to %2 x %2 points: halving or "
                                      "doubling does not reach that size. The terrain is left as it is.")
                           .arg(t.Size() + 1)
                           .arg(target + 1),
                       rt::vbOKOnly | rt::vbExclamation, QStringLiteral("Resize terrain"));
            return TerrainChange::None;
        }
        // The same size asks nothing and keeps the heights.
        if (t.Size() == target) return TerrainChange::None;
        const QString question = QStringLiteral("Adjust the point spacing to keep the real-world size as before?");
        const bool adjust = rt::MsgBox(question, rt::vbYesNo, QStringLiteral("Resize terrain")) == rt::vbYes;
        Panels::resizeGrid(t, target, adjust, ResizeMode, Slider3->value());
        return TerrainChange::Grid;
    });
}

// --- Edit tab -----------------------------------------------------------------------

void frmTer::sliderFineHeight_Change()
{
    const double m = Panels::fineHeightMetres(txtMaxTerrain->text(), txtMinTerrain->text(), sliderFineHeight->value());
    lblFineHeight->setText(rt::Format(m, QStringLiteral("###0.000")));
    // The brush height read-out unchecks pick and colours the swatch.
    Slider2_Change();
}

void frmTer::cmdResetFineHeight_Click()
{
    sliderFineHeight->setValue(0);
    sliderFineHeight_Change();
}

// --- Effects tab --------------------------------------------------------------------

void frmTer::optFilter_Click(int index)
{
    EffectFilter = index;
    sldEffectFactor->setValue(Panels::effectFactor(EffectFactors, index));
}

void frmTer::sldEffectFactor_Change()
{
    Panels::storeEffectFactor(EffectFactors, EffectFilter, sldEffectFactor->value());
}

void frmTer::cmdStartEffects_Click()
{
    if (TerrainEmpty) {
        rt::MsgBox(QStringLiteral("Terrain empty"), rt::vbOKOnly, QStringLiteral("Effects"));
        return;
    }
    QString error;
    bool ran = false;
    runTerrainCommand(QString(), [&] {
        OptXYView_Click();
        ran = Panels::runEffect(*CurrentTerrain, EffectFilter, EffectFactors, sldZMin->value(), sldZMax->value(),
                                txtRandom->text(), &error);
        // An effect changes the terrain: closing must ask to save it.
        return ran && Panels::effectCode(EffectFilter) != 9 ? TerrainChange::Heights : TerrainChange::View;
    });
    if (!ran) rt::MsgBox(error, rt::vbOKOnly | rt::vbExclamation, QStringLiteral("Effects"));
}
