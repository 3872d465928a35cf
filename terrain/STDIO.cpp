#include "terrain/STDIO.h"

#include "runtime/Numbers.h"

#include <QDir>
#include <QFileInfo>

namespace STDIO {

bool FileExists(const QString& path)
{
    if (path.isEmpty()) return false;
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'))) {
        const QDir dir = info.dir();
        return !dir.entryList({name}, QDir::Files).isEmpty();
    }
    return info.isFile();
}

bool IsNumericKey(const QString& text, int keyAscii)
{
    if (keyAscii >= '0' && keyAscii <= '9') return true;
    if (keyAscii == ',') return !text.contains(QLatin1Char(','));
    return keyAscii == 8 || keyAscii == '-' || keyAscii == 13;
}

double ClampTextBox(QString& text, double lower, double upper)
{
    const double r = Clamp(lower, upper, rt::Val(text));
    // Plain number text without a leading blank, "." as decimal point, so Val reads it back.
    text = QString::number(r, 'g', 15);
    return r;
}

QString CutAtNull(const QString& s)
{
    QString t = s.left(s.indexOf(QChar(u'\0')));
    qsizetype b = 0, e = t.size();
    while (b < e && t[b] == QLatin1Char(' ')) ++b;
    while (e > b && t[e - 1] == QLatin1Char(' ')) --e;
    return t.mid(b, e - b);
}

} // namespace STDIO
