#include "app/frmTerIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace {

const QColor ink(0x34, 0x3a, 0x46);
const QColor paper(0xfb, 0xfb, 0xf8);
const QColor blue(0x3b, 0x7d, 0xd8);
const QColor green(0x3e, 0x9a, 0x4a);
const QColor red(0xd0, 0x45, 0x3b);
const QColor amber(0xe8, 0xa8, 0x2c);

QPen outline(double w = 1.4)
{
    QPen p(ink, w);
    p.setJoinStyle(Qt::RoundJoin);
    p.setCapStyle(Qt::RoundCap);
    return p;
}

void page(QPainter& p)
{
    QPainterPath path;
    path.moveTo(5, 2.5);
    path.lineTo(14.5, 2.5);
    path.lineTo(19.5, 7.5);
    path.lineTo(19.5, 21.5);
    path.lineTo(5, 21.5);
    path.closeSubpath();
    p.setPen(outline());
    p.setBrush(paper);
    p.drawPath(path);
    p.drawPolyline(QPolygonF({QPointF(14.5, 2.5), QPointF(14.5, 7.5), QPointF(19.5, 7.5)}));
}

// A page with a two-stroke sign on it.
void markedPage(QPainter& p, QColor c, double width, QLineF first, QLineF second)
{
    page(p);
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(first);
    p.drawLine(second);
}

void floppy(QPainter& p, QRectF r)
{
    p.setPen(outline());
    p.setBrush(blue);
    p.drawRoundedRect(r, 1.5, 1.5);
    p.setBrush(paper);
    const double w = r.width();
    p.drawRect(QRectF(r.left() + w * 0.22, r.top(), w * 0.56, r.height() * 0.34));
    p.setBrush(QColor(0xe4, 0xe8, 0xee));
    p.drawRect(QRectF(r.left() + w * 0.18, r.top() + r.height() * 0.55, w * 0.64, r.height() * 0.45));
}

void magnifier(QPainter& p)
{
    p.setPen(outline(1.6));
    p.setBrush(QColor(0xe6, 0xf0, 0xfb));
    p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
    p.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(15, 15), QPointF(20.5, 20.5));
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
}

void arrow(QPainter& p, double x, double y1, double y2, QColor c)
{
    p.setPen(QPen(c, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(x, y1), QPointF(x, y2));
    const double d = y2 > y1 ? -1 : 1;
    p.drawPolyline(QPolygonF({QPointF(x - 4, y2 + 4 * d), QPointF(x, y2), QPointF(x + 4, y2 + 4 * d)}));
}

void hills(QPainter& p, QColor c)
{
    QPainterPath h;
    h.moveTo(2, 20);
    h.cubicTo(6, 8, 9, 8, 12, 14);
    h.cubicTo(14, 9, 18, 6, 22, 20);
    h.closeSubpath();
    p.setPen(outline(1.2));
    p.setBrush(c);
    p.drawPath(h);
}

void zoomMagnifier(QPainter& p, bool plus)
{
    magnifier(p);
    p.drawLine(QPointF(7, 10), QPointF(13, 10));
    if (plus) p.drawLine(QPointF(10, 7), QPointF(10, 13));
}

void selectionFrame(QPainter& p, bool round)
{
    QPen dash(ink, 1.5, Qt::DashLine);
    p.setPen(dash);
    p.setBrush(QColor(0x3b, 0x7d, 0xd8, 50));
    if (!round) p.drawRect(QRectF(4, 5, 16, 14));
    else p.drawEllipse(QRectF(3.5, 4.5, 17, 15));
}

void blank(QPainter& p)
{
    p.setPen(outline());
    p.setBrush(paper);
    p.drawRoundedRect(QRectF(4, 4, 16, 16), 3, 3);
}

QPixmap drawn(Pictogram draw, int side)
{
    QPixmap pm(side, side);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(side / 24.0, side / 24.0);
    (draw ? draw : blank)(p);
    return pm;
}

} // namespace

namespace Pictograms {

void newDocument(QPainter& p)
{
    markedPage(p, green, 2.2, QLineF(12, 11, 12, 18), QLineF(8.5, 14.5, 15.5, 14.5));
}

void open(QPainter& p)
{
    p.setPen(outline());
    p.setBrush(amber.darker(110));
    p.drawPolygon(QPolygonF({QPointF(2.5, 5), QPointF(9, 5), QPointF(11, 7.5), QPointF(20, 7.5), QPointF(20, 19.5),
                             QPointF(2.5, 19.5)}));
    p.setBrush(amber);
    p.drawPolygon(QPolygonF({QPointF(2.5, 19.5), QPointF(6, 11), QPointF(22.5, 11), QPointF(19.5, 19.5)}));
}

void save(QPainter& p)
{
    floppy(p, QRectF(3.5, 3.5, 17, 17));
}

void saveAs(QPainter& p)
{
    floppy(p, QRectF(2.5, 2.5, 15, 15));
    p.setPen(QPen(ink, 1.2));
    p.setBrush(amber);
    QPolygonF pencil({QPointF(12, 21), QPointF(13, 17.5), QPointF(20, 10.5), QPointF(22.5, 13), QPointF(15.5, 20)});
    p.drawPolygon(pencil);
}

void print(QPainter& p)
{
    p.setPen(outline());
    p.setBrush(paper);
    p.drawRect(QRectF(7, 3, 10, 7));
    p.setBrush(QColor(0xb8, 0xc0, 0xcc));
    p.drawRoundedRect(QRectF(3, 9, 18, 8), 2, 2);
    p.setBrush(paper);
    p.drawRect(QRectF(7, 14, 10, 7));
}

void restore(QPainter& p)
{
    p.setPen(QPen(blue, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(5, 5, 14, 14), 90 * 16, 270 * 16);
    p.drawPolyline(QPolygonF({QPointF(8, 2), QPointF(12, 5), QPointF(8, 8.5)}));
}

void backup(QPainter& p)
{
    p.setPen(outline());
    p.setBrush(QColor(0xb8, 0xc0, 0xcc));
    p.drawRoundedRect(QRectF(3, 13, 18, 7), 2, 2);
    p.setBrush(green);
    p.drawEllipse(QPointF(17.5, 16.5), 1.2, 1.2);
    arrow(p, 12, 3, 11, green);
}

void properties(QPainter& p)
{
    p.setPen(outline());
    p.setBrush(QColor(0xb8, 0xc0, 0xcc));
    QPainterPath gear;
    for (int i = 0; i < 16; ++i) {
        const double a = i * M_PI / 8, r = (i % 2) ? 6.5 : 9.5;
        const QPointF pt(12 + r * std::cos(a), 12 + r * std::sin(a));
        i ? gear.lineTo(pt) : gear.moveTo(pt);
    }
    gear.closeSubpath();
    gear.addEllipse(QPointF(12, 12), 3, 3);
    p.drawPath(gear);
}

void clear(QPainter& p)
{
    markedPage(p, red, 2.4, QLineF(9, 10, 16, 17), QLineF(16, 10, 9, 17));
}

void help(QPainter& p)
{
    p.setPen(outline());
    p.setBrush(blue);
    p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
    QFont f = p.font();
    f.setPixelSize(15);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(2, 2, 20, 20), Qt::AlignCenter, QStringLiteral("?"));
}

void zoomIn(QPainter& p)
{
    zoomMagnifier(p, true);
}

void zoomOut(QPainter& p)
{
    zoomMagnifier(p, false);
}

void zoom100(QPainter& p)
{
    magnifier(p);
    QFont f = p.font();
    f.setPixelSize(7);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(3.5, 3.5, 13, 13), Qt::AlignCenter, QStringLiteral("1:1"));
}

void terragen(QPainter& p)
{
    hills(p, QColor(0x7c, 0xb3, 0x6a));
    p.setPen(Qt::NoPen);
    p.setBrush(green.darker(120));
    p.drawPolygon(QPolygonF({QPointF(13, 2), QPointF(22, 7), QPointF(13, 12)}));
}

void view3d(QPainter& p)
{
    p.setPen(outline(1.2));
    p.setBrush(QColor(0x9c, 0xc4, 0xee));
    p.drawPolygon(QPolygonF({QPointF(12, 3), QPointF(21, 7.5), QPointF(12, 12), QPointF(3, 7.5)}));
    p.setBrush(blue);
    p.drawPolygon(QPolygonF({QPointF(3, 7.5), QPointF(12, 12), QPointF(12, 21.5), QPointF(3, 17)}));
    p.setBrush(blue.darker(130));
    p.drawPolygon(QPolygonF({QPointF(21, 7.5), QPointF(12, 12), QPointF(12, 21.5), QPointF(21, 17)}));
}

void objectMaker(QPainter& p)
{
    p.setPen(outline(1.2));
    p.setBrush(amber);
    p.drawPolygon(QPolygonF({QPointF(12, 3), QPointF(20, 20), QPointF(4, 20)}));
    p.setBrush(paper);
    p.drawEllipse(QPointF(17.5, 6.5), 3.5, 3.5);
}

void savePerlin(QPainter& p)
{
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const int v = 90 + ((x * 37 + y * 71 + x * y * 13) % 140);
            p.fillRect(QRectF(3 + 4.5 * x, 3 + 4.5 * y, 4.5, 4.5), QColor(v, v, v));
        }
    p.setPen(outline());
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(3, 3, 18, 18));
}

void pointer(QPainter& p)
{
    p.setPen(outline(1.2));
    p.setBrush(paper);
    p.drawPolygon(QPolygonF({QPointF(6, 3), QPointF(18, 14), QPointF(12.5, 14.5), QPointF(15.5, 21),
                             QPointF(13, 22), QPointF(10, 15.5), QPointF(6, 19)}));
}

void pen(QPainter& p)
{
    p.setPen(outline(1.2));
    p.setBrush(amber);
    p.drawPolygon(QPolygonF({QPointF(4, 20), QPointF(5.5, 15), QPointF(16.5, 4), QPointF(20, 7.5), QPointF(9, 18.5)}));
}

void select(QPainter& p)
{
    selectionFrame(p, false);
}

void selectRound(QPainter& p)
{
    selectionFrame(p, true);
}

void up(QPainter& p)
{
    hills(p, QColor(0xc9, 0xb0, 0x8a));
    arrow(p, 12, 12, 2, green);
}

void down(QPainter& p)
{
    hills(p, QColor(0xc9, 0xb0, 0x8a));
    arrow(p, 12, 2, 12, red);
}

void erode(QPainter& p)
{
    hills(p, QColor(0xc9, 0xb0, 0x8a));
    p.setPen(QPen(blue, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(7, 3), QPointF(5, 7));
    p.drawLine(QPointF(13, 2), QPointF(11, 6));
    p.drawLine(QPointF(19, 3), QPointF(17, 7));
}

void noise(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    static const double dots[][2] = {{5, 6}, {11, 4}, {17, 7}, {8, 11}, {14, 12}, {19, 15},
                                     {5, 17}, {11, 19}, {16, 19}, {12, 15}, {20, 10}, {4, 11}};
    for (const auto& d : dots) p.drawEllipse(QPointF(d[0], d[1]), 1.3, 1.3);
}

void smooth(QPainter& p)
{
    p.setPen(QPen(blue, 2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath w;
    w.moveTo(2, 12);
    w.cubicTo(7, 4, 12, 20, 22, 12);
    p.drawPath(w);
}

void sharpen(QPainter& p)
{
    p.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(2, 18), QPointF(7, 6), QPointF(12, 18), QPointF(17, 6), QPointF(22, 18)}));
}

void penSquare(QPainter& p)
{
    p.setPen(outline());
    p.setBrush(QColor(0x90, 0x90, 0x90));
    p.drawRect(QRectF(5, 5, 14, 14));
}

void penRound(QPainter& p)
{
    p.setPen(outline());
    p.setBrush(QColor(0x90, 0x90, 0x90));
    p.drawEllipse(QPointF(12, 12), 7.5, 7.5);
}

} // namespace Pictograms

QIcon kvDrawnIcon(Pictogram draw)
{
    QIcon icon;
    for (int side : {16, 20, 24, 32, 48}) icon.addPixmap(drawn(draw, side));
    return icon;
}

QIcon kvIcon(Pictogram draw, const QString& themeName)
{
    if (!themeName.isEmpty() && QIcon::hasThemeIcon(themeName)) return QIcon::fromTheme(themeName);
    return kvDrawnIcon(draw);
}
