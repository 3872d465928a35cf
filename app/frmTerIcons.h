#pragma once
// Toolbar icons: the desktop theme's icon where it has one, otherwise a small
// pictogram drawn here, so the toolbars look complete on any desktop.

#include <QIcon>
#include <QString>

class QPainter;

// Paints a pictogram on a 24 x 24 canvas.
using Pictogram = void (*)(QPainter&);

// The icon of a toolbar button; themeName is tried first (may be empty), the
// pictogram is the stand-in (a plain tile when there is none).
QIcon kvIcon(Pictogram draw, const QString& themeName);
// The drawn pictogram alone (for tests and desktops without a theme).
QIcon kvDrawnIcon(Pictogram draw);

// The pictograms the toolbar tables name.
namespace Pictograms {
void newDocument(QPainter& p);
void open(QPainter& p);
void save(QPainter& p);
void saveAs(QPainter& p);
void print(QPainter& p);
void restore(QPainter& p);
void backup(QPainter& p);
void properties(QPainter& p);
void clear(QPainter& p);
void help(QPainter& p);
void zoomIn(QPainter& p);
void zoomOut(QPainter& p);
void zoom100(QPainter& p);
void terragen(QPainter& p);
void view3d(QPainter& p);
void objectMaker(QPainter& p);
void savePerlin(QPainter& p);
void pointer(QPainter& p);
void pen(QPainter& p);
void select(QPainter& p);
void selectRound(QPainter& p);
void up(QPainter& p);
void down(QPainter& p);
void erode(QPainter& p);
void noise(QPainter& p);
void smooth(QPainter& p);
void sharpen(QPainter& p);
void penSquare(QPainter& p);
void penRound(QPainter& p);
} // namespace Pictograms
