#pragma once
// Toolbar icons: the desktop theme's icon where it has one, otherwise a small
// pictogram drawn here, so the toolbars look complete on any desktop.

#include <QIcon>
#include <QString>

// The icon for a toolbar key; themeName is tried first (may be empty).
QIcon kvIcon(const QString& key, const QString& themeName);
// The drawn pictogram alone (for tests and desktops without a theme).
QIcon kvDrawnIcon(const QString& key);
