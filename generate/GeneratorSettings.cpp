#include "generate/GeneratorSettings.h"

#include "runtime/Ini.h"
#include "runtime/Numbers.h"
#include "terrain/STDIO.h"

#include <QRegularExpression>

namespace GeneratorSettings {

namespace {

const QString kSection = QStringLiteral("Generator");
// Stands for a missing key: no file can hold a control character as value.
const QString kMissing = QStringLiteral("\x01");

std::optional<QString> readKey(const rt::IniFile& ini, const QString& key)
{
    const QString v = ini.value(kSection, key, kMissing);
    if (v == kMissing) return std::nullopt;
    return STDIO::CutAtNull(v);
}

// A plain decimal number, optionally signed, with decimals or an exponent.
bool isNumber(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^[-+]?(\\d+\\.?\\d*|\\.\\d+)([eEdD][-+]?\\d+)?$"));
    return re.match(text).hasMatch();
}

// The number of key when it is present; refused (and noted) when it is no
// number or lies outside lo..hi.
std::optional<int> readNumber(const rt::IniFile& ini, const QString& key, int lo, int hi, LoadedValues& out)
{
    const auto text = readKey(ini, key);
    if (!text) return std::nullopt;
    out.anyKey = true;
    if (isNumber(*text)) {
        const int64_t v = rt::roundHalfEven(rt::Val(*text));
        if (v >= lo && v <= hi) return int(v);
    }
    out.refused << key;
    return std::nullopt;
}

// The seed box takes 0..999999: up to six digits, or nothing, as an emptied
// box is saved (and reads as seed 0).
std::optional<QString> readSeed(const rt::IniFile& ini, LoadedValues& out)
{
    const auto text = readKey(ini, QStringLiteral("RndSeed"));
    if (!text) return std::nullopt;
    out.anyKey = true;
    static const QRegularExpression re(QStringLiteral("^\\d{0,6}$"));
    if (re.match(*text).hasMatch()) return *text;
    out.refused << QStringLiteral("RndSeed");
    return std::nullopt;
}

} // namespace

bool WriteSettings(const QString& path, const PanelValues& v, QString* error)
{
    const rt::IniEntries keys = {
        {QStringLiteral("Perlin"), rt::Str(v.perlin)},       {QStringLiteral("Iteration"), rt::Str(v.iteration)},
        {QStringLiteral("Height"), rt::Str(v.height)},       {QStringLiteral("Structure"), rt::Str(v.structure)},
        {QStringLiteral("RNDSeed"), v.seed},                 {QStringLiteral("modify"), rt::Str(v.modify)},
        {QStringLiteral("highres"), rt::Str(v.highRes)},     {QStringLiteral("rougness"), rt::Str(v.roughness)},
    };
    return rt::WritePrivateProfileStrings(kSection, keys, path, error);
}

LoadedValues ReadSettings(const QString& path, int perlinCount)
{
    LoadedValues out;
    const rt::IniFile ini(path);
    out.unreadable = ini.error();
    out.perlin = readNumber(ini, QStringLiteral("Perlin"), -1, perlinCount - 1, out);
    out.iteration = readNumber(ini, QStringLiteral("iteration"), 1, 11, out);
    out.height = readNumber(ini, QStringLiteral("Height"), 1, 100, out);
    out.structure = readNumber(ini, QStringLiteral("Structure"), 0, 4, out);
    out.seed = readSeed(ini, out);
    // 0 counts as Add wherever the mode is used.
    out.modify = readNumber(ini, QStringLiteral("modify"), 0, 6, out);
    out.highRes = readNumber(ini, QStringLiteral("HighRes"), 0, 1, out);
    out.roughness = readNumber(ini, QStringLiteral("rougness"), 0, 10, out);
    return out;
}

QString nothingLoadedMessage(const QString& path, const LoadedValues& values)
{
    if (!values.unreadable.isEmpty())
        return QStringLiteral("The generator settings cannot be read:\n%1").arg(values.unreadable);
    if (!values.anyKey) return QStringLiteral("%1 holds no generator settings.").arg(path);
    return QString();
}

QString refusedMessage(const LoadedValues& values)
{
    if (values.refused.isEmpty()) return QString();
    return QStringLiteral("These generator settings are not valid and were not loaded: %1")
        .arg(values.refused.join(QStringLiteral(", ")));
}

} // namespace GeneratorSettings
