#pragma once
// The open/save request for the generator's and the erosion's setting files.

#include "runtime/Ui.h"

inline rt::FileDialogRequest parFileRequest(const QString& title)
{
    rt::FileDialogRequest r;
    r.title = title;
    r.filter = QStringLiteral("Setting |*.par");
    r.defaultExt = QStringLiteral("par");
    r.initDir = rt::AppPath();
    return r;
}
