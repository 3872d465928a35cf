#pragma once
// A small Windows metafile for the windows that read pictures.

#include <QByteArray>

#include <initializer_list>

// A placeable metafile, 8 x 4 units at 96 an inch, white with the rectangle
// (2, 1)-(6, 3) filled red.
inline QByteArray redRectangleMetafile()
{
    QByteArray b;
    const auto w16 = [&](int v) { b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    const auto record = [&](int function, std::initializer_list<int> params) {
        w16(int(3 + params.size()));
        w16(0);
        w16(function);
        for (int p : params) w16(p);
    };
    for (int v : {0xCDD7, 0x9AC6, 0, 0, 0, 8, 4, 96, 0, 0}) w16(v);
    int checksum = 0;
    for (int i = 0; i < 20; i += 2) checksum ^= uchar(b[i]) | uchar(b[i + 1]) << 8;
    w16(checksum);
    const int header = int(b.size());
    for (int v : {1, 9, 0x300, 0, 0, 2, 8, 0, 0}) w16(v);
    record(0x020B, {0, 0});                  // window origin
    record(0x020C, {4, 8});                  // window extent
    record(0x02FC, {0, 0x00FF, 0x0000, 0});  // red brush
    record(0x012D, {0});
    record(0x02FA, {5, 0, 0, 0, 0});         // no pen
    record(0x012D, {1});
    record(0x041B, {3, 6, 1, 2});            // rectangle
    record(0x0000, {});
    const int words = (int(b.size()) - header) / 2;
    b[header + 6] = char(words & 0xFF);
    b[header + 7] = char(words >> 8);
    return b;
}
