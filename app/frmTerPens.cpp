// The pens on the top view: the Edit tab's tool and pen-shape bars, pick,
// stamps and strokes, the pen cursor and the read-out of the point under the mouse.

#include "app/frmTer.h"

#include "app/AppState.h"
#include "app/Brushes.h"
#include "app/Pens.h"
#include "app/Zoom.h"
#include "app/frmTerToolbar.h"
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

// The pen: stamps the pen height at the press and along the drag.
class frmTer::PenTool : public ViewTool {
public:
    explicit PenTool(frmTer& window) : ViewTool({.pen = true}), w(window) {}

    bool showsCursor() const override { return true; }
    bool squareCursor() const override { return w.PenShape == Pens::PenSquare; }

    void press(Qt::MouseButton button, Qt::KeyboardModifiers, QPointF point) override
    {
        if (button == Qt::LeftButton) stamp(point, true);
    }

    void move(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF point) override
    {
        if (rt::BusyFlag || !(buttons & Qt::LeftButton)) return;
        // Shift moves the pen without painting.
        if (modifiers & Qt::ShiftModifier) return;
        stamp(point, false);
    }

private:
    void stamp(QPointF point, bool atPress)
    {
        const Pens::PenSettings s = w.penSettings();
        const QPointF at = w.SnapToGrid ? Pens::snapPoint(point, s.radius) : point;
        w.drawPenMark(Pens::stamp(*CurrentTerrain, at, s, atPress));
    }

    frmTer& w;
};

void frmTer::connectPenControls()
{
    connect(Picture1, &TerrainView::mouseDown, this, &frmTer::Picture1_MouseDown);
    connect(Picture1, &TerrainView::mouseUp, this, &frmTer::Picture1_MouseUp);
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
    // Only the pen uses the pen shapes; its row enables them again.
    ToolBarPen->setEnabled(false);
    if (const auto* c = ToolbarCommands::find(ToolbarCommands::toolbar2(), key)) c->run(*this);
}

void frmTer::ToolBarPen_ButtonClick(const QString& key)
{
    if (const auto* c = ToolbarCommands::find(ToolbarCommands::toolBarPen(), key)) c->run(*this);
}

void frmTer::useTool(std::shared_ptr<ViewTool> tool)
{
    m_tool = std::move(tool);
    PenMode = m_tool->modes.pen;
    SelectMode = m_tool->modes.select;
    SelectRound = m_tool->modes.round;
    FilterTool = m_tool->modes.brush;
    if (!PenMode) {
        PickMode = false;
        chkPick->setChecked(false);
    }
}

void frmTer::chooseArrow()
{
    useTool(std::make_shared<ViewTool>());
}

void frmTer::choosePen()
{
    useTool(std::make_shared<PenTool>(*this));
    if (!TerrainEmpty) {
        PickMode = true;
        chkPick->setChecked(true);
    }
    Command1->setEnabled(true);
    ToolBarPen->setEnabled(true);
    setSwatch(Picture2, Palette[std::clamp(Slider2->value() / 256, 0, PaletteCount)][paletteRowClamped()]);
}

void frmTer::Command1_Click()
{
    ResetMouseFrame();
    Slider2->setValue(Slider2->maximum());
    // It paints with the pen, whichever tool the window left since.
    useTool(std::make_shared<PenTool>(*this));
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

void frmTer::Picture1_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF point)
{
    // A press while a stroke is being applied must not replace the mask under it.
    if (!rt::BusyFlag) StrokeMask.reset(CurrentTerrain->XPoints());
    ResetMouseFrame();
    // The pick goes first, whatever the tool: the pen then stamps the height it found.
    if (button == Qt::LeftButton && PickMode) pickHeight(point);
    const std::shared_ptr<ViewTool> tool = m_tool;
    tool->press(button, modifiers, point);
}

void frmTer::pickHeight(QPointF point)
{
    // Setting the slider unchecks chkPick (Slider2_Change), which ends
    // pick mode: one pick per check.
    const auto picked = Pens::pick(*CurrentTerrain, point, penSettings(), paletteRowClamped());
    Slider2->setValue(picked.sliderValue);
    lblHeight->setText(picked.heightText);
    setSwatch(Picture2, picked.swatch);
    lblPickHeigh->setText(picked.pickHeightText);
    chkPick->setChecked(false);
}

void frmTer::Picture1_MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF point)
{
    if (!rt::BusyFlag) {
        showStatusReadOut(point);
        showPenCursor(buttons, point);
    }
    // The rubber band follows the mouse even while a command runs.
    const std::shared_ptr<ViewTool> tool = m_tool;
    tool->move(buttons, modifiers, point);
}

void frmTer::Picture1_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, QPointF point)
{
    const std::shared_ptr<ViewTool> tool = m_tool;
    tool->release(button, point);
    ActualScreen();
    tool->afterRelease(button, point);
}

void frmTer::showPenCursor(Qt::MouseButtons buttons, QPointF point)
{
    if (buttons != Qt::NoButton || !m_tool->showsCursor()) {
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
    if (m_tool->squareCursor()) painter.drawRect(box);
    else painter.drawEllipse(box);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}
