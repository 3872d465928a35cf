#include "runtime/Numbers.h"

namespace rt {

// Placeholder forms; the full number texts follow.
QString Str(double v)
{
    const QString t = QString::number(v, 'g', 7);
    return v >= 0 ? QStringLiteral(" ") + t : t;
}

double Val(const QString& s)
{
    return s.trimmed().toDouble();
}

QString Format(double v, const QString& pattern)
{
    Q_UNUSED(pattern);
    return QString::number(v);
}

} // namespace rt
