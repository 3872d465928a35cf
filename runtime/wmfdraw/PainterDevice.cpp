#include "runtime/wmfdraw/PainterDevice.h"

#include <QFontMetricsF>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include <libwmf/api.h>
#include <libwmf/defs.h>

namespace wmfdraw {

namespace {

// The map modes whose window the picture shows, and the one libwmf plays a
// placeable metafile in until the file sets another.
constexpr unsigned kIsotropic = 7, kAnisotropic = 8, kPlaceable = 9;
// Beyond this, a coordinate is damage, not drawing.
constexpr double kFarthest = 1e7;

PainterDevice* deviceOf(wmfAPI* api)
{
    return static_cast<PainterDevice*>(api->device_data);
}

bool usable(double v)
{
    return std::isfinite(v) && std::abs(v) < kFarthest;
}

bool usable(const wmfD_Coord& c)
{
    return usable(c.x) && usable(c.y);
}

QPointF point(const wmfD_Coord& c)
{
    return QPointF(c.x, c.y);
}

QRectF box(const wmfD_Coord& tl, const wmfD_Coord& br)
{
    return QRectF(point(tl), point(br)).normalized();
}

QColor colour(const wmfRGB& c)
{
    return QColor(c.r, c.g, c.b);
}

void startPainting(PainterDevice& d)
{
    d.painter.begin(&d.picture);
    const double sx = d.picture.width() / d.frame.width();
    const double sy = d.picture.height() / d.frame.height();
    d.painter.setTransform(QTransform(sx, 0, 0, sy, -d.frame.left() * sx, -d.frame.top() * sy));
    if (!d.clip.isEmpty()) d.painter.setClipPath(d.clip);
}

QPainter::CompositionMode modeOfRop2(unsigned rop)
{
    switch (rop) {
    case R2_BLACK: return QPainter::RasterOp_ClearDestination;
    case R2_WHITE: return QPainter::RasterOp_SetDestination;
    case R2_NOT: return QPainter::RasterOp_NotDestination;
    case R2_XORPEN: return QPainter::RasterOp_SourceXorDestination;
    case R2_NOTXORPEN: return QPainter::RasterOp_NotSourceXorDestination;
    case R2_MASKPEN: return QPainter::RasterOp_SourceAndDestination;
    case R2_MERGEPEN: return QPainter::RasterOp_SourceOrDestination;
    case R2_NOTCOPYPEN: return QPainter::RasterOp_NotSource;
    case R2_NOTMERGEPEN: return QPainter::RasterOp_NotSourceAndNotDestination;
    case R2_NOTMASKPEN: return QPainter::RasterOp_NotSourceOrNotDestination;
    case R2_MASKNOTPEN: return QPainter::RasterOp_NotSourceAndDestination;
    case R2_MASKPENNOT: return QPainter::RasterOp_SourceAndNotDestination;
    case R2_MERGENOTPEN: return QPainter::RasterOp_NotSourceOrDestination;
    case R2_MERGEPENNOT: return QPainter::RasterOp_SourceOrNotDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

QPainter::CompositionMode modeOfRop3(unsigned rop)
{
    switch (rop) {
    case SRCPAINT: return QPainter::RasterOp_SourceOrDestination;
    case SRCAND: return QPainter::RasterOp_SourceAndDestination;
    case SRCINVERT: return QPainter::RasterOp_SourceXorDestination;
    case SRCERASE: return QPainter::RasterOp_SourceAndNotDestination;
    case NOTSRCCOPY: return QPainter::RasterOp_NotSource;
    case NOTSRCERASE: return QPainter::RasterOp_NotSourceAndNotDestination;
    case MERGEPAINT: return QPainter::RasterOp_NotSourceOrDestination;
    case PATINVERT: return QPainter::RasterOp_SourceXorDestination;
    case DSTINVERT: return QPainter::RasterOp_NotDestination;
    case BLACKNESS: return QPainter::RasterOp_ClearDestination;
    case WHITENESS: return QPainter::RasterOp_SetDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

QPen penOf(const wmfDC* dc)
{
    const wmfPen& p = *dc->pen;
    Qt::PenStyle style = Qt::SolidLine;
    switch (p.lopnStyle & PS_STYLE_MASK) {
    case PS_NULL: return Qt::NoPen;
    case PS_DASH: style = Qt::DashLine; break;
    case PS_DOT:
    case PS_ALTERNATE: style = Qt::DotLine; break;
    case PS_DASHDOT: style = Qt::DashDotLine; break;
    case PS_DASHDOTDOT: style = Qt::DashDotDotLine; break;
    default: break;
    }
    const unsigned cap = p.lopnStyle & PS_ENDCAP_MASK, join = p.lopnStyle & PS_JOIN_MASK;
    return QPen(colour(p.lopnColor), usable(p.width) ? std::abs(p.width) : 0.0, style,
                cap == PS_ENDCAP_FLAT ? Qt::FlatCap : cap == PS_ENDCAP_SQUARE ? Qt::SquareCap : Qt::RoundCap,
                join == PS_JOIN_BEVEL ? Qt::BevelJoin : join == PS_JOIN_MITER ? Qt::MiterJoin : Qt::RoundJoin);
}

Qt::BrushStyle hatchOf(unsigned hatch)
{
    switch (hatch) {
    case HS_HORIZONTAL: return Qt::HorPattern;
    case HS_VERTICAL: return Qt::VerPattern;
    case HS_FDIAGONAL: return Qt::FDiagPattern;
    case HS_BDIAGONAL: return Qt::BDiagPattern;
    case HS_CROSS: return Qt::CrossPattern;
    default: return Qt::DiagCrossPattern;
    }
}

const QImage* bitmapOf(const wmfBMP& bmp)
{
    const auto* image = static_cast<const QImage*>(bmp.data);
    return image && !image->isNull() ? image : nullptr;
}

QBrush brushOf(const wmfDC* dc, const QTransform& toPixels)
{
    const wmfBrush& b = *dc->brush;
    switch (b.lbStyle) {
    case BS_NULL: return Qt::NoBrush;
    case BS_HATCHED: return QBrush(colour(b.lbColor), hatchOf(b.lbHatch));
    case BS_PATTERN:
    case BS_DIBPATTERN:
    case BS_DIBPATTERNPT:
        if (const QImage* pattern = bitmapOf(b.bmp)) {
            // A pattern repeats in pixels of the picture, whatever the scale.
            QBrush brush(*pattern);
            brush.setTransform(QTransform::fromScale(1.0 / toPixels.m11(), 1.0 / toPixels.m22()));
            return brush;
        }
        return QBrush(colour(b.lbColor));
    default: return QBrush(colour(b.lbColor));
    }
}

// What a placeable metafile's frame shows of a record drawn in dc, in device
// coordinates: the window where the window is mapped onto the frame; in the
// mode libwmf starts a placeable metafile in, the frame its header names.
QRectF frameOf(wmfAPI* api, const wmfDC* dc)
{
    if (dc->map_mode == kIsotropic || dc->map_mode == kAnisotropic)
        return QRectF(0, 0, dc->Window.width * dc->pixel_width, dc->Window.height * dc->pixel_height).normalized();
    const wmfPlaceableMetaHeader* header = api->File ? api->File->pmh : nullptr;
    if (dc->map_mode != kPlaceable || !header) return QRectF();
    const auto x = [&](int v) { return (v - double(dc->Window.Ox)) * dc->pixel_width; };
    const auto y = [&](int v) { return (v - double(dc->Window.Oy)) * dc->pixel_height; };
    return QRectF(QPointF(x(header->Left), y(header->Top)), QPointF(x(header->Right), y(header->Bottom))).normalized();
}

// The painter set up for a shape drawn in dc, or nullptr when nothing is to
// be painted (measuring, or the pen mode draws nothing).
QPainter* shapePainter(wmfAPI* api, const wmfDC* dc, bool filled)
{
    PainterDevice* d = deviceOf(api);
    if (!d || !dc) return nullptr;
    if (d->measuring) {
        const QRectF shown = frameOf(api, dc);
        if (usable(shown.width()) && usable(shown.height()) && shown.isValid()) d->windows = d->windows.united(shown);
        return nullptr;
    }
    if (!d->painter.isActive() || dc->ROPmode == R2_NOP) return nullptr;
    QPainter& p = d->painter;
    p.setCompositionMode(modeOfRop2(dc->ROPmode));
    p.setPen(penOf(dc));
    p.setBrush(filled ? brushOf(dc, p.worldTransform()) : QBrush(Qt::NoBrush));
    p.setBackgroundMode(dc->bgmode == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
    p.setBackground(colour(dc->bgcolor));
    return &p;
}

// A rectangle filled with the brush alone.
QPainter* fillPainter(wmfAPI* api, const wmfDC* dc)
{
    QPainter* p = shapePainter(api, dc, true);
    if (p) p->setPen(Qt::NoPen);
    return p;
}

QPolygonF polygonOf(const wmfD_Coord* pt, unsigned count)
{
    QPolygonF poly;
    if (!pt) return poly;
    poly.reserve(count);
    for (unsigned i = 0; i < count; ++i)
        if (usable(pt[i])) poly << point(pt[i]);
    return poly;
}

Qt::FillRule fillRuleOf(const wmfDC* dc)
{
    return dc->polyfillmode == WINDING ? Qt::WindingFill : Qt::OddEvenFill;
}

// The arcs, pies and chords: libwmf gives the ends relative to the centre,
// on the ellipse, and the curve runs from start to end clockwise on the
// picture. Qt counts angles counter-clockwise, on the ellipse's own circle.
enum class Curve { Arc, Pie, Chord, Ellipse };

void drawCurve(wmfAPI* api, wmfDrawArc_t* a, Curve curve)
{
    QPainter* p = shapePainter(api, a->dc, curve != Curve::Arc);
    if (!p || !usable(a->TL) || !usable(a->BR)) return;
    const QRectF rect = box(a->TL, a->BR);
    if (curve == Curve::Ellipse) {
        p->drawEllipse(rect);
        return;
    }
    const double rx = rect.width() / 2, ry = rect.height() / 2;
    if (rx <= 0 || ry <= 0 || !usable(a->start) || !usable(a->end)) return;
    const auto degrees = [&](const wmfD_Coord& c) { return std::atan2(-c.y / ry, c.x / rx) * 180.0 / M_PI; };
    const double start = degrees(a->start);
    double span = degrees(a->end) - start;
    while (span >= 0) span -= 360;
    while (span < -360) span += 360;
    QPainterPath path;
    if (curve == Curve::Pie)
        path.moveTo(rect.center());
    else
        path.arcMoveTo(rect, start);
    path.arcTo(rect, start, span);
    if (curve != Curve::Arc) path.closeSubpath();
    p->drawPath(path);
}

void drawPie(wmfAPI* api, wmfDrawArc_t* a) { drawCurve(api, a, Curve::Pie); }
void drawChord(wmfAPI* api, wmfDrawArc_t* a) { drawCurve(api, a, Curve::Chord); }
void drawArc(wmfAPI* api, wmfDrawArc_t* a) { drawCurve(api, a, Curve::Arc); }
void drawEllipse(wmfAPI* api, wmfDrawArc_t* a) { drawCurve(api, a, Curve::Ellipse); }

void drawLine(wmfAPI* api, wmfDrawLine_t* l)
{
    QPainter* p = shapePainter(api, l->dc, false);
    if (p && usable(l->from) && usable(l->to)) p->drawLine(point(l->from), point(l->to));
}

void drawPolyline(wmfAPI* api, wmfPolyLine_t* l)
{
    QPainter* p = shapePainter(api, l->dc, false);
    if (p) p->drawPolyline(polygonOf(l->pt, l->count));
}

void drawPolygon(wmfAPI* api, wmfPolyLine_t* l)
{
    QPainter* p = shapePainter(api, l->dc, true);
    if (p) p->drawPolygon(polygonOf(l->pt, l->count), fillRuleOf(l->dc));
}

void drawPolypolygon(wmfAPI* api, wmfPolyPoly_t* pp)
{
    QPainter* p = shapePainter(api, pp->dc, true);
    if (!p || !pp->pt || !pp->count) return;
    QPainterPath path;
    path.setFillRule(fillRuleOf(pp->dc));
    for (unsigned i = 0; i < pp->npoly; ++i) {
        path.addPolygon(polygonOf(pp->pt[i], pp->count[i]));
        path.closeSubpath();
    }
    p->drawPath(path);
}

void drawRectangle(wmfAPI* api, wmfDrawRectangle_t* r)
{
    QPainter* p = shapePainter(api, r->dc, true);
    if (!p || !usable(r->TL) || !usable(r->BR)) return;
    // Width and height are the axes of the corner ellipses.
    if (r->width > 0 && r->height > 0 && usable(r->width) && usable(r->height))
        p->drawRoundedRect(box(r->TL, r->BR), r->width / 2, r->height / 2, Qt::AbsoluteSize);
    else
        p->drawRect(box(r->TL, r->BR));
}

void drawPixel(wmfAPI* api, wmfDrawPixel_t* px)
{
    QPainter* p = shapePainter(api, px->dc, false);
    if (!p || !usable(px->pt)) return;
    // At least one pixel of the picture, however small a device pixel is.
    const QPointF at = p->worldTransform().map(point(px->pt));
    if (!usable(at.x()) || !usable(at.y())) return;
    p->save();
    p->resetTransform();
    p->fillRect(QRectF(std::floor(at.x()), std::floor(at.y()), 1, 1), colour(px->color));
    p->restore();
}

// Pattern blits: the brush, black, white or the inverse over a rectangle.
void drawRop(wmfAPI* api, wmfROP_Draw_t* r)
{
    QPainter* p = fillPainter(api, r->dc);
    if (!p || !usable(r->TL) || !usable(r->BR)) return;
    p->setCompositionMode(modeOfRop3(r->ROP));
    if (r->ROP == BLACKNESS || r->ROP == WHITENESS || r->ROP == DSTINVERT) p->setBrush(Qt::black);
    p->drawRect(box(r->TL, r->BR));
}

// Fills from a point: over every pixel of the given colour (surface), or up
// to pixels of that colour (border), with the brush's colour.
void floodFill(wmfAPI* api, wmfFlood_t* f)
{
    PainterDevice* d = deviceOf(api);
    QPainter* p = fillPainter(api, f->dc);
    if (!p || !usable(f->pt)) return;
    const QPointF at = p->worldTransform().map(point(f->pt));
    const int w = d->picture.width(), h = d->picture.height();
    if (!(at.x() >= 0 && at.x() < w && at.y() >= 0 && at.y() < h)) return;
    const QRgb fill = colour(f->dc->brush->lbColor).rgb();
    const QRgb match = colour(f->color).rgb() & 0xFFFFFF;
    const bool surface = f->type == FLOODFILLSURFACE;
    // The picture is changed directly, so the painter lets go of it meanwhile.
    d->painter.end();
    auto* pixels = reinterpret_cast<QRgb*>(d->picture.bits());
    const size_t stride = size_t(d->picture.bytesPerLine() / 4);
    std::vector<bool> seen(size_t(w) * size_t(h));
    const auto fills = [&](int x, int y) {
        const size_t at1 = size_t(y) * size_t(w) + size_t(x);
        return !seen[at1] && ((pixels[size_t(y) * stride + size_t(x)] & 0xFFFFFF) == match) == surface;
    };
    // Row by row: each stacked point starts a run, which is filled whole and
    // stacks one point for every run it touches above and below.
    std::vector<QPoint> todo{QPoint(int(at.x()), int(at.y()))};
    while (!todo.empty()) {
        const auto [x, y] = std::pair(todo.back().x(), todo.back().y());
        todo.pop_back();
        if (!fills(x, y)) continue;
        int left = x, right = x;
        while (left > 0 && fills(left - 1, y)) --left;
        while (right + 1 < w && fills(right + 1, y)) ++right;
        for (int i = left; i <= right; ++i) {
            seen[size_t(y) * size_t(w) + size_t(i)] = true;
            pixels[size_t(y) * stride + size_t(i)] = fill;
        }
        for (const int row : {y - 1, y + 1}) {
            if (row < 0 || row >= h) continue;
            bool inRun = false;
            for (int i = left; i <= right; ++i) {
                const bool more = fills(i, row);
                if (more && !inRun) todo.emplace_back(i, row);
                inRun = more;
            }
        }
    }
    startPainting(*d);
}

// A device-independent bitmap as libwmf hands it over (no file header) made
// into a picture through Qt's bitmap reader.
QImage decodeDib(const unsigned char* dib, long length)
{
    if (!dib || length < 16 || length > (1L << 30)) return QImage();
    const auto u16 = [&](int at) { return unsigned(dib[at]) | unsigned(dib[at + 1]) << 8; };
    const auto u32 = [&](int at) { return quint32(u16(at)) | quint32(u16(at + 2)) << 16; };
    const quint32 headerSize = u32(0);
    if (headerSize < 12 || headerSize > quint32(length)) return QImage();
    const bool core = headerSize == 12;
    const unsigned bits = u16(core ? 10 : 14);
    quint64 colours = bits <= 8 ? (1u << bits) : 0;
    if (!core && headerSize >= 36 && u32(32) != 0) colours = u32(32);
    quint64 offset = 14 + quint64(headerSize) + colours * (core ? 3 : 4);
    // Bit masks follow the plain header when the pixels are packed by them.
    if (!core && headerSize == 40 && u32(16) == 3) offset += 12;
    offset = std::min<quint64>(offset, 14 + quint64(length));
    QByteArray file("BM");
    for (quint32 v : {quint32(14 + length), quint32(0), quint32(offset)})
        for (int i = 0; i < 4; ++i) file.append(char((v >> (8 * i)) & 0xFF));
    file.append(reinterpret_cast<const char*>(dib), length);
    QImage image;
    if (!image.loadFromData(file, "BMP")) return QImage();
    return image.convertToFormat(QImage::Format_RGB32);
}

void readBitmap(wmfAPI* api, wmfBMP_Read_t* r)
{
    r->bmp.data = nullptr;
    r->bmp.width = r->bmp.height = 0;
    PainterDevice* d = deviceOf(api);
    if (!d) return;
    // Read while measuring too: libwmf passes on no record of a bitmap it has not got.
    QImage image = decodeDib(r->buffer, r->length);
    if (image.isNull() || image.width() > 0xFFFF || image.height() > 0xFFFF) return;
    d->bitmaps.push_back(std::move(image));
    r->bmp.data = &d->bitmaps.back();
    r->bmp.width = static_cast<U16>(d->bitmaps.back().width());
    r->bmp.height = static_cast<U16>(d->bitmaps.back().height());
}

void freeBitmap(wmfAPI*, wmfBMP* bmp)
{
    if (auto* image = static_cast<QImage*>(bmp->data)) *image = QImage();
}

void drawBitmap(wmfAPI* api, wmfBMP_Draw_t* b)
{
    QPainter* p = fillPainter(api, b->dc);
    const QImage* image = bitmapOf(b->bmp);
    if (!p || !image || !usable(b->pt) || !usable(b->pixel_width) || !usable(b->pixel_height)) return;
    // The source corner counts from the bottom row, as the bitmap is stored.
    const QRectF source(b->crop.x, image->height() - int(b->crop.y) - int(b->crop.h), b->crop.w, b->crop.h);
    p->setCompositionMode(modeOfRop3(b->type));
    p->save();
    p->translate(point(b->pt));
    p->scale(b->pixel_width, b->pixel_height);
    p->drawImage(QRectF(0, 0, b->crop.w, b->crop.h), *image, source);
    p->restore();
}

QString textOf(const char* str)
{
    return QString::fromLatin1(str);
}

QFont fontOf(const wmfFont* f, int pixelSize)
{
    QFont font;
    if (f && f->lfFaceName && *f->lfFaceName) font.setFamily(textOf(f->lfFaceName));
    font.setPixelSize(std::max(1, pixelSize));
    if (f) {
        if (f->lfWeight > 0) font.setWeight(QFont::Weight(std::clamp(int(f->lfWeight), 1, 1000)));
        font.setItalic(f->lfItalic);
        font.setUnderline(f->lfUnderline);
        font.setStrikeOut(f->lfStrikeOut);
    }
    // Colours become heights: no blended edge pixels.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// The width of the text in a font 1 unit high, which libwmf uses to place
// and measure text.
float stringWidth(wmfAPI*, wmfFont* f, char* str)
{
    if (!str) return 0;
    constexpr int kSize = 1000;
    return float(QFontMetricsF(fontOf(f, kSize)).horizontalAdvance(textOf(str)) / kSize);
}

void mapFont(wmfAPI*, wmfFont*) {}

void drawText(wmfAPI* api, wmfDrawText_t* t)
{
    QPainter* p = shapePainter(api, t->dc, false);
    if (!p || !t->str || !usable(t->pt) || !usable(t->font_height) || !usable(t->font_ratio)) return;
    const QTransform toPixels = p->worldTransform();
    const double height = t->font_height * toPixels.m22();
    if (height < 1 || height > 4.0 * deviceOf(api)->picture.height()) return;
    const wmfDC* dc = t->dc;
    if ((t->flags & ETO_OPAQUE) && usable(t->TL) && usable(t->BR))
        p->fillRect(box(t->TL, t->BR), colour(dc->bgcolor));
    p->save();
    if ((t->flags & ETO_CLIPPED) && usable(t->TL) && usable(t->BR))
        p->setClipRect(box(t->TL, t->BR), Qt::IntersectClip);
    QFont font = fontOf(dc->font, int(std::lround(height)));
    const double stretch = t->font_ratio * toPixels.m11() / toPixels.m22();
    if (stretch > 0 && std::abs(stretch - 1) > 0.01) font.setStretch(int(std::lround(std::clamp(stretch * 100, 1.0, 4000.0))));
    const QFontMetricsF metrics(font);
    const QString text = textOf(t->str);
    // libwmf starts the baseline one font height below a top-aligned point,
    // at a bottom-aligned one, and half the width left of a right-aligned one;
    // the font's own ascent, descent and width put the text where it belongs.
    QPointF shift;
    const unsigned align = dc->textalign;
    if ((align & TA_CENTER) == TA_RIGHT) shift.rx() -= metrics.horizontalAdvance(text) / 2;
    if ((align & TA_BASELINE) == TA_TOP) shift.ry() += metrics.ascent() - height;
    if ((align & TA_BASELINE) == TA_BOTTOM) shift.ry() -= metrics.descent();
    p->resetTransform();
    p->translate(toPixels.map(point(t->pt)));
    if (dc->font) p->rotate(-dc->font->lfEscapement / 10.0);
    p->setFont(font);
    p->setPen(colour(dc->textcolor));
    p->drawText(shift, text);
    p->restore();
}

void paintRegion(wmfAPI* api, wmfPolyRectangle_t* r)
{
    QPainter* p = fillPainter(api, r->dc);
    if (!p || !r->TL || !r->BR) return;
    for (unsigned i = 0; i < r->count; ++i)
        if (usable(r->TL[i]) && usable(r->BR[i])) p->drawRect(box(r->TL[i], r->BR[i]));
}

// Each rectangle's edge, width by height thick, in the brush.
void frameRegion(wmfAPI* api, wmfPolyRectangle_t* r)
{
    QPainter* p = fillPainter(api, r->dc);
    if (!p || !r->TL || !r->BR || !usable(r->width) || !usable(r->height)) return;
    for (unsigned i = 0; i < r->count; ++i) {
        if (!usable(r->TL[i]) || !usable(r->BR[i])) continue;
        const QRectF outer = box(r->TL[i], r->BR[i]);
        QPainterPath edge;
        edge.addRect(outer);
        edge.addRect(outer.adjusted(r->width, r->height, -r->width, -r->height));
        p->drawPath(edge);
    }
}

void clipRegion(wmfAPI* api, wmfPolyRectangle_t* r)
{
    PainterDevice* d = deviceOf(api);
    if (!d || d->measuring) return;
    QPainterPath clip;
    for (unsigned i = 0; r->TL && r->BR && i < r->count; ++i)
        if (usable(r->TL[i]) && usable(r->BR[i])) clip.addRect(box(r->TL[i], r->BR[i]));
    d->clip = clip;
    if (!d->painter.isActive()) return;
    if (clip.isEmpty())
        d->painter.setClipping(false);
    else
        d->painter.setClipPath(clip);
}

void deviceBegin(wmfAPI* api)
{
    PainterDevice* d = deviceOf(api);
    if (d && !d->measuring && !d->picture.isNull()) startPainting(*d);
}

void deviceEnd(wmfAPI* api)
{
    PainterDevice* d = deviceOf(api);
    if (d && d->painter.isActive()) d->painter.end();
}

void ignore(wmfAPI*) {}
void ignoreUserData(wmfAPI*, wmfUserData_t*) {}

} // namespace

void installPainterDevice(wmfAPI* api)
{
    auto* fr = static_cast<wmfFunctionReference*>(api->function_reference);
    auto* fonts = static_cast<wmfFontData*>(wmf_malloc(api, sizeof(wmfFontData)));
    if (!fr || !fonts) {
        api->err = wmf_E_InsMem;
        return;
    }
    std::memset(fonts, 0, sizeof *fonts);
    fonts->map = mapFont;
    fonts->stringwidth = stringWidth;
    api->font_data = fonts;
    fr->device_open = ignore;
    fr->device_close = ignore;
    fr->device_begin = deviceBegin;
    fr->device_end = deviceEnd;
    fr->flood_interior = floodFill;
    fr->flood_exterior = floodFill;
    fr->draw_pixel = drawPixel;
    fr->draw_pie = drawPie;
    fr->draw_chord = drawChord;
    fr->draw_arc = drawArc;
    fr->draw_ellipse = drawEllipse;
    fr->draw_line = drawLine;
    fr->poly_line = drawPolyline;
    fr->draw_polygon = drawPolygon;
    fr->draw_polypolygon = drawPolypolygon;
    fr->draw_rectangle = drawRectangle;
    fr->rop_draw = drawRop;
    fr->bmp_draw = drawBitmap;
    fr->bmp_read = readBitmap;
    fr->bmp_free = freeBitmap;
    fr->draw_text = drawText;
    fr->udata_init = ignoreUserData;
    fr->udata_copy = ignoreUserData;
    fr->udata_set = ignoreUserData;
    fr->udata_free = ignoreUserData;
    fr->region_frame = frameRegion;
    fr->region_paint = paintRegion;
    fr->region_clip = clipRegion;
}

} // namespace wmfdraw
