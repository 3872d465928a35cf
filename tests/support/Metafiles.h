#pragma once
// Windows metafiles made byte by byte for the picture reader's tests.

#include <QByteArray>
#include <QRect>
#include <QRgb>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

// One record: its function and its 16-bit parameters, in file order.
struct WmfRecord {
    int function = 0;
    std::vector<int> params;
};

namespace wmf {

// Parameters of a record are stored last to first for shapes: these helpers
// take them in reading order.
inline WmfRecord mapMode(int mode) { return {0x0103, {mode}}; }
inline WmfRecord windowOrg(int x, int y) { return {0x020B, {y, x}}; }
inline WmfRecord windowExt(int w, int h) { return {0x020C, {h, w}}; }
// A solid brush and a pen of this width, or none; each made object takes the
// lowest free handle, starting at 0.
inline WmfRecord solidBrush(QRgb c) { return {0x02FC, {0, qRed(c) | qGreen(c) << 8, qBlue(c), 0}}; }
inline WmfRecord nullBrush() { return {0x02FC, {1, 0, 0, 0}}; }
inline WmfRecord pen(QRgb c, int width) { return {0x02FA, {0, width, 0, qRed(c) | qGreen(c) << 8, qBlue(c)}}; }
inline WmfRecord nullPen() { return {0x02FA, {5, 0, 0, 0, 0}}; }
inline WmfRecord select(int handle) { return {0x012D, {handle}}; }
inline WmfRecord remove(int handle) { return {0x01F0, {handle}}; }
inline WmfRecord rectangle(int l, int t, int r, int b) { return {0x041B, {b, r, t, l}}; }
inline WmfRecord roundRect(int l, int t, int r, int b, int w, int h) { return {0x061C, {h, w, b, r, t, l}}; }
inline WmfRecord ellipse(int l, int t, int r, int b) { return {0x0418, {b, r, t, l}}; }
// Arc, pie and chord run counter-clockwise from the ray to (xs, ys) to the
// ray to (xe, ye).
inline WmfRecord arc(int function, int l, int t, int r, int b, int xs, int ys, int xe, int ye)
{
    return {function, {ye, xe, ys, xs, b, r, t, l}};
}
inline constexpr int kArc = 0x0817, kPie = 0x081A, kChord = 0x0830;

inline WmfRecord polygon(std::initializer_list<QPoint> points)
{
    WmfRecord r{0x0324, {int(points.size())}};
    for (const QPoint& p : points) r.params.insert(r.params.end(), {p.x(), p.y()});
    return r;
}

inline WmfRecord polyPolygon(std::initializer_list<std::initializer_list<QPoint>> polygons)
{
    WmfRecord r{0x0538, {int(polygons.size())}};
    for (const auto& poly : polygons) r.params.push_back(int(poly.size()));
    for (const auto& poly : polygons)
        for (const QPoint& p : poly) r.params.insert(r.params.end(), {p.x(), p.y()});
    return r;
}

inline void appendBytes(std::vector<int>& params, const QByteArray& bytes)
{
    for (qsizetype i = 0; i < bytes.size(); i += 2)
        params.push_back(uchar(bytes[i]) | (i + 1 < bytes.size() ? uchar(bytes[i + 1]) : 0) << 8);
}

// A font of this character height (pixels of the frame), in the face named.
inline WmfRecord font(int height, const QByteArray& face, int weight = 400)
{
    WmfRecord r{0x02FB, {-height, 0, 0, 0, weight, 0, 0, 0}};
    appendBytes(r.params, face + '\0');
    return r;
}
inline WmfRecord textColour(QRgb c) { return {0x0209, {qRed(c) | qGreen(c) << 8, qBlue(c)}}; }
inline WmfRecord textAlign(int align) { return {0x012E, {align}}; }
inline WmfRecord transparentText() { return {0x0102, {1}}; }
inline WmfRecord textOut(int x, int y, const QByteArray& text)
{
    WmfRecord r{0x0521, {int(text.size())}};
    appendBytes(r.params, text);
    r.params.insert(r.params.end(), {y, x});
    return r;
}

// A 24-bit bitmap of the given rows (top row first), stored bottom-up as
// bitmaps are, drawn over (x, y, w, h) by StretchDIBits.
inline WmfRecord stretchDib(int x, int y, int w, int h, const std::vector<std::vector<QRgb>>& rows)
{
    const int width = int(rows.front().size()), height = int(rows.size());
    QByteArray dib;
    const auto put = [&](uint32_t v, int n) {
        for (int i = 0; i < n; ++i) dib.append(char((v >> (8 * i)) & 0xFF));
    };
    put(40, 4), put(uint32_t(width), 4), put(uint32_t(height), 4), put(1, 2), put(24, 2);
    for (int i = 0; i < 6; ++i) put(0, 4);
    for (int row = height - 1; row >= 0; --row) {
        for (QRgb c : rows[size_t(row)]) dib.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c)));
        while (dib.size() % 4) dib.append('\0');
    }
    WmfRecord r{0x0F43, {0x0020, 0x00CC, 0, height, width, 0, 0, h, w, y, x}};  // SRCCOPY, whole bitmap
    appendBytes(r.params, dib);
    return r;
}

// Fills from (x, y) over the pixels of the surface colour, with the brush.
inline WmfRecord floodSurface(int x, int y, QRgb surface)
{
    return {0x0548, {1, qRed(surface) | qGreen(surface) << 8, qBlue(surface), y, x}};
}

// A pattern brush of a 24-bit bitmap of this size, its pixels all zero.
inline WmfRecord dibPatternBrush(int width, int height)
{
    WmfRecord r{0x0142, {5, 0}};  // a bitmap with its colours (DIB pattern)
    QByteArray dib;
    const auto put = [&](uint32_t v, int n) {
        for (int i = 0; i < n; ++i) dib.append(char((v >> (8 * i)) & 0xFF));
    };
    put(40, 4), put(uint32_t(width), 4), put(uint32_t(height), 4), put(1, 2), put(24, 2);
    for (int i = 0; i < 6; ++i) put(0, 4);
    dib.append(QByteArray(64, '\0'));
    appendBytes(r.params, dib);
    return r;
}

} // namespace wmf

// A metafile of these records. With a frame it is placeable: the frame in
// units, unitsPerInch of them an inch (96: one unit a pixel).
inline QByteArray metafile(const std::vector<WmfRecord>& records, const QRect& frame = QRect(),
                           int unitsPerInch = 96)
{
    QByteArray b;
    const auto w16 = [&](int v) { b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    const auto w32 = [&](uint32_t v) { w16(int(v & 0xFFFF)); w16(int(v >> 16)); };
    if (frame.isValid()) {
        w32(0x9AC6CDD7u);
        for (int v : {0, frame.left(), frame.top(), frame.right() + 1, frame.bottom() + 1, unitsPerInch, 0, 0})
            w16(v);  // handle, frame, units an inch, reserved
        int checksum = 0;
        for (int i = 0; i < 20; i += 2) checksum ^= uchar(b[i]) | uchar(b[i + 1]) << 8;
        w16(checksum);
    }
    const int header = int(b.size());
    size_t largest = 3;
    for (const WmfRecord& r : records) largest = std::max(largest, 3 + r.params.size());
    // Memory metafile; its size and largest record patched in below.
    for (int v : {1, 9, 0x300, 0, 0, 16, int(largest & 0xFFFF), int(largest >> 16), 0}) w16(v);
    for (const WmfRecord& r : records) {
        w32(uint32_t(3 + r.params.size()));
        w16(r.function);
        for (int p : r.params) w16(p);
    }
    w32(3), w16(0);  // end of file
    const int words = (int(b.size()) - header) / 2;
    b[header + 6] = char(words & 0xFF);
    b[header + 7] = char((words >> 8) & 0xFF);
    b[header + 8] = char((words >> 16) & 0xFF);
    return b;
}

// A placeable metafile whose frame is width x height units at 96 units an inch
// (so as many pixels), that fills the rectangle (2, 1)-(6, 3) red with no
// outline; cut after `keep` bytes.
inline QByteArray redRectangleMetafile(int keep = -1, int width = 8, int height = 4)
{
    using namespace wmf;
    const QByteArray b = metafile({windowOrg(0, 0), windowExt(width, height), solidBrush(qRgb(255, 0, 0)), select(0),
                                   nullPen(), select(1), rectangle(2, 1, 6, 3)},
                                  QRect(0, 0, width, height));
    return keep < 0 ? b : b.left(keep);
}

// A metafile that keeps the drawer busy for a minute or so: 200 floods of its
// whole 5000 x 5000 frame, turn by turn red and green.
inline QByteArray spinningMetafile()
{
    using namespace wmf;
    std::vector<WmfRecord> records{nullPen(), select(0), solidBrush(qRgb(255, 0, 0)), solidBrush(qRgb(0, 255, 0)),
                                   select(1), floodSurface(2500, 2500, qRgb(255, 255, 255))};
    for (int i = 0; i < 200; ++i) {
        records.push_back(select(2 - i % 2));
        records.push_back(floodSurface(2500, 2500, i % 2 ? qRgb(0, 255, 0) : qRgb(255, 0, 0)));
    }
    return metafile(records, QRect(0, 0, 5000, 5000));
}
