// The selection frame on the top view (rectangle and round) and the pop-up
// menu "Terrain" whose commands work on the framed points.

#include "app/frmTer.h"

#include "app/AppState.h"
#include "app/Selection.h"
#include "app/Zoom.h"
#include "app/frmTerObjects.h"
#include "app/frmTerView.h"
#include "runtime/Files.h"
#include "runtime/Picture.h"
#include "runtime/Ui.h"
#include "terrain/TerrainGlobals.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QSlider>

namespace {

QAction* menuItem(QMenu* menu, const char* name, const char* caption)
{
    QAction* a = menu->addAction(QString::fromLatin1(caption));
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

void menuSeparator(QMenu* menu, const char* name)
{
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

// Items that also work on a round selection, limited to its disc.
bool worksOnDisc(const QString& name)
{
    return name == QLatin1String("mnuTerFill") || name == QLatin1String("mnuTerRaise") ||
           name == QLatin1String("mnuTerLower") || name == QLatin1String("mnuTerExit");
}

} // namespace

void frmTer::connectSelection()
{
    mnuTerrain = new QMenu(QStringLiteral("Terrain"), this);
    mnuTerrain->setObjectName(QStringLiteral("mnuTerrain"));
    connect(menuItem(mnuTerrain, "mnuTerFill", "fill"), &QAction::triggered, this, &frmTer::mnuTerFill_Click);
    connect(menuItem(mnuTerrain, "mnuTerRaise", "lift Terrain"), &QAction::triggered, this, &frmTer::mnuTerRaise_Click);
    connect(menuItem(mnuTerrain, "mnuTerLower", "lower Terrain"), &QAction::triggered, this, &frmTer::mnuTerLower_Click);
    menuSeparator(mnuTerrain, "mnuTerTemp3");
    connect(menuItem(mnuTerrain, "mnuTerTrim", "trim terrain"), &QAction::triggered, this, &frmTer::mnuTerTrim_Click);
    menuSeparator(mnuTerrain, "mnuTerTemp4");
    connect(menuItem(mnuTerrain, "mnuTerFlipRight", "Flip right"), &QAction::triggered, this,
            &frmTer::mnuTerFlipRight_Click);
    connect(menuItem(mnuTerrain, "mnuTerFlipLeft", "Flip left"), &QAction::triggered, this,
            &frmTer::mnuTerFlipLeft_Click);
    connect(menuItem(mnuTerrain, "mnuTerReflectVert", "Reflect vertically"), &QAction::triggered, this,
            &frmTer::mnuTerReflectVert_Click);
    connect(menuItem(mnuTerrain, "mnuTerReflectHorizont", "Reflect horizontally"), &QAction::triggered, this,
            &frmTer::mnuTerReflectHorizont_Click);
    menuSeparator(mnuTerrain, "mnutertemp1");
    connect(menuItem(mnuTerrain, "mnuTerMakeObject", "Make Object"), &QAction::triggered, this,
            &frmTer::mnuTerMakeObject_Click);
    menuSeparator(mnuTerrain, "mnuTerTemp2");
    connect(menuItem(mnuTerrain, "mnuTerExit", "Exit menu"), &QAction::triggered, this, &frmTer::mnuTerExit_Click);

    // The frame is drawn over whatever the pens draw on the view.
    auto previous = Picture1->overlay;
    Picture1->overlay = [this, previous](QPainter& p) {
        if (previous) previous(p);
        paintSelectionFrame(p);
    };
}

// --- rubber band --------------------------------------------------------------

// The selection frame: a press starts it, the drag sizes it, the release
// offers the menu "Terrain" for the framed points.
class frmTer::SelectionTool : public ViewTool {
public:
    SelectionTool(frmTer& window, bool round) : ViewTool({.select = true, .round = round}), w(window) {}

    void press(Qt::MouseButton button, Qt::KeyboardModifiers, QPointF point) override
    {
        if (button != Qt::LeftButton) return;
        // A second press takes the frame away and does nothing else.
        if (w.FrameDrawn) {
            w.FrameDrawn = false;
            w.Picture1->update();
            return;
        }
        w.FrameDrawn = true;
        w.FrameX1 = w.FrameX2 = Selection::cornerFromMouse(point.x());
        w.FrameY1 = w.FrameY2 = Selection::cornerFromMouse(point.y());
        w.FrameRadius = 0;
        w.Picture1->update();
    }

    void move(Qt::MouseButtons buttons, Qt::KeyboardModifiers, QPointF point) override
    {
        if (!w.FrameDrawn || !(buttons & Qt::LeftButton)) return;
        if (modes.round) {
            w.FrameRadius = Selection::discRadius(QPointF(w.FrameX1, w.FrameY1), point);
        } else {
            w.FrameX2 = Selection::evenCorner(Selection::cornerFromMouse(point.x()));
            w.FrameY2 = Selection::evenCorner(Selection::cornerFromMouse(point.y()));
        }
        w.Picture1->update();
    }

    void afterRelease(Qt::MouseButton button, QPointF point) override
    {
        if (!w.FrameDrawn || button != Qt::LeftButton) return;
        // A round selection offers the commands that can keep to its disc.
        for (QAction* a : w.mnuTerrain->actions())
            if (!a->isSeparator()) a->setEnabled(!modes.round || worksOnDisc(a->objectName()));
        const QPointF at = Zoom::terrainToView(point, w.Picture1->terrainSize(), w.Picture1->width());
        w.mnuTerrain->popup(w.Picture1->mapToGlobal(at.toPoint()));
    }

private:
    frmTer& w;
};

void frmTer::chooseSelection(bool round)
{
    useTool(std::make_shared<SelectionTool>(*this, round));
}

void frmTer::paintSelectionFrame(QPainter& painter)
{
    if (!FrameDrawn) return;
    const int size = Picture1->terrainSize();
    const int side = Picture1->width();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    // White under black dashes: inverting alone vanishes on the mid greys of a map.
    const auto draw = [&] {
        if (SelectRound) {
            const QPointF centre = Zoom::terrainToView(QPointF(FrameX1, FrameY1), size, side);
            const double r = FrameRadius * side / std::max(size, 1);
            painter.drawEllipse(centre, r, r);
        } else {
            const QPointF a = Zoom::terrainToView(QPointF(FrameX1, FrameY1), size, side);
            const QPointF b = Zoom::terrainToView(QPointF(FrameX2, FrameY2), size, side);
            painter.drawRect(QRectF(a, b).normalized());
        }
    };
    painter.setPen(QPen(Qt::white, 1));
    draw();
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    draw();
}

// A new tool leaves no frame behind: the next paint of the view goes without it.
void frmTer::dropSelectionFrame()
{
    if (!FrameDrawn) return;
    FrameDrawn = false;
    Picture1->update();
}

void frmTer::endDrawingbox()
{
    FrameDrawn = false;
    Picture1->update();
}

// --- menu commands ------------------------------------------------------------

namespace {

// The corners ordered (a round selection keeps its centre).
void orderFrame(frmTer& w)
{
    if (!w.SelectRound) Selection::convertFrameData(w.FrameX1, w.FrameY1, w.FrameX2, w.FrameY2);
}

Selection::Rect frameOf(const frmTer& w)
{
    return Selection::normalised({w.FrameX1, w.FrameY1, w.FrameX2, w.FrameY2});
}

std::optional<Selection::Disc> discOf(const frmTer& w)
{
    if (!w.SelectRound) return std::nullopt;
    return Selection::Disc{double(w.FrameX1), double(w.FrameY1), w.FrameRadius};
}

// The frame a command works on: the rectangle, or the disc's bounds.
Selection::Rect workFrame(const frmTer& w)
{
    const auto d = discOf(w);
    return d ? Selection::discBounds(*d) : frameOf(w);
}

// Progress per column; the pump keeps the window alive during long frames.
void columnProgress(int32_t percent)
{
    CurrentTerrain->pProgress = percent;
    rt::DoEvents();
}

// The frame goes once the command is done; a change redraws the terrain.
frmTer::TerrainChange afterFrameCommand(frmTer& w, bool changed)
{
    w.endDrawingbox();
    return changed ? frmTer::TerrainChange::Heights : frmTer::TerrainChange::None;
}

} // namespace

void frmTer::mnuTerFill_Click()
{
    runTerrainCommand(QStringLiteral("Terrain fill..."), [this] {
        orderFrame(*this);
        // The fine height is not added here.
        const int32_t v = Slider2->value() - 32768;
        return afterFrameCommand(*this, Selection::fill(*CurrentTerrain, workFrame(*this), v, discOf(*this),
                                                        columnProgress));
    });
}

void frmTer::mnuTerRaise_Click()
{
    liftSelection(+1);
}

void frmTer::mnuTerLower_Click()
{
    liftSelection(-1);
}

void frmTer::liftSelection(int sign)
{
    const QString status = sign > 0 ? QStringLiteral("lift Terrain....") : QStringLiteral("lower terrain...");
    runTerrainCommand(status, [this, sign] {
        orderFrame(*this);
        const int32_t amount = sign * Selection::liftAmount(sldDepthEffects->value());
        return afterFrameCommand(*this, Selection::lift(*CurrentTerrain, workFrame(*this), amount, discOf(*this),
                                                        columnProgress));
    });
}

void frmTer::mnuTerTrim_Click()
{
    rt::MsgBox(QStringLiteral("resize terrain"), rt::vbOKOnly);
    runTerrainCommand(QString(), [this] {
        orderFrame(*this);
        return afterFrameCommand(*this, Selection::trim(*CurrentTerrain, frameOf(*this)));
    });
}

// The two flip entries change no height: no rotation of a frame was ever
// built for them, and they stay as users know them. Like the other entries
// they end the frame; "Flip right" orders its corners first.
void frmTer::mnuTerFlipRight_Click()
{
    orderFrame(*this);
    endDrawingbox();
}

void frmTer::mnuTerFlipLeft_Click()
{
    endDrawingbox();
}

void frmTer::mnuTerReflectVert_Click()
{
    runTerrainCommand(QString(), [this] {
        orderFrame(*this);
        return afterFrameCommand(*this, Selection::reflectVertically(*CurrentTerrain, frameOf(*this)));
    });
}

void frmTer::mnuTerReflectHorizont_Click()
{
    runTerrainCommand(QString(), [this] {
        orderFrame(*this);
        return afterFrameCommand(*this, Selection::reflectHorizontally(*CurrentTerrain, frameOf(*this)));
    });
}

void frmTer::mnuTerMakeObject_Click()
{
    // The framed heights as a grey square.
    rt::BusyGuard busy;
    orderFrame(*this);
    setInfoText(QStringLiteral("make Object from terrain..."));
    const QImage picture = Selection::objectPicture(*CurrentTerrain, frameOf(*this), columnProgress);
    // Handed to the object loader as a bitmap file, which is removed afterwards.
    if (!picture.isNull()) {
        const QString path = rt::scratchFilePath(QStringLiteral("temppic.tmp"));
        QString error;
        if (rt::SavePicture(picture, path, &error)) {
            Objects->placeObject(path);
            QFile::remove(path);
        } else {
            rt::MsgBox(error, rt::vbOKOnly | rt::vbExclamation, QStringLiteral("Make Object"));
        }
    }
    endDrawingbox();
    ActualScreen();
}

void frmTer::mnuTerExit_Click()
{
    endDrawingbox();
}
