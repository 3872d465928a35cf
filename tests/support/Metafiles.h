#pragma once
// Windows metafiles made byte by byte for the picture reader's tests.

#include <QByteArray>

#include <cstdint>
#include <initializer_list>

// A placeable metafile whose frame is width x height units at 96 units an inch
// (so as many pixels), that fills the rectangle (2, 1)-(6, 3) red with no
// outline; cut after `keep` bytes.
inline QByteArray redRectangleMetafile(int keep = -1, int width = 8, int height = 4)
{
    QByteArray b;
    const auto w16 = [&](int v) { b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    const auto w32 = [&](uint32_t v) { w16(int(v & 0xFFFF)); w16(int(v >> 16)); };
    const auto record = [&](int function, std::initializer_list<int> params) {
        w32(uint32_t(3 + params.size()));
        w16(function);
        for (int p : params) w16(p);
    };
    w32(0x9AC6CDD7u);
    for (int v : {0, 0, 0, width, height, 96, 0, 0}) w16(v);  // handle, frame, units an inch, reserved
    int checksum = 0;
    for (int i = 0; i < 20; i += 2) checksum ^= uchar(b[i]) | uchar(b[i + 1]) << 8;
    w16(checksum);
    const int header = int(b.size());
    for (int v : {1, 9, 0x300, 0, 0, 2, 8, 0, 0}) w16(v);  // memory metafile, size patched below
    record(0x020B, {0, 0});                    // window origin
    record(0x020C, {height, width});           // window extent
    record(0x02FC, {0, 0x00FF, 0x0000, 0});    // solid red brush
    record(0x012D, {0});
    record(0x02FA, {5, 0, 0, 0, 0});           // no pen
    record(0x012D, {1});
    record(0x041B, {3, 6, 1, 2});              // rectangle: bottom, right, top, left
    record(0x0000, {});
    const int words = (int(b.size()) - header) / 2;
    b[header + 6] = char(words & 0xFF);
    b[header + 7] = char(words >> 8);
    return keep < 0 ? b : b.left(keep);
}
