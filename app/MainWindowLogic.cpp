#include "app/MainWindowLogic.h"

#include "app/AppState.h"
#include "app/vbConfig.h"
#include "runtime/Numbers.h"

#include <QFile>

#include <algorithm>

namespace MainWindowLogic {

QString ProductTitle()
{
    return QStringLiteral("Kelvarinor ");
}

QString mainCaption(const QString& fileName)
{
    return ProductTitle() + QStringLiteral(" [") + fileName + QStringLiteral("]");
}

QString minimizedCaption(bool busy, int32_t progress, const QString& fileName)
{
    const QString head = busy ? rt::Format(double(progress) / 100.0, QStringLiteral("### %"))
                              : QStringLiteral("Ready");
    return head + QStringLiteral(" - Kelvarinor  [") + fileName + QStringLiteral("]   ");
}

int progressBarValue(int32_t progress)
{
    return std::clamp<int32_t>(progress, 0, 100);
}

bool genModifyEnabled(bool terrainEmpty, bool clearTerrainChecked)
{
    return !terrainEmpty && !clearTerrainChecked;
}

namespace {

int gridPointsFromOptTer(const QString& text)
{
    static const int points[] = {129, 257, 513, 1025, 2049};
    const QString t = text.trimmed();
    if (t.size() == 1 && t[0] >= QLatin1Char('0') && t[0] <= QLatin1Char('4')) return points[t[0].unicode() - '0'];
    return 257;
}

// The leading number as a 16-bit value, or def when it is outside lo .. hi.
int16_t smallNumber(const QString& text, int lo, int hi, int16_t def)
{
    const double v = rt::Val(text);
    if (!(v >= lo - 0.5 && v <= hi + 0.5)) return def;
    const int16_t n = rt::CInt(v);
    return (n >= lo && n <= hi) ? n : def;
}

// A colour number red + 256 green + 65536 blue; nothing for text that is no
// number or lies outside the colours.
std::optional<QRgb> colourNumber(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    bool ok = false;
    double v = t.toDouble(&ok);
    if (!ok && t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        const qlonglong h = t.mid(2).toLongLong(&ok, 16);
        v = double(h);
    }
    if (!ok || !(v >= 0.0 && v <= double(0xFFFFFF))) return std::nullopt;
    const uint32_t c = uint32_t(rt::CLng(v));
    return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

} // namespace

StartSettings readStartSettings(const IniReader& readIni)
{
    StartSettings s;
    s.gridPoints = gridPointsFromOptTer(readIni(QStringLiteral("Start"), QStringLiteral("OptTer")));
    // Any 16-bit mode is kept; the resize routines leave modes they do not know flat.
    s.resizeMode = smallNumber(readIni(QStringLiteral("Start"), QStringLiteral("OptZoom")), -32768, 32767, 0);
    s.paletteRow = smallNumber(readIni(QStringLiteral("Start"), QStringLiteral("COLOR")), 0, 7, 0);
    s.backColor = colourNumber(readIni(QStringLiteral("Start"), QStringLiteral("Backcolor")));
    s.objectDirectory = readIni(QStringLiteral("Directory"), QStringLiteral("Objects"));
    s.terrainDirectory = readIni(QStringLiteral("Directory"), QStringLiteral("Terrain"));
    s.terragenDirectory = readIni(QStringLiteral("Directory"), QStringLiteral("terragen"));
    s.elevatorName = readIni(QStringLiteral("ELEVATOR"), QStringLiteral("Name"));
    if (s.elevatorName.trimmed().isEmpty()) s.elevatorName = defaultElevatorName();
    return s;
}

QString defaultElevatorName()
{
    return QString::fromLatin1(vbConfig::DefaultElevatorFileName);
}

} // namespace MainWindowLogic
