#include "runtime/Ini.h"

namespace rt {

QString GetPrivateProfileString(const QString&, const QString&, const QString& def, const QString&)
{
    return def;
}

bool WritePrivateProfileString(const QString&, const QString&, const QString&, const QString&)
{
    return false;
}

} // namespace rt
