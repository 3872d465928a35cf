#include "generate/PerlinSetWriter.h"

#include "runtime/ByteIO.h"
#include "terrain/clsTerrain.h"

#include <cstdint>
#include <limits>

namespace PerlinSetWriter {

QByteArray nameField(const QString& name)
{
    QByteArray field;
    field.reserve(NameLength);
    for (const QChar c : name.left(NameLength))
        field.append(c.unicode() <= 0xff ? char(c.unicode()) : '?');
    while (field.size() < NameLength) field.append(' ');
    return field;
}

QByteArray perlinSetBytes(const clsTerrain& ter, const QString& name)
{
    HeightArray a;
    ter.GetTerrain(a);
    const int32_t m = a.width() - 1;  // Size + 10

    rt::LeWriter w;
    w.reserve(61 + 2 * qsizetype(m + 1) * qsizetype(m + 1));
    w.bytes(QByteArrayLiteral("KELVARINOR PERLINSET "));
    w.bytes(QByteArrayLiteral("NAME"));
    w.bytes(nameField(name));
    w.bytes(QByteArrayLiteral("SIZE"));
    w.i32(m);
    w.bytes(QByteArrayLiteral("ARRA"));
    for (int32_t y = 0; y <= m; ++y) {
        for (int32_t x = 0; x <= m; ++x) {
            const int32_t v = a(x, y);
            const bool fits = v >= std::numeric_limits<int16_t>::min() && v <= std::numeric_limits<int16_t>::max();
            w.i16(fits ? int16_t(v) : int16_t(0));
        }
    }
    return w.data();
}

bool writePerlinSet(const QString& path, const clsTerrain& ter, const QString& name, QString* error)
{
    return rt::writeFileAtomic(path, perlinSetBytes(ter, name), error);
}

} // namespace PerlinSetWriter
