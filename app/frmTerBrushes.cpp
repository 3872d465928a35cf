// The stroke brushes on the top view: choosing a brush, marking the stroke
// with red dots while dragging, and applying the brush on release.

#include "app/frmTer.h"

#include "app/Brushes.h"
#include "app/frmTerView.h"
#include "runtime/Ui.h"
#include "terrain/TerrainGlobals.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSlider>

// A stroke brush: the drag marks points (red dots on the view) and the
// release applies the brush around each; the terrain changes only then.
class frmTer::BrushTool : public ViewTool {
public:
    BrushTool(frmTer& window, Brushes::Tool brush) : ViewTool({.brush = brush}), w(window) {}

    bool showsCursor() const override { return true; }

    void press(Qt::MouseButton button, Qt::KeyboardModifiers, QPointF point) override
    {
        if (button == Qt::LeftButton && !rt::BusyFlag) Brushes::markPress(w.StrokeMask, point);
    }

    void move(Qt::MouseButtons buttons, Qt::KeyboardModifiers, QPointF point) override
    {
        if (rt::BusyFlag || !(buttons & Qt::LeftButton)) return;
        const QPoint at = Brushes::markDrag(w.StrokeMask, point, CurrentTerrain->Size());
        QImage& img = w.Picture1->image();
        if (at.x() < 0 || at.y() < 0 || at.x() >= img.width() || at.y() >= img.height()) return;
        reinterpret_cast<QRgb*>(img.scanLine(at.y()))[at.x()] = qRgb(255, 20, 20);
        w.Picture1->update();
    }

    void release(Qt::MouseButton button, QPointF) override
    {
        if (button == Qt::LeftButton && !rt::BusyFlag) apply();
    }

private:
    void apply()
    {
        Brushes::StrokeSettings s;
        s.tool = modes.brush;
        s.radius = w.Slider1->value();
        s.seedText = w.txtRandom->text();
        s.strength = w.sldDepthEffects->value();
        QString error;
        bool ok = true;
        w.runTerrainCommand(QString(), [&] {
            // The stroke marks the terrain changed for each point it applies.
            ok = Brushes::applyStroke(*CurrentTerrain, w.StrokeMask, s, &error);
            // The map shows the red dots until it is drawn again from the terrain.
            return TerrainChange::View;
        });
        if (!ok) rt::MsgBox(error, rt::vbOKOnly | rt::vbExclamation);
    }

    frmTer& w;
};

void frmTer::chooseBrush(Brushes::Tool tool)
{
    useTool(std::make_shared<BrushTool>(*this, tool));
}
