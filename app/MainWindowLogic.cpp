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

const std::vector<ToolButtonSpec>& toolbar1Buttons()
{
    static const std::vector<ToolButtonSpec> table = [] {
        std::vector<ToolButtonSpec> t;
        auto button = [&t](int pos, const char* key, const char* caption, const char* tip, const char* description,
                           const char* icon) {
            t.push_back({pos, ButtonKind::Button, QString::fromUtf8(key), QString::fromUtf8(caption),
                         QString::fromUtf8(tip), QString::fromUtf8(description), QString::fromUtf8(icon)});
        };
        auto separator = [&t](int pos) { t.push_back({pos, ButtonKind::Separator, {}, {}, {}, {}, {}}); };
        auto placeholders = [&t](int from, int to) {
            for (int p = from; p <= to; ++p) t.push_back({p, ButtonKind::Placeholder, {}, {}, {}, {}, {}});
        };
        button(1, "Neu", "New", "New", "New", "document-new");
        button(2, "Öffnen", "Open", "Open", "Open", "document-open");
        button(3, "Speichern", "Save", "Save", "Save", "document-save");
        separator(4);
        button(5, "SpeichernAls", "SaveAs", "Save as...", "", "document-save-as");
        placeholders(6, 6);
        button(7, "Print", "Print", "Print Terrain and Settings", "", "document-print");
        placeholders(8, 8);
        button(9, "Restore", "Restore", "Restore Terrain", "", "document-revert");
        button(10, "Backup", "Backup", "Backup Terrain", "", "drive-harddisk");
        separator(11);
        button(12, "Eigenschaften", "Properties", "Options", "Properties", "preferences-system");
        separator(13);
        button(14, "Löschen", "Clear", "Clear Terrain ", "Delete", "edit-clear");
        placeholders(15, 16);
        button(17, "Hilfe", "About", "About", "Help", "help-about");
        placeholders(18, 19);
        button(20, "Zoom in", "", "Zoom x2", "", "zoom-in");
        button(21, "Zoom out", "", "Zoom /2", "", "zoom-out");
        button(22, "Zoom100", "", "Zoom 100%", "", "zoom-original");
        placeholders(23, 28);
        button(29, "Terragen", "", "Start Terragen with actually terrain", "", "media-playback-start");
        placeholders(30, 31);
        button(32, "View3d", "", "View Terrain 3D", "", "view-3d");
        placeholders(33, 34);
        button(35, "ObjectMaker", "", "ObjectMaker", "", "applications-graphics");
        placeholders(36, 39);
        button(40, "SavePerlin", "", "", "", "document-export");
        return t;
    }();
    return table;
}

std::vector<ButtonChange> toolbarChanges(bool terrainEmpty, bool backupExists, bool objectsPresent)
{
    std::vector<ButtonChange> c;
    if (!terrainEmpty) {
        c.insert(c.end(), {{PosSave, true}, {PosPrint, true}, {PosSaveAs, true}, {PosBackup, true}});
    } else {
        c.insert(c.end(),
                 {{PosSave, false}, {PosSaveAs, false}, {PosPrint, false}, {PosRestore, false}, {PosBackup, false}});
    }
    if (backupExists) c.push_back({PosRestore, true});
    c.push_back({PosZoomIn, !objectsPresent});
    c.push_back({PosZoomOut, !objectsPresent});
    return c;
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
