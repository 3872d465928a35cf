// The pens on the top view: the Edit tab's tool and pen-shape bars, pick,
// stamps and strokes, the pen cursor and the read-out of the point under the mouse.

#include "app/frmTer.h"

#include "app/AppState.h"
#include "app/Brushes.h"
#include "app/Pens.h"
#include "app/Zoom.h"
#include "app/frmTerView.h"
#include "runtime/Ui.h"
#include "terrain/Palette.h"
#include "terrain/TerrainGlobals.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QToolBar>

#include <algorithm>

namespace {

bool toolAvailable(const QString& key)
{
    return key == QLatin1String("Pfeil") || key == QLatin1String("Pen") || key == QLatin1String("Select") ||
           key == QLatin1String("SelectRound") || Brushes::toolForKey(key).has_value();
}

} // namespace

void frmTer::connectPenControls()
{
    connect(Picture1, &TerrainView::mouseDown, this, &frmTer::Picture1_MouseDown);
    connect(Picture1, &TerrainView::mouseUp, this, &frmTer::Picture1_MouseUp);
    for (QAction* a : Toolbar2->actions()) {
        if (a->isSeparator()) continue;
        const QString key = a->data().toString();
        a->setEnabled(toolAvailable(key));
        connect(a, &QAction::triggered, this, [this, key] { Toolbar2_ButtonClick(key); });
    }
    for (QAction* a : ToolBarPen->actions()) {
        const QString key = a->data().toString();
        connect(a, &QAction::triggered, this, [this, key] { ToolBarPen_ButtonClick(key); });
    }
    // The check boxes mirror the modes whether the user or the code changes them.
    connect(chkPick, &QCheckBox::toggled, this, [this](bool on) { PickMode = on; });
    connect(chkEditSnap, &QCheckBox::toggled, this, [this](bool on) { SnapToGrid = on; });
    connect(Command1, &QPushButton::clicked, this, &frmTer::Command1_Click);
    Picture1->overlay = [this](QPainter& p) { paintPenCursor(p); };
}

Pens::PenSettings frmTer::penSettings() const
{
    Pens::PenSettings s;
    s.radius = Slider1->value();
    s.height = Slider2->value();
    s.fineHeight = sliderFineHeight->value();
    s.shape = PenShape;
    s.snap = SnapToGrid;
    s.zoomFactor = ZoomFactor;
    return s;
}

QRgb frmTer::swatchColour() const
{
    return Picture2->palette().color(QPalette::Window).rgb();
}

void frmTer::Toolbar2_ButtonClick(const QString& key)
{
    OptXYView_Click();
    ResetMouseFrame();
    dropSelectionFrame();
    Command1->setEnabled(false);
    if (key == QLatin1String("Pen")) {
        SelectMode = false;
        SelectRound = false;
        FilterTool = 0;
        PenMode = true;
        if (!TerrainEmpty) {
            PickMode = true;
            chkPick->setChecked(true);
        }
        Command1->setEnabled(true);
        ToolBarPen->setEnabled(true);
        setSwatch(Picture2, Palette[std::clamp(Slider2->value() / 256, 0, PaletteCount)][paletteRowClamped()]);
        return;
    }
    ToolBarPen->setEnabled(false);
    if (key == QLatin1String("Pfeil")) {
        SelectMode = false;
        SelectRound = false;
        FilterTool = 0;
        PenMode = false;
        PickMode = false;
        chkPick->setChecked(false);
    } else if (key == QLatin1String("Select") || key == QLatin1String("SelectRound")) {
        SelectMode = true;
        SelectRound = key == QLatin1String("SelectRound");
        FilterTool = 0;
        PenMode = false;
        PickMode = false;
        chkPick->setChecked(false);
    } else {
        chooseBrushTool(key);
    }
}

void frmTer::ToolBarPen_ButtonClick(const QString& key)
{
    if (key == QLatin1String("PenSquare")) PenShape = Pens::PenSquare;
    else if (key == QLatin1String("PenRound")) PenShape = Pens::PenRound;
    else if (key == QLatin1String("PenNoise")) PenShape = Pens::PenNoise;
}

void frmTer::Command1_Click()
{
    ResetMouseFrame();
    Slider2->setValue(Slider2->maximum());
    FilterTool = 0;
    PenMode = true;
    PickMode = false;
    chkPick->setChecked(false);
    setSwatch(Picture2, qRgb(255, 255, 255));
}

void frmTer::ResetMouseFrame()
{
    if (!m_cursorVisible) return;
    m_cursorVisible = false;
    Picture1->update();
}

void frmTer::Picture1_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, QPointF point)
{
    // A press while a stroke is being applied must not replace the mask under it.
    if (!rt::BusyFlag) StrokeMask.reset(CurrentTerrain->XPoints());
    ResetMouseFrame();
    if (button != Qt::LeftButton) return;
    clsTerrain& t = *CurrentTerrain;
    if (PickMode) {
        // Setting the slider unchecks chkPick (Slider2_Change), which ends
        // pick mode: one pick per check.
        const auto picked = Pens::pick(t, point, penSettings(), paletteRowClamped());
        Slider2->setValue(picked.sliderValue);
        lblHeight->setText(picked.heightText);
        setSwatch(Picture2, picked.swatch);
        lblPickHeigh->setText(picked.pickHeightText);
        chkPick->setChecked(false);
    }
    if (PenMode) {
        const Pens::PenSettings s = penSettings();
        const QPointF at = SnapToGrid ? Pens::snapPoint(point, s.radius) : point;
        drawPenMark(Pens::stamp(t, at, s, true));
    }
    if (FilterTool > 0 && !rt::BusyFlag) Brushes::markPress(StrokeMask, point);
    selectionPress(button, point);
}

void frmTer::Picture1_MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF point)
{
    if (!rt::BusyFlag) {
        showStatusReadOut(point);
        showPenCursor(buttons, point);
        penStroke(buttons, modifiers, point);
        markBrushStroke(buttons, point);
    }
    // The rubber band follows the mouse even while a command runs.
    selectionMove(buttons, point);
}

void frmTer::Picture1_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, QPointF point)
{
    if (button == Qt::LeftButton && FilterTool > 0 && !rt::BusyFlag) applyBrushStroke();
    ActualScreen();
    selectionRelease(button, point);
}

void frmTer::penStroke(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF point)
{
    if (!PenMode || !(buttons & Qt::LeftButton)) return;
    const Pens::PenSettings s = penSettings();
    const QPointF at = SnapToGrid ? Pens::snapPoint(point, s.radius) : point;
    // Shift moves the pen without painting.
    if (modifiers & Qt::ShiftModifier) return;
    drawPenMark(Pens::stamp(*CurrentTerrain, at, s, false));
}

void frmTer::showPenCursor(Qt::MouseButtons buttons, QPointF point)
{
    if (buttons != Qt::NoButton || !(PenMode || FilterTool > 0)) {
        ResetMouseFrame();
        return;
    }
    m_cursorVisible = true;
    m_cursorAt = point;
    Picture1->update();
}

// The stamp's mark in the swatch colour on the view's picture, which holds one
// pixel per terrain point; the whole map is redrawn from the terrain later.
void frmTer::drawPenMark(const Pens::ViewMark& mark)
{
    QImage& img = Picture1->image();
    if (img.isNull()) return;
    QPainter p(&img);
    const QColor c = QColor::fromRgb(swatchColour());
    switch (mark.kind) {
    case Pens::ViewMark::Kind::Box:
        p.fillRect(mark.box.adjusted(0, 0, 1, 1), c);
        break;
    case Pens::ViewMark::Kind::Circle:
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(c);
        p.setBrush(c);
        p.drawEllipse(mark.centre, mark.radius, mark.radius);
        break;
    case Pens::ViewMark::Kind::Dots:
        p.setPen(c);
        for (const QPointF& d : mark.dots) p.drawPoint(d);
        break;
    }
    p.end();
    Picture1->update();
}

// Shape1: a square for the square pen, otherwise a circle, 2r points across.
void frmTer::paintPenCursor(QPainter& painter)
{
    if (!m_cursorVisible) return;
    const int r = Slider1->value();
    const int size = Picture1->terrainSize();
    const int side = Picture1->width();
    const QPointF topLeft = Zoom::terrainToView(m_cursorAt - QPointF(r + 1, r + 1), size, side);
    const QPointF bottomRight = Zoom::terrainToView(m_cursorAt + QPointF(r - 1, r - 1), size, side);
    const QRectF box(topLeft, bottomRight);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    if (PenShape == Pens::PenSquare && FilterTool == 0) painter.drawRect(box);
    else painter.drawEllipse(box);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}
