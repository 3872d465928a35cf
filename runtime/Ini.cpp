#include "runtime/Ini.h"

#include "runtime/ByteIO.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>
#include <vector>

namespace rt {
namespace {

constexpr qsizetype MaxValueLength = 511;

// The file as raw lines (without "\n", a trailing "\r" kept), so lines this
// code does not touch are written back byte for byte.
struct IniLines {
    std::vector<QByteArray> lines;
    bool endsWithNewline = false;
    bool crlf = true;  // new files use CR LF

    QByteArray eol() const { return crlf ? QByteArrayLiteral("\r") : QByteArray(); }
};

IniLines splitLines(const QByteArray& data)
{
    IniLines f;
    if (data.isEmpty()) return f;
    const qsizetype firstLf = data.indexOf('\n');
    f.crlf = firstLf < 0 || (firstLf > 0 && data[firstLf - 1] == '\r');
    f.endsWithNewline = data.endsWith('\n');
    const QByteArray body = f.endsWithNewline ? data.left(data.size() - 1) : data;
    for (const QByteArray& line : body.split('\n')) f.lines.push_back(line);
    return f;
}

QByteArray joinLines(const IniLines& f)
{
    QByteArray out;
    for (size_t i = 0; i < f.lines.size(); ++i) {
        out += f.lines[i];
        if (i + 1 < f.lines.size() || f.endsWithNewline) out += '\n';
    }
    return out;
}

// Lines are about to be added after the last one: it needs its line end.
void endWithNewline(IniLines& f)
{
    if (!f.lines.empty() && f.crlf && !f.lines.back().endsWith('\r')) f.lines.back() += '\r';
    f.endsWithNewline = true;
}

QString decoded(const QByteArray& line)
{
    QString t = QString::fromUtf8(line);
    if (t.startsWith(QChar(0xFEFF))) t.remove(0, 1);  // byte-order mark of editors that write one
    return t.trimmed();
}

// The section name of a "[name]" line, or nothing for other lines.
std::optional<QString> sectionName(const QByteArray& line)
{
    const QString t = decoded(line);
    if (!t.startsWith(QLatin1Char('['))) return std::nullopt;
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    return (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
}

// Key and raw value of a "key=value" line, or nothing.
std::optional<std::pair<QString, QString>> keyValue(const QByteArray& line)
{
    const QString t = decoded(line);
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    if (eq <= 0 || t.startsWith(QLatin1Char('['))) return std::nullopt;
    return std::make_pair(t.left(eq).trimmed(), t.mid(eq + 1).trimmed());
}

bool sameName(const QString& a, const QString& b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// Index of the first "[section]" line, or -1.
int findSection(const IniLines& f, const QString& section)
{
    for (size_t i = 0; i < f.lines.size(); ++i) {
        const auto name = sectionName(f.lines[i]);
        if (name && sameName(*name, section)) return static_cast<int>(i);
    }
    return -1;
}

// One past the last line that belongs to the section starting at header.
size_t sectionEnd(const IniLines& f, int header)
{
    size_t i = static_cast<size_t>(header) + 1;
    while (i < f.lines.size() && !sectionName(f.lines[i])) ++i;
    return i;
}

// What a value may hold: the text up to a NUL (where a C string ends) and on
// one line, so a value can never add lines to the file.
QString storableValue(const QString& value)
{
    QString v = value;
    const qsizetype nul = v.indexOf(QChar(0));
    if (nul >= 0) v.truncate(nul);
    v.replace(QLatin1Char('\r'), QLatin1Char(' '));
    v.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return v;
}

} // namespace

IniFile::IniFile(const QString& path)
{
    const auto data = readWholeFile(path, &m_error, kLargestIniFile);
    if (!data) return;
    QString section;
    bool inSection = false;
    for (const QByteArray& line : splitLines(*data).lines) {
        if (const auto name = sectionName(line)) {
            section = *name;
            inSection = true;
            m_sections << section;
            continue;
        }
        const auto kv = keyValue(line);
        if (!inSection || !kv) continue;
        QString value = kv->second;
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        m_entries.push_back({section, kv->first, value.left(MaxValueLength)});
    }
}

QString IniFile::value(const QString& section, const QString& key, const QString& def) const
{
    // The first match wins, as a key repeated in the file is read.
    for (const Entry& e : m_entries)
        if (sameName(e.section, section) && sameName(e.key, key)) return e.value;
    return def;
}

bool IniFile::hasSection(const QString& section) const
{
    return std::any_of(m_sections.begin(), m_sections.end(),
                       [&](const QString& name) { return sameName(name, section); });
}

QString GetPrivateProfileString(const QString& section, const QString& key, const QString& def,
                                const QString& path)
{
    return IniFile(path).value(section, key, def);
}

namespace {

// Replaces the key's line, or adds it after the section's last entry, or
// appends a new section at the end.
void setEntry(IniLines& f, const QString& section, const QString& key, const QString& value)
{
    const QByteArray entry = key.trimmed().toUtf8() + '=' + storableValue(value).toUtf8() + f.eol();
    const int header = findSection(f, section);
    if (header >= 0) {
        const size_t end = sectionEnd(f, header);
        size_t insertAt = static_cast<size_t>(header) + 1;
        for (size_t i = static_cast<size_t>(header) + 1; i < end; ++i) {
            const auto kv = keyValue(f.lines[i]);
            if (kv && sameName(kv->first, key)) {
                f.lines[i] = entry;
                return;
            }
            if (!decoded(f.lines[i]).isEmpty()) insertAt = i + 1;
        }
        if (insertAt == f.lines.size()) endWithNewline(f);
        f.lines.insert(f.lines.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
    } else {
        endWithNewline(f);
        f.lines.push_back('[' + section.trimmed().toUtf8() + ']' + f.eol());
        f.lines.push_back(entry);
    }
}

} // namespace

bool WritePrivateProfileString(const QString& section, const QString& key, const QString& value,
                               const QString& path, QString* error)
{
    return WritePrivateProfileStrings(section, {{key, value}}, path, error);
}

bool WritePrivateProfileStrings(const QString& section, const IniEntries& entries, const QString& path,
                                QString* error)
{
    // The old contents; a file that exists but cannot be read is left alone.
    QByteArray old;
    if (QFileInfo::exists(path)) {
        const auto data = readWholeFile(path, error, kLargestIniFile);
        if (!data) return false;
        old = *data;
    }
    IniLines f = splitLines(old);
    for (const auto& [key, value] : entries) setEntry(f, section, key, value);
    return writeFileAtomic(path, joinLines(f), error);
}

} // namespace rt
