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

// The brush rows of the tool bar's table; false for other keys.
bool frmTer::chooseBrushTool(const QString& key)
{
    const auto tool = Brushes::toolForKey(key);
    if (!tool) return false;
    SelectMode = false;
    SelectRound = false;
    FilterTool = *tool;
    PenMode = false;
    PickMode = false;
    chkPick->setChecked(false);
    return true;
}

// A drag marks the point under the mouse and shows it as a red dot; the
// terrain changes only on release.
void frmTer::markBrushStroke(Qt::MouseButtons buttons, QPointF point)
{
    if (FilterTool <= 0 || !(buttons & Qt::LeftButton)) return;
    const QPoint at = Brushes::markDrag(StrokeMask, point, CurrentTerrain->Size());
    QImage& img = Picture1->image();
    if (at.x() < 0 || at.y() < 0 || at.x() >= img.width() || at.y() >= img.height()) return;
    reinterpret_cast<QRgb*>(img.scanLine(at.y()))[at.x()] = qRgb(255, 20, 20);
    Picture1->update();
}

void frmTer::applyBrushStroke()
{
    Brushes::StrokeSettings s;
    s.tool = FilterTool;
    s.radius = Slider1->value();
    s.strength = sldDepthEffects->value();
    s.seedText = txtRandom->text();
    QString error;
    bool ok = true;
    runTerrainCommand(QString(), [&] {
        // The stroke marks the terrain changed for each point it applies.
        ok = Brushes::applyStroke(*CurrentTerrain, StrokeMask, s, &error);
        // The map shows the red dots until it is drawn again from the terrain.
        return TerrainChange::View;
    });
    if (!ok) rt::MsgBox(error, rt::vbOKOnly | rt::vbExclamation);
}
